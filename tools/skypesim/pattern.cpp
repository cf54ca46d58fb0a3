#include "tools/skypesim/pattern.h"

namespace skypesim {
namespace {

bool IsPrefixPattern(std::string_view pattern) { return !pattern.empty() && pattern.back() == '*'; }

}  // namespace

bool MatchesPattern(std::string_view pattern, std::string_view command) {
  if (!IsPrefixPattern(pattern)) return pattern == command;
  pattern.remove_suffix(1);
  return command.substr(0, pattern.size()) == pattern;
}

std::size_t PatternWeight(std::string_view pattern) {
  // Twice the length, plus one for an exact pattern, so that "GET" outranks "GET*" on "GET".
  if (IsPrefixPattern(pattern)) return 2 * (pattern.size() - 1);
  return 2 * pattern.size() + 1;
}

}  // namespace skypesim
