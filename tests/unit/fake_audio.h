#pragma once
// Test doubles for the audio side: mixers described line by line, wave device lists, and
// the default device registry keys. Every write is a line in a journal, so a test reads as
// the sequence of what reached the mixer or the registry.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "audio/default_devices.h"
#include "audio/mixer_port.h"
#include "audio/wave_devices.h"

using AudioLines = std::vector<std::string>;

// Control and line records as a driver describes them.
inline TMixerControl Control(std::uint32_t id, std::uint32_t type, std::uint32_t flags = 0,
                             std::uint32_t items = 0) {
  TMixerControl control;
  control.dwControlID = id;
  control.dwControlType = type;
  control.fdwControl = flags;
  control.cMultipleItems = items;
  return control;
}
inline TMixerControl Volume(std::uint32_t id, std::uint32_t flags = 0) {
  return Control(id, mixer_api::kControlTypeVolume, flags);
}
inline TMixerControl Mute(std::uint32_t id, std::uint32_t flags = 0) {
  return Control(id, mixer_api::kControlTypeMute, flags);
}
// A selector of `items` sources, as drivers describe them: uniform and multiple.
inline TMixerControl Mux(std::uint32_t id, std::uint32_t items) {
  return Control(id, mixer_api::kControlTypeMux, mixer_api::kControlUniform | mixer_api::kControlMultiple, items);
}
inline TMixerControl MixerSelect(std::uint32_t id, std::uint32_t items) {
  return Control(id, mixer_api::kControlTypeMixer, mixer_api::kControlUniform | mixer_api::kControlMultiple, items);
}

struct FakeLine {
  FakeLine(std::uint32_t id, std::uint32_t channel_count, std::vector<TMixerControl> line_controls = {},
           std::vector<FakeLine> source_lines = {})
      : line_id(id), channels(channel_count), controls(std::move(line_controls)), sources(std::move(source_lines)) {}

  std::uint32_t line_id = 0;
  std::uint32_t channels = 2;
  std::vector<TMixerControl> controls;
  std::vector<FakeLine> sources;
  bool info_fails = false;
  bool controls_fail = false;
  // A connection count the driver reports instead of the real one.
  std::optional<std::uint32_t> reported_connections;
};

struct FakeMixer {
  bool open_fails = false;
  std::vector<FakeLine> destinations;
  // A destination count the driver reports instead of the real one.
  std::optional<std::uint32_t> reported_destinations;
};

// The handset's mixer as the panel expects it: playback (speaker volume 1, mute 2; first
// source volume 3, mute 4) and recording (volume 5, mute 6; source volume 8 selected by MUX 7).
inline FakeMixer HandsetMixer() {
  FakeMixer mixer;
  FakeLine playback{100, 2, {Volume(1), Mute(2)}, {FakeLine{101, 2, {Volume(3), Mute(4)}}}};
  FakeLine recording{200, 1, {Volume(5), Mute(6), Mux(7, 1)}, {FakeLine{201, 1, {Volume(8)}}}};
  mixer.destinations = {playback, recording};
  return mixer;
}

class FakeMixerPort final : public IMixerPort {
 public:
  explicit FakeMixerPort(AudioLines& journal) : journal_(journal) {}

  std::vector<FakeMixer> mixers;
  // Each control's current values, by control id.
  std::map<std::uint32_t, std::vector<std::uint32_t>> values;
  std::set<std::uint32_t> unreadable;
  // The last details request per control: what the component asked for.
  std::map<std::uint32_t, TControlDetails> last_read;
  int open_handles = 0;
  // Every mixerGetLineInfoA asked for.
  int line_queries = 0;
  // Called after each write, as a driver's change notice would be.
  std::function<void(MixerHandle, std::uint32_t control_id)> on_write;

  static MixerHandle HandleOf(std::uint32_t id) { return 0x1000 + id; }

