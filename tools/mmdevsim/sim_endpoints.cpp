#include "tools/mmdevsim/sim_endpoints.h"

#include <cstdlib>

namespace mmdevsim {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The first word and the rest of the line.
std::pair<std::string_view, std::string_view> FirstWord(std::string_view line) {
  line = Trim(line);
  const std::size_t end = line.find_first_of(" \t");
  if (end == std::string_view::npos) return {line, {}};
  return {line.substr(0, end), Trim(line.substr(end))};
}

std::optional<float> ParseLevel(std::string_view word) {
  const std::string text(word);
  char* end = nullptr;
  const float value = std::strtof(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !(value >= 0.0f && value <= 1.0f)) return std::nullopt;
  return value;
}

std::optional<bool> ParseFlag(std::string_view word) {
  if (word == "1") return true;
  if (word == "0") return false;
  return std::nullopt;
}

bool ParseFailure(std::string_view word, bool& level, bool& mute) {
  if (word == "level")
    level = true, mute = false;
  else if (word == "mute")
    level = false, mute = true;
  else if (word == "both")
    level = true, mute = true;
  else if (word == "none")
    level = false, mute = false;
  else
    return false;
  return true;
}

TEndpoint MakeEndpoint(TFlow flow, std::string name, std::size_t index) {
  TEndpoint endpoint;
  endpoint.flow = flow;
  endpoint.name = std::move(name);
  // Shaped like Windows' ids: the flow, then a per-device part.
  endpoint.id = std::string(flow == TFlow::Render ? "{0.0.0.00000000}" : "{0.0.1.00000000}") + ".{mmdevsim-" +
                std::to_string(index) + "}";
  return endpoint;
}

}  // namespace

TConfig DefaultConfig() {
  TConfig config;
  const std::pair<TFlow, const char*> endpoints[] = {{TFlow::Render, "Speakers (Onboard Audio)"},
                                                     {TFlow::Render, "Speaker (USB Phone)"},
                                                     {TFlow::Capture, "Microphone (Onboard Audio)"},
                                                     {TFlow::Capture, "Microphone (USB Camera)"},
                                                     {TFlow::Capture, "Microphone (USB Phone)"}};
  for (const auto& [flow, name] : endpoints) {
    config.endpoints.push_back(MakeEndpoint(flow, name, config.endpoints.size()));
  }
  return config;
}

TConfig ParseConfig(std::string_view text, std::vector<std::string>& errors) {
  TConfig config;
  std::size_t number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++number;
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    const auto [word, rest] = FirstWord(line);
    if (word.empty()) continue;
    TEndpoint* last = config.endpoints.empty() ? nullptr : &config.endpoints.back();
    bool ok = true;
    if ((word == "render" || word == "capture") && !rest.empty()) {
      config.endpoints.push_back(
          MakeEndpoint(word == "render" ? TFlow::Render : TFlow::Capture, std::string(rest), config.endpoints.size()));
    } else if (word == "level" && last != nullptr) {
      const std::optional<float> level = ParseLevel(rest);
      ok = level.has_value();
      if (ok) last->level = *level;
    } else if (word == "mute" && last != nullptr) {
      const std::optional<bool> mute = ParseFlag(rest);
      ok = mute.has_value();
      if (ok) last->mute = *mute;
    } else if (word == "fail" && last != nullptr) {
      ok = ParseFailure(rest, last->level_fails, last->mute_fails);
    } else if (word == "unplugged" && last != nullptr && rest.empty()) {
      last->present = false;
    } else {
      ok = false;
    }
    if (!ok) errors.push_back("line " + std::to_string(number) + ": " + std::string(Trim(line)));
  }
  return config;
}

std::optional<TCommand> ParseCommand(std::string_view line, std::string& error) {
  const auto [word, rest] = FirstWord(line);
  TCommand command;
  std::string_view name = rest;
  if (word == "level" || word == "mute" || word == "fail") {
    const auto [value, named] = FirstWord(rest);
    name = named;
    if (word == "level") {
      command.kind = TCommand::TKind::Level;
      const std::optional<float> level = ParseLevel(value);
      if (!level) return error = "level wants a value from 0 to 1", std::nullopt;
      command.level = *level;
    } else if (word == "mute") {
      command.kind = TCommand::TKind::Mute;
      const std::optional<bool> mute = ParseFlag(value);
      if (!mute) return error = "mute wants 0 or 1", std::nullopt;
      command.mute = *mute;
    } else {
      command.kind = TCommand::TKind::Fail;
      if (!ParseFailure(value, command.fail_level, command.fail_mute)) {
        return error = "fail wants level, mute, both or none", std::nullopt;
      }
    }
  } else if (word == "unplug") {
    command.kind = TCommand::TKind::Unplug;
  } else if (word == "plug") {
    command.kind = TCommand::TKind::Plug;
  } else {
    return error = "unknown command", std::nullopt;
  }
  if (name.empty()) return error = "no endpoint name", std::nullopt;
  command.name = std::string(name);
  return command;
}

TEndpoint* FindByName(std::vector<TEndpoint>& endpoints, const std::string& name) {
  for (TEndpoint& endpoint : endpoints) {
    if (endpoint.name == name) return &endpoint;
  }
  return nullptr;
}

}  // namespace mmdevsim
