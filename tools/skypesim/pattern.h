#pragma once

#include <cstddef>
#include <string_view>

namespace skypesim {

// A scenario pattern names one command exactly, or every command starting with it when it
// ends with '*' (the star itself is not part of the prefix).
bool MatchesPattern(std::string_view pattern, std::string_view command);

// How closely a pattern fits a command it matches: an exact pattern beats any prefix, a
// longer prefix beats a shorter one. Meaningless for patterns that do not match.
std::size_t PatternWeight(std::string_view pattern);

}  // namespace skypesim
