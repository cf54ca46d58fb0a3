#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace simkit {

// "0x8001", "0x0": how statuses and window handles appear in the log.
std::string HexValue(std::uint64_t value);

// "12.345": microseconds as milliseconds with three decimals, as the logs stamp them.
std::string Milliseconds(std::uint64_t microseconds);

// "<milliseconds with three decimals> <EVENT> <details>\n"; carriage returns and line feeds in the details become
// blanks so that every event stays on one line.
std::string LogLine(std::uint64_t microseconds, std::string_view event, std::string_view details);

}  // namespace simkit
