#include "tools/winmmsim/sim_config.h"

#include <algorithm>

#include "tools/simkit/line_splitter.h"
#include "tools/simkit/numbers.h"
#include "tools/simkit/text_fields.h"

namespace winmmsim {
namespace {

constexpr int kMaxMixers = 16;
constexpr std::uint32_t kMaxChannels = 8;

std::optional<std::int64_t> Number(std::string_view word, std::int64_t low, std::int64_t high) {
  const auto value = simkit::ParseInteger(word);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

// "out MIXER NAME..." / "in MIXER NAME...": the name is the rest of the line, inner blanks kept.
bool ParseWaveDevice(std::string_view line, std::vector<TWaveDevice>& devices) {
  line = line.substr(0, line.find_last_not_of(" \t") + 1);
  const auto mixer_start = line.find_first_not_of(" \t", line.find_first_of(" \t"));
  if (mixer_start == std::string_view::npos) return false;
  const auto mixer_end = std::min(line.find_first_of(" \t", mixer_start), line.size());
  const auto mixer = Number(line.substr(mixer_start, mixer_end - mixer_start), kNoMixer, kMaxMixers - 1);
  const auto name_start = line.find_first_not_of(" \t", mixer_end);
  if (!mixer || name_start == std::string_view::npos) return false;
  devices.push_back({std::string(line.substr(name_start)), static_cast<int>(*mixer)});
  return true;
}

bool ParseMixer(const simkit::TFields& fields, TConfig& config) {
  if (fields.positional.size() != 3 || !fields.OnlyOptions({"destinations", "select", "channels", "uniform", "open"})) {
    return false;
  }
  const auto id = Number(fields.positional[1], 0, kMaxMixers - 1);
  const std::string_view kind = fields.positional[2];
  if (!id || (kind != "handset" && kind != "onboard")) return false;
  TMixerConfig mixer;
  mixer.id = static_cast<int>(*id);
  mixer.handset = kind == "handset";
  if (const auto value = fields.Option("destinations")) {
    const auto count = Number(*value, 2, 3);
    if (!count) return false;
    mixer.destinations = static_cast<int>(*count);
  }
  if (const auto value = fields.Option("select")) {
    if (*value == "mux")
      mixer.select = TSelector::Mux;
    else if (*value == "mixer")
      mixer.select = TSelector::Mixer;
    else if (*value == "none")
      mixer.select = TSelector::None;
    else
      return false;
  }
  if (const auto value = fields.Option("channels")) {
    const auto channels = Number(*value, 1, kMaxChannels);
    if (!channels) return false;
    mixer.speaker_channels = static_cast<std::uint32_t>(*channels);
  }
  if (const auto value = fields.Option("uniform")) {
    if (*value != "0" && *value != "1") return false;
    mixer.uniform_volume = *value == "1";
  }
  if (const auto value = fields.Option("open")) {
    if (*value != "fails") return false;
    mixer.open_fails = true;
  }
  if (config.mixers.size() <= static_cast<std::size_t>(mixer.id)) {
    const std::size_t first = config.mixers.size();
    config.mixers.resize(static_cast<std::size_t>(mixer.id) + 1);
    for (std::size_t i = first; i < config.mixers.size(); ++i) config.mixers[i].id = static_cast<int>(i);
  }
  config.mixers[static_cast<std::size_t>(mixer.id)] = mixer;
  return true;
}

// "value MIXER CONTROL V...": a control's values before anything is set.
bool ParseValue(const simkit::TFields& fields, TConfig& config) {
  if (fields.positional.size() < 4 || !fields.options.empty()) return false;
  TInitialValue initial;
  const auto mixer = Number(fields.positional[1], 0, kMaxMixers - 1);
  const auto control = Number(fields.positional[2], 0, UINT32_MAX);
  if (!mixer || !control) return false;
  initial.mixer = static_cast<int>(*mixer);
  initial.control = static_cast<std::uint32_t>(*control);
  for (std::size_t i = 3; i < fields.positional.size(); ++i) {
    const auto value = Number(fields.positional[i], 0, UINT32_MAX);
    if (!value) return false;
    initial.values.push_back(static_cast<std::uint32_t>(*value));
  }
  config.values.push_back(initial);
  return true;
}

}  // namespace

TConfig DefaultConfig() {
  TConfig config;
  config.outs = {{"Speakers (Onboard Audio)", 0}, {"USB Phone", 1}};
  config.ins = {{"Microphone (Onboard Audio)", 0}, {"USB Phone", 1}};
  config.mixers.resize(2);
  config.mixers[0].id = 0;
  config.mixers[1].id = 1;
  config.mixers[1].handset = true;
  return config;
}

TConfig ParseConfig(std::string_view text, std::vector<std::string>& errors) {
  TConfig config;
  simkit::TLineSplitter splitter;
  std::vector<std::string> lines = splitter.Feed(text.data(), text.size());
  for (std::string& last : splitter.Finish()) lines.push_back(std::move(last));
  for (const std::string& raw : lines) {
    const std::string_view line = std::string_view(raw).substr(0, raw.find('#'));
    const simkit::TFields fields = simkit::SplitFields(line);
    if (fields.positional.empty() && fields.options.empty()) continue;
    const std::string_view command = fields.positional.empty() ? std::string_view() : fields.positional[0];
    bool understood = false;
    if (command == "out")
      understood = ParseWaveDevice(line, config.outs);
    else if (command == "in")
      understood = ParseWaveDevice(line, config.ins);
    else if (command == "mixer")
      understood = ParseMixer(fields, config);
    else if (command == "value")
      understood = ParseValue(fields, config);
    else if (command == "notify" && fields.positional.size() == 2 && fields.options.empty()) {
      understood = fields.positional[1] == "on" || fields.positional[1] == "off";
      config.notify = fields.positional[1] != "off";
    }
    if (!understood) errors.push_back(raw);
  }
  return config;
}

}  // namespace winmmsim
