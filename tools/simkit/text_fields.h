#pragma once
// Splits a command or protocol line into its positional words and its name=value options.
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace simkit {

struct TFields {
  std::vector<std::string_view> positional;
  std::vector<std::pair<std::string_view, std::string_view>> options;

  std::optional<std::string_view> Option(std::string_view name) const;
  // True when every option's name is one of `known` and none is given twice.
  bool OnlyOptions(std::initializer_list<std::string_view> known) const;
};

// Words are separated by blanks or tabs; a word with '=' in it is an option.
TFields SplitFields(std::string_view line);

}  // namespace simkit
