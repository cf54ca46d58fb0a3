#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace simkit {

// Reads one whole word as an integer: decimal or 0x-prefixed hex, either with an optional
// leading minus. Anything else in the word, or a value outside int64, gives nullopt.
std::optional<std::int64_t> ParseInteger(std::string_view word);

}  // namespace simkit
