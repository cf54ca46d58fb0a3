#include "tools/simkit/numbers.h"

#include <limits>

namespace simkit {
namespace {

int DigitValue(char c, unsigned base) {
  int value = -1;
  if (c >= '0' && c <= '9')
    value = c - '0';
  else if (c >= 'a' && c <= 'f')
    value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    value = c - 'A' + 10;
  return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

}  // namespace

std::optional<std::int64_t> ParseInteger(std::string_view word) {
  bool negative = false;
  if (!word.empty() && word.front() == '-') {
    negative = true;
    word.remove_prefix(1);
  }
  unsigned base = 10;
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    base = 16;
    word.remove_prefix(2);
  }
  if (word.empty()) return std::nullopt;

  // The magnitude of INT64_MIN is one more than INT64_MAX.
  const std::uint64_t largest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  const std::uint64_t limit = negative ? largest + 1 : largest;
  std::uint64_t magnitude = 0;
  for (char c : word) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    if (magnitude > (limit - static_cast<std::uint64_t>(digit)) / base) return std::nullopt;
    magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
  }
  if (!negative) return static_cast<std::int64_t>(magnitude);
  if (magnitude == limit) return std::numeric_limits<std::int64_t>::min();
  return -static_cast<std::int64_t>(magnitude);
}

}  // namespace simkit
