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

TSimControl Control(std::uint32_t id, std::uint32_t type, std::string name, std::uint32_t channels,
                    std::uint32_t flags = 0, std::uint32_t items = 0) {
  TSimControl c;
  c.id = id;
  c.type = type;
  c.flags = flags;
  c.items = items;
  c.name = std::move(name);
  const std::uint32_t value_channels = (flags & kFlagUniform) != 0 ? 1 : channels;
  c.values.assign(static_cast<std::size_t>(value_channels) * std::max<std::uint32_t>(items, 1),
                  type == kTypeVolume ? kStartVolume : 0);
  return c;
}

TSimLine Line(std::uint32_t line_id, std::uint32_t destination, int source, std::uint32_t component,
              std::uint32_t channels, std::string name) {
  TSimLine l;
  l.line_id = line_id;
  l.destination = destination;
  l.source = source;
  l.component_type = component;
  l.channels = channels;
  l.name = std::move(name);
  return l;
}

TSimMixer HandsetMixer(const TMixerConfig& config) {
  TSimMixer mixer;
  mixer.name = "USB Phone Mixer";
  const std::uint32_t channels = config.speaker_channels;
  TSimLine speaker = Line(0xFFFF0000, 0, -1, kDstSpeakers, channels, "Speaker");
  speaker.controls = {Control(1, kTypeVolume, "Speaker Volume", channels, config.uniform_volume ? kFlagUniform : 0),
                      Control(2, kTypeMute, "Speaker Mute", channels, kFlagUniform)};
  TSimLine wave = Line(0x00000000, 0, 0, kSrcWaveOut, channels, "Wave");
  wave.controls = {Control(3, kTypeVolume, "Wave Volume", channels),
                   Control(4, kTypeMute, "Wave Mute", channels, kFlagUniform)};
  speaker.sources = {wave};

  TSimLine recording = Line(0xFFFF0001, 1, -1, kDstWaveIn, 1, "Recording Control");
  recording.controls = {Control(5, kTypeVolume, "Recording Volume", 1), Control(6, kTypeMute, "Recording Mute", 1)};
  if (config.select != TSelector::None) {
    const bool mux = config.select == TSelector::Mux;
    TSimControl selector = Control(7, mux ? kTypeMux : kTypeMixer, mux ? "Recording Source" : "Recording Mixer", 1,
                                   kFlagUniform | kFlagMultiple, 1);
    selector.values[0] = 1;  // the microphone is selected
    recording.controls.push_back(selector);
  }
  TSimLine microphone = Line(0x00010000, 1, 0, kSrcMicrophone, 1, "Microphone");
  microphone.controls = {Control(8, kTypeVolume, "Microphone Volume", 1)};
  recording.sources = {microphone};
  mixer.destinations = {speaker, recording};

  if (config.destinations == 3) {
    TSimLine side_tone = Line(0xFFFF0002, 2, -1, kDstVoiceIn, 1, "Side Tone");
    side_tone.controls = {Control(9, kTypeVolume, "Side Tone Volume", 1)};
    mixer.destinations.push_back(side_tone);
  }
  return mixer;
}

TSimMixer OnboardMixer() {
  TSimMixer mixer;
  mixer.name = "Onboard Audio Mixer";
  TSimLine master = Line(0xFFFF0000, 0, -1, kDstSpeakers, 2, "Master Volume");
  master.controls = {Control(101, kTypeVolume, "Master Volume", 2),
                     Control(102, kTypeMute, "Master Mute", 2, kFlagUniform)};
  mixer.destinations = {master};
  return mixer;
}

}  // namespace

TSimMixer BuildMixer(const TMixerConfig& config) {
  TSimMixer mixer = config.handset ? HandsetMixer(config) : OnboardMixer();
  mixer.id = config.id;
  mixer.open_fails = config.open_fails;
  return mixer;
}

TControlRef FindControl(TSimMixer& mixer, std::uint32_t id) {
  const auto in_line = [id](TSimLine& l) -> TControlRef {
    for (TSimControl& c : l.controls) {
      if (c.id == id) return {&l, &c};
    }
    return {};
  };
  for (TSimLine& destination : mixer.destinations) {
    if (const TControlRef found = in_line(destination); found.control) return found;
    for (TSimLine& source : destination.sources) {
      if (const TControlRef found = in_line(source); found.control) return found;
    }
  }
  return {};
}

TSimLine* FindLine(TSimMixer& mixer, std::uint32_t line_id) {
  for (TSimLine& destination : mixer.destinations) {
    if (destination.line_id == line_id) return &destination;
    for (TSimLine& source : destination.sources) {
      if (source.line_id == line_id) return &source;
    }
  }
  return nullptr;
}

bool ValidRequest(const TSimLine& line, const TSimControl& control, std::uint32_t channels, std::uint32_t items) {
  const bool uniform = (control.flags & kFlagUniform) != 0;
  const bool channels_fit = channels == 1 || (!uniform && channels == line.channels);
  const bool multiple = (control.flags & kFlagMultiple) != 0;
  return channels_fit && items == (multiple ? control.items : 0);
}

std::vector<std::uint32_t> ReadValues(const TSimControl& control, std::uint32_t channels) {
  const std::size_t per_channel = std::max<std::uint32_t>(control.items, 1);
  const std::size_t stored = control.values.size() / per_channel;
  std::vector<std::uint32_t> values;
  for (std::size_t channel = 0; channel < channels; ++channel) {
    const std::size_t from = std::min(channel, stored - 1) * per_channel;
    values.insert(values.end(), control.values.begin() + from, control.values.begin() + from + per_channel);
  }
  return values;
}

bool WriteValues(TSimControl& control, std::uint32_t channels, const std::vector<std::uint32_t>& values) {
  const std::size_t per_channel = std::max<std::uint32_t>(control.items, 1);
  const std::size_t stored = control.values.size() / per_channel;
  std::vector<std::uint32_t> updated = control.values;
  for (std::size_t channel = 0; channel < stored; ++channel) {
    const std::size_t from = (channels == 1 ? 0 : channel) * per_channel;
    std::copy_n(values.begin() + from, per_channel, updated.begin() + channel * per_channel);
  }
  const bool changed = updated != control.values;
  control.values = std::move(updated);
  return changed;
}

}  // namespace winmmsim
