#include "tools/handsetsim/bytes.h"

#include <algorithm>

namespace handsetsim {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string HexBytes(const Bytes& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t byte : bytes) {
    if (!text.empty()) text += ' ';
    text += digits[byte >> 4];
    text += digits[byte & 0x0F];
  }
  return text;
}

std::optional<Bytes> ParseHexBytes(const std::vector<std::string_view>& words) {
  Bytes bytes;
  for (std::string_view word : words) {
    if (word.empty() || word.size() % 2 != 0) return std::nullopt;
    for (std::size_t i = 0; i < word.size(); i += 2) {
      const int high = HexDigit(word[i]);
      const int low = HexDigit(word[i + 1]);
      if (high < 0 || low < 0) return std::nullopt;
      bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
  }
  return bytes;
}

bool StartsWith(const Bytes& bytes, const Bytes& prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

}  // namespace handsetsim