  std::uint32_t GetNumDevs() override { return static_cast<std::uint32_t>(mixers.size()); }
  std::optional<MixerHandle> Open(std::uint32_t id) override {
    journal_.push_back("OPEN " + std::to_string(id));
    if (id >= mixers.size() || mixers[id].open_fails) return std::nullopt;
    ++open_handles;
    return HandleOf(id);
  }
  void Close(MixerHandle mixer) override {
    --open_handles;
    journal_.push_back("CLOSE " + std::to_string(mixer - HandleOf(0)));
  }
  bool GetDevCaps(std::uint32_t id, TMixerCaps& caps) override {
    if (id >= mixers.size()) return false;
    caps.cDestinations =
        mixers[id].reported_destinations.value_or(static_cast<std::uint32_t>(mixers[id].destinations.size()));
    return true;
  }
  bool GetLineInfo(MixerHandle mixer, TLineQuery query, TMixerLine& line) override {
    ++line_queries;
    const FakeMixer& m = mixers.at(mixer - HandleOf(0));
    if (line.dwDestination >= m.destinations.size()) return false;
    const FakeLine& destination = m.destinations[line.dwDestination];
    const FakeLine* found = &destination;
    if (query == TLineQuery::Source) {
      if (line.dwSource >= destination.sources.size()) return false;
      found = &destination.sources[line.dwSource];
    }
    if (found->info_fails) return false;
    line.dwLineID = found->line_id;
    line.cChannels = found->channels;
    line.cConnections = query == TLineQuery::Source
                            ? 0
                            : destination.reported_connections.value_or(
                                  static_cast<std::uint32_t>(destination.sources.size()));
    line.cControls = static_cast<std::uint32_t>(found->controls.size());
    return true;
  }
  bool GetLineControls(MixerHandle mixer, std::uint32_t line_id, std::uint32_t count,
                       std::vector<TMixerControl>& controls) override {
    const FakeLine* line = Find(mixers.at(mixer - HandleOf(0)), line_id);
    if (line == nullptr || line->controls_fail || count != line->controls.size()) return false;
    controls = line->controls;
    return true;
  }
  bool GetControlDetails(MixerHandle, TControlDetails& details) override {
    last_read[details.dwControlID] = details;
    if (unreadable.count(details.dwControlID) != 0) return false;
    const std::vector<std::uint32_t>& current = values[details.dwControlID];
    for (std::size_t i = 0; i < details.values.size() && i < current.size(); ++i) details.values[i] = current[i];
    return true;
  }
  bool SetControlDetails(MixerHandle mixer, const TControlDetails& details) override {
    std::string line = "SET " + std::to_string(details.dwControlID);
    for (std::uint32_t value : details.values) line += " " + std::to_string(value);
    journal_.push_back(line);
    values[details.dwControlID] = details.values;
    if (on_write) on_write(mixer, details.dwControlID);
    return true;
  }

 private:
  static const FakeLine* Find(const FakeMixer& mixer, std::uint32_t line_id) {
    for (const FakeLine& destination : mixer.destinations) {
      if (destination.line_id == line_id) return &destination;
      for (const FakeLine& source : destination.sources) {
        if (source.line_id == line_id) return &source;
      }
    }
    return nullptr;
  }

  AudioLines& journal_;
};

// Wave devices by name; an empty name stands for a device whose name cannot be read.
class FakeWaveDevices final : public IWaveDevices {
 public:
  std::vector<std::string> outs;
  std::vector<std::string> ins;
  // The mixer of each wave-out device; -1 (or missing) when mixerGetID fails.
  std::vector<std::int32_t> out_mixers;

  unsigned OutCount() override { return static_cast<unsigned>(outs.size()); }
  std::string OutName(unsigned index) override { return index < outs.size() ? outs[index] : std::string(); }
  unsigned InCount() override { return static_cast<unsigned>(ins.size()); }
  std::string InName(unsigned index) override { return index < ins.size() ? ins[index] : std::string(); }
  std::int32_t OutMixerId(unsigned index) override { return index < out_mixers.size() ? out_mixers[index] : -1; }
};

// The user's sound mapper key and the machine's set-up key, as maps of values.
class FakeDefaultDeviceRegistry final : public IDefaultDeviceRegistry {
 public:
  using Value = std::variant<std::string, std::uint32_t>;
  using Values = std::map<std::string, Value>;

  explicit FakeDefaultDeviceRegistry(AudioLines& journal) : journal_(journal) {}

  Values user;
  Values machine;
  bool user_opens = true;
  bool machine_opens = true;

  std::unique_ptr<IRegistryKey> OpenSoundMapper() override {
    if (!user_opens) return nullptr;
    return std::make_unique<Key>(user, journal_);
  }
  std::unique_ptr<IRegistryKey> OpenSetupPreferredAudioDevices() override {
    if (!machine_opens) return nullptr;
    return std::make_unique<Key>(machine, journal_);
  }

 private:
  class Key final : public IRegistryKey {
   public:
    Key(Values& values, AudioLines& journal) : values_(values), journal_(journal) {}
    std::optional<std::string> ReadString(const char* name) override {
      const auto found = values_.find(name);
      if (found == values_.end() || !std::holds_alternative<std::string>(found->second)) return std::nullopt;
      return std::get<std::string>(found->second);
    }
    void WriteString(const char* name, const std::string& value) override {
      journal_.push_back(std::string("WRITE ") + name + "=" + value);
      values_[name] = value;
    }
    std::optional<std::uint32_t> ReadDword(const char* name) override {
      const auto found = values_.find(name);
      if (found == values_.end() || !std::holds_alternative<std::uint32_t>(found->second)) return std::nullopt;
      return std::get<std::uint32_t>(found->second);
    }
    void WriteDword(const char* name, std::uint32_t value) override {
      journal_.push_back(std::string("WRITE ") + name + "=" + std::to_string(value));
      values_[name] = value;
    }

   private:
    Values& values_;
    AudioLines& journal_;
  };

  AudioLines& journal_;
};
