#include "tools/simkit/log_format.h"

namespace simkit {

std::string HexValue(std::uint64_t value) {
  static const char digits[] = "0123456789abcdef";
  std::string reversed;
  do {
    reversed.push_back(digits[value % 16]);
    value /= 16;
  } while (value != 0);
  return "0x" + std::string(reversed.rbegin(), reversed.rend());
}

std::string Milliseconds(std::uint64_t microseconds) {
  const std::string fraction = std::to_string(1000 + microseconds % 1000).substr(1);
  return std::to_string(microseconds / 1000) + '.' + fraction;
}

std::string LogLine(std::uint64_t microseconds, std::string_view event, std::string_view details) {
  std::string line = Milliseconds(microseconds);
  line += ' ';
  line += event;
  if (!details.empty()) {
    line += ' ';
    for (char c : details) line += (c == '\r' || c == '\n') ? ' ' : c;
  }
  line += '\n';
  return line;
}

}  // namespace simkit
