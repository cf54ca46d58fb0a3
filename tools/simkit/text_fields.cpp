#include "tools/simkit/text_fields.h"

#include <algorithm>

namespace simkit {

std::optional<std::string_view> TFields::Option(std::string_view name) const {
  for (const auto& [key, value] : options) {
    if (key == name) return value;
  }
  return std::nullopt;
}

bool TFields::OnlyOptions(std::initializer_list<std::string_view> known) const {
  for (std::size_t i = 0; i < options.size(); ++i) {
    const std::string_view name = options[i].first;
    if (std::find(known.begin(), known.end(), name) == known.end()) return false;
    for (std::size_t j = 0; j < i; ++j) {
      if (options[j].first == name) return false;
    }
  }
  return true;
}

TFields SplitFields(std::string_view line) {
  TFields fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i == start) continue;
    const std::string_view word = line.substr(start, i - start);
    const std::size_t equals = word.find('=');
    if (equals == std::string_view::npos)
      fields.positional.push_back(word);
    else
      fields.options.emplace_back(word.substr(0, equals), word.substr(equals + 1));
  }
  return fields;
}

}  // namespace simkit
