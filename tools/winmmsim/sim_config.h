#pragma once
// What the stand-in winmm.dll simulates: the wave devices in order, each with its mixer,
// and the mixers. Read from a small text file (see README.md); without one, a machine with
// onboard sound and the handset.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace winmmsim {

constexpr int kNoMixer = -1;

struct TWaveDevice {
  std::string name;
  int mixer = kNoMixer;  // what mixerGetID gives for it
};

// The control that picks the recording destination's source.
enum class TSelector { None, Mux, Mixer };

struct TMixerConfig {
  int id = 0;
  bool handset = false;  // the handset's two-destination layout, else onboard sound
  bool open_fails = false;
  int destinations = 2;  // handset only: 3 adds a side-tone destination
  TSelector select = TSelector::Mux;
  std::uint32_t speaker_channels = 2;
  bool uniform_volume = false;  // the speaker's volume control
};

struct TInitialValue {
  int mixer = 0;
  std::uint32_t control = 0;
  std::vector<std::uint32_t> values;
};

struct TConfig {
  std::vector<TWaveDevice> outs;
  std::vector<TWaveDevice> ins;
  std::vector<TMixerConfig> mixers;  // by id: mixers[i].id == i
  std::vector<TInitialValue> values;
  bool notify = true;  // MM_MIXM_CONTROL_CHANGE after a change
};

// Onboard sound (wave devices and mixer 0) and the handset ("USB Phone", mixer 1).
TConfig DefaultConfig();

// Lines of the config file; `errors` gets one text per line that was not understood.
TConfig ParseConfig(std::string_view text, std::vector<std::string>& errors);

}  // namespace winmmsim
