#pragma once
// The status and key report that the bridge posts to the panel (WM_BRIDGESTATUS):
// wParam is the link status, lParam carries the key in bits 0-7 and the handset mode in
// bits 24-31. One definition for both programs.
#include <cstdint>

#include "common/handset_mode_values.h"

namespace bridge_status {

constexpr std::uint16_t kSkypeAttached = 0x0001;
constexpr std::uint16_t kHandsetPresent = 0x0100;
// The key byte of the once-a-second report, which is about no key.
constexpr std::uint32_t kPeriodicKey = 0xFF;

inline std::uint32_t Report(THandsetMode handset_mode, std::uint32_t key) {
  return (static_cast<std::uint32_t>(ModeByte(handset_mode)) << 24) | (key & 0xFF);
}
// The link status's byte 1: a handset is present.
inline bool HandsetPresent(std::uint32_t link_status) { return ((link_status >> 8) & 0xFF) != 0; }
// Bit 0: Skype is attached to the bridge (and allowed it).
inline bool SkypeAttached(std::uint32_t link_status) { return (link_status & kSkypeAttached) != 0; }

inline std::uint8_t ReportKey(std::uint32_t report) { return static_cast<std::uint8_t>(report & 0xFF); }
inline THandsetMode ReportMode(std::uint32_t report) { return static_cast<THandsetMode>(report >> 24); }

}  // namespace bridge_status
