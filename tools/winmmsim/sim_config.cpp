#include "tools/winmmsim/sim_config.h"

#include <algorithm>

#include "tools/simkit/line_splitter.h"
#include "tools/simkit/numbers.h"
#include "tools/simkit/text_fields.h"

namespace winmmsim {
namespace {

constexpr int kMaxMixers = 16;
constexpr std::uint32_t kMaxChannels = 8;

std::optional<std::int64_t> number(std::string_view word, std::int64_t low, std::int64_t high) {
    const auto value = simkit::parseInteger(word);
    if (!value || *value < low || *value > high) return std::nullopt;
    return value;
}

// "out MIXER NAME..." / "in MIXER NAME...": the name is the rest of the line, inner blanks kept.
bool parseWaveDevice(std::string_view line, std::vector<WaveDevice>& devices) {
    line = line.substr(0, line.find_last_not_of(" \t") + 1);
    const auto mixerStart = line.find_first_not_of(" \t", line.find_first_of(" \t"));
    if (mixerStart == std::string_view::npos) return false;
    const auto mixerEnd = std::min(line.find_first_of(" \t", mixerStart), line.size());
    const auto mixer = number(line.substr(mixerStart, mixerEnd - mixerStart), kNoMixer, kMaxMixers - 1);
    const auto nameStart = line.find_first_not_of(" \t", mixerEnd);
    if (!mixer || nameStart == std::string_view::npos) return false;
    devices.push_back({std::string(line.substr(nameStart)), static_cast<int>(*mixer)});
    return true;
}

bool parseMixer(const simkit::Fields& fields, Config& config) {
    if (fields.positional.size() != 3 ||
        !fields.onlyOptions({"destinations", "select", "channels", "uniform", "open"})) {
        return false;
    }
    const auto id = number(fields.positional[1], 0, kMaxMixers - 1);
    const std::string_view kind = fields.positional[2];
    if (!id || (kind != "handset" && kind != "onboard")) return false;
    MixerConfig mixer;
    mixer.id = static_cast<int>(*id);
    mixer.handset = kind == "handset";
    if (const auto value = fields.option("destinations")) {
        const auto count = number(*value, 2, 3);
        if (!count) return false;
        mixer.destinations = static_cast<int>(*count);
    }
    if (const auto value = fields.option("select")) {
        if (*value == "mux") mixer.select = Selector::Mux;
        else if (*value == "mixer") mixer.select = Selector::Mixer;
        else if (*value == "none") mixer.select = Selector::None;
        else return false;
    }
    if (const auto value = fields.option("channels")) {
        const auto channels = number(*value, 1, kMaxChannels);
        if (!channels) return false;
        mixer.speakerChannels = static_cast<std::uint32_t>(*channels);
    }
    if (const auto value = fields.option("uniform")) {
        if (*value != "0" && *value != "1") return false;
        mixer.uniformVolume = *value == "1";
    }
    if (const auto value = fields.option("open")) {
        if (*value != "fails") return false;
        mixer.openFails = true;
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
bool parseValue(const simkit::Fields& fields, Config& config) {
    if (fields.positional.size() < 4 || !fields.options.empty()) return false;
    InitialValue initial;
    const auto mixer = number(fields.positional[1], 0, kMaxMixers - 1);
    const auto control = number(fields.positional[2], 0, UINT32_MAX);
    if (!mixer || !control) return false;
    initial.mixer = static_cast<int>(*mixer);
    initial.control = static_cast<std::uint32_t>(*control);
    for (std::size_t i = 3; i < fields.positional.size(); ++i) {
        const auto value = number(fields.positional[i], 0, UINT32_MAX);
        if (!value) return false;
        initial.values.push_back(static_cast<std::uint32_t>(*value));
    }
    config.values.push_back(initial);
    return true;
}

}  // namespace

Config defaultConfig() {
    Config config;
    config.outs = {{"Speakers (Onboard Audio)", 0}, {"USB Phone", 1}};
    config.ins = {{"Microphone (Onboard Audio)", 0}, {"USB Phone", 1}};
    config.mixers.resize(2);
    config.mixers[0].id = 0;
    config.mixers[1].id = 1;
    config.mixers[1].handset = true;
    return config;
}

Config parseConfig(std::string_view text, std::vector<std::string>& errors) {
    Config config;
    simkit::LineSplitter splitter;
    std::vector<std::string> lines = splitter.feed(text.data(), text.size());
    for (std::string& last : splitter.finish()) lines.push_back(std::move(last));
    for (const std::string& raw : lines) {
        const std::string_view line = std::string_view(raw).substr(0, raw.find('#'));
        const simkit::Fields fields = simkit::splitFields(line);
        if (fields.positional.empty() && fields.options.empty()) continue;
        const std::string_view command = fields.positional.empty() ? std::string_view() : fields.positional[0];
        bool understood = false;
        if (command == "out") understood = parseWaveDevice(line, config.outs);
        else if (command == "in") understood = parseWaveDevice(line, config.ins);
        else if (command == "mixer") understood = parseMixer(fields, config);
        else if (command == "value") understood = parseValue(fields, config);
        else if (command == "notify" && fields.positional.size() == 2 && fields.options.empty()) {
            understood = fields.positional[1] == "on" || fields.positional[1] == "off";
            config.notify = fields.positional[1] != "off";
        }
        if (!understood) errors.push_back(raw);
    }
    return config;
}

}  // namespace winmmsim
