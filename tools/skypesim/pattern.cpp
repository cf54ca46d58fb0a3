#include "tools/skypesim/pattern.h"

namespace skypesim {
namespace {

bool isPrefixPattern(std::string_view pattern) {
    return !pattern.empty() && pattern.back() == '*';
}

}  // namespace

bool matchesPattern(std::string_view pattern, std::string_view command) {
    if (!isPrefixPattern(pattern)) return pattern == command;
    pattern.remove_suffix(1);
    return command.substr(0, pattern.size()) == pattern;
}

std::size_t patternWeight(std::string_view pattern) {
    // Twice the length, plus one for an exact pattern, so that "GET" outranks "GET*" on "GET".
    if (isPrefixPattern(pattern)) return 2 * (pattern.size() - 1);
    return 2 * pattern.size() + 1;
}

}  // namespace skypesim
