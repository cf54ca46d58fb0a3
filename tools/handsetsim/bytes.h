#pragma once
// Report bytes and how they are written in scenarios and in the log.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace handsetsim {

using Bytes = std::vector<std::uint8_t>;

// "00 00 00 1b 00": two lower-case digits a byte, separated by blanks.
std::string HexBytes(const Bytes& bytes);

// Words of hex digits, two a byte, read one after the other: "00 05", "0005" and "00 0501"
// are all the bytes 00 05 (01). A word of an odd length or with another character is nullopt.
std::optional<Bytes> ParseHexBytes(const std::vector<std::string_view>& words);

bool StartsWith(const Bytes& bytes, const Bytes& prefix);

}  // namespace handsetsim
