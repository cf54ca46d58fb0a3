#pragma once
// The handset's key values: the key byte of its input reports (0x11 to 0x23, 0 when no key
// is down) and the two that the read thread makes from held keys.
#include <cstdint>

namespace handset_key {

constexpr std::uint8_t kNone = 0x00;
constexpr std::uint8_t kUp = 0x11;
constexpr std::uint8_t kHash = 0x12;
constexpr std::uint8_t kEight = 0x13;
constexpr std::uint8_t kFour = 0x14;
constexpr std::uint8_t kMute = 0x15;
constexpr std::uint8_t kNo = 0x16;
constexpr std::uint8_t kZero = 0x17;
constexpr std::uint8_t kSeven = 0x18;
constexpr std::uint8_t kThree = 0x19;
constexpr std::uint8_t kRingTone = 0x1A;
constexpr std::uint8_t kYes = 0x1B;
constexpr std::uint8_t kStar = 0x1C;
constexpr std::uint8_t kSix = 0x1D;
constexpr std::uint8_t kTwo = 0x1E;
constexpr std::uint8_t kDown = 0x1F;
constexpr std::uint8_t kSkype = 0x20;
constexpr std::uint8_t kNine = 0x21;
constexpr std::uint8_t kFive = 0x22;
constexpr std::uint8_t kOne = 0x23;
// "0" held 600 ms.
constexpr std::uint8_t kZeroHeld = 0xE0;
// The ring-tone key while something is going on, and again when it is held 600 ms.
constexpr std::uint8_t kClear = 0xF1;

}  // namespace handset_key
