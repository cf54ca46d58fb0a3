#include "tools/winmmsim/sim_mixer.h"

#include <algorithm>

namespace winmmsim {
namespace {

// MIXERLINE_COMPONENTTYPE_* of <mmsystem.h>.
constexpr std::uint32_t kDstSpeakers = 0x0004;
constexpr std::uint32_t kDstWaveIn = 0x0007;
constexpr std::uint32_t kDstVoiceIn = 0x0008;
constexpr std::uint32_t kSrcMicrophone = 0x1003;
constexpr std::uint32_t kSrcWaveOut = 0x1008;
constexpr std::uint32_t kStartVolume = 0xC000;

SimControl control(std::uint32_t id, std::uint32_t type, std::string name, std::uint32_t channels,
                   std::uint32_t flags = 0, std::uint32_t items = 0) {
    SimControl c;
    c.id = id;
    c.type = type;
    c.flags = flags;
    c.items = items;
    c.name = std::move(name);
    const std::uint32_t valueChannels = (flags & kFlagUniform) != 0 ? 1 : channels;
    c.values.assign(static_cast<std::size_t>(valueChannels) * std::max<std::uint32_t>(items, 1),
                    type == kTypeVolume ? kStartVolume : 0);
    return c;
}

SimLine line(std::uint32_t lineId, std::uint32_t destination, int source, std::uint32_t component,
             std::uint32_t channels, std::string name) {
    SimLine l;
    l.lineId = lineId;
    l.destination = destination;
    l.source = source;
    l.componentType = component;
    l.channels = channels;
    l.name = std::move(name);
    return l;
}

SimMixer handsetMixer(const MixerConfig& config) {
    SimMixer mixer;
    mixer.name = "USB Phone Mixer";
    const std::uint32_t channels = config.speakerChannels;
    SimLine speaker = line(0xFFFF0000, 0, -1, kDstSpeakers, channels, "Speaker");
    speaker.controls = {control(1, kTypeVolume, "Speaker Volume", channels, config.uniformVolume ? kFlagUniform : 0),
                        control(2, kTypeMute, "Speaker Mute", channels, kFlagUniform)};
    SimLine wave = line(0x00000000, 0, 0, kSrcWaveOut, channels, "Wave");
    wave.controls = {control(3, kTypeVolume, "Wave Volume", channels), control(4, kTypeMute, "Wave Mute", channels, kFlagUniform)};
    speaker.sources = {wave};

    SimLine recording = line(0xFFFF0001, 1, -1, kDstWaveIn, 1, "Recording Control");
    recording.controls = {control(5, kTypeVolume, "Recording Volume", 1), control(6, kTypeMute, "Recording Mute", 1)};
    if (config.select != Selector::None) {
        const bool mux = config.select == Selector::Mux;
        SimControl selector = control(7, mux ? kTypeMux : kTypeMixer, mux ? "Recording Source" : "Recording Mixer", 1,
                                      kFlagUniform | kFlagMultiple, 1);
        selector.values[0] = 1;  // the microphone is selected
        recording.controls.push_back(selector);
    }
    SimLine microphone = line(0x00010000, 1, 0, kSrcMicrophone, 1, "Microphone");
    microphone.controls = {control(8, kTypeVolume, "Microphone Volume", 1)};
    recording.sources = {microphone};
    mixer.destinations = {speaker, recording};

    if (config.destinations == 3) {
        SimLine sideTone = line(0xFFFF0002, 2, -1, kDstVoiceIn, 1, "Side Tone");
        sideTone.controls = {control(9, kTypeVolume, "Side Tone Volume", 1)};
        mixer.destinations.push_back(sideTone);
    }
    return mixer;
}

SimMixer onboardMixer() {
    SimMixer mixer;
    mixer.name = "Onboard Audio Mixer";
    SimLine master = line(0xFFFF0000, 0, -1, kDstSpeakers, 2, "Master Volume");
    master.controls = {control(101, kTypeVolume, "Master Volume", 2), control(102, kTypeMute, "Master Mute", 2, kFlagUniform)};
    mixer.destinations = {master};
    return mixer;
}

}  // namespace

SimMixer buildMixer(const MixerConfig& config) {
    SimMixer mixer = config.handset ? handsetMixer(config) : onboardMixer();
    mixer.id = config.id;
    mixer.openFails = config.openFails;
    return mixer;
}

ControlRef findControl(SimMixer& mixer, std::uint32_t id) {
    const auto inLine = [id](SimLine& l) -> ControlRef {
        for (SimControl& c : l.controls) {
            if (c.id == id) return {&l, &c};
        }
        return {};
    };
    for (SimLine& destination : mixer.destinations) {
        if (const ControlRef found = inLine(destination); found.control) return found;
        for (SimLine& source : destination.sources) {
            if (const ControlRef found = inLine(source); found.control) return found;
        }
    }
    return {};
}

SimLine* findLine(SimMixer& mixer, std::uint32_t lineId) {
    for (SimLine& destination : mixer.destinations) {
        if (destination.lineId == lineId) return &destination;
        for (SimLine& source : destination.sources) {
            if (source.lineId == lineId) return &source;
        }
    }
    return nullptr;
}

bool validRequest(const SimLine& line, const SimControl& control, std::uint32_t channels, std::uint32_t items) {
    const bool uniform = (control.flags & kFlagUniform) != 0;
    const bool channelsFit = channels == 1 || (!uniform && channels == line.channels);
    const bool multiple = (control.flags & kFlagMultiple) != 0;
    return channelsFit && items == (multiple ? control.items : 0);
}

std::vector<std::uint32_t> readValues(const SimControl& control, std::uint32_t channels) {
    const std::size_t perChannel = std::max<std::uint32_t>(control.items, 1);
    const std::size_t stored = control.values.size() / perChannel;
    std::vector<std::uint32_t> values;
    for (std::size_t channel = 0; channel < channels; ++channel) {
        const std::size_t from = std::min(channel, stored - 1) * perChannel;
        values.insert(values.end(), control.values.begin() + from, control.values.begin() + from + perChannel);
    }
    return values;
}

bool writeValues(SimControl& control, std::uint32_t channels, const std::vector<std::uint32_t>& values) {
    const std::size_t perChannel = std::max<std::uint32_t>(control.items, 1);
    const std::size_t stored = control.values.size() / perChannel;
    std::vector<std::uint32_t> updated = control.values;
    for (std::size_t channel = 0; channel < stored; ++channel) {
        const std::size_t from = (channels == 1 ? 0 : channel) * perChannel;
        std::copy_n(values.begin() + from, perChannel, updated.begin() + channel * perChannel);
    }
    const bool changed = updated != control.values;
    control.values = std::move(updated);
    return changed;
}

}  // namespace winmmsim
