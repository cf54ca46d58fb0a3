#pragma once
// A simulated mixer: its lines with their controls, and each control's current values, as
// the winmm mixer functions report and change them. The handset's mixer:
//
//   destination 0 "Speaker"            volume 1, mute 2
//     source 0 "Wave"                  volume 3, mute 4
//   destination 1 "Recording Control"  volume 5, mute 6, selector 7 (MUX or MIXER, if any)
//     source 0 "Microphone"            volume 8 (muted through the selector)
//   destination 2 "Side Tone"          volume 9 (only with destinations=3)
//
// Onboard sound: destination 0 "Master Volume" with volume 101 and mute 102.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/winmmsim/sim_config.h"

namespace winmmsim {

// Values from <mmsystem.h>.
constexpr std::uint32_t kTypeVolume = 0x50030001;
constexpr std::uint32_t kTypeMute = 0x20010002;
constexpr std::uint32_t kTypeMixer = 0x71010001;
constexpr std::uint32_t kTypeMux = 0x70010001;
constexpr std::uint32_t kFlagUniform = 0x00000001;
constexpr std::uint32_t kFlagMultiple = 0x00000002;

struct TSimControl {
  std::uint32_t id = 0;
  std::uint32_t type = 0;
  std::uint32_t flags = 0;
  std::uint32_t items = 0;  // cMultipleItems
  std::string name;
  // channels × max(items, 1), channel by channel; one channel for a uniform control.
  std::vector<std::uint32_t> values;
};

struct TSimLine {
  std::uint32_t line_id = 0;
  std::uint32_t destination = 0;
  int source = -1;  // -1: a destination line
  std::uint32_t component_type = 0;
  std::uint32_t channels = 1;
  std::string name;
  std::vector<TSimControl> controls;
  std::vector<TSimLine> sources;
};

struct TSimMixer {
  int id = 0;
  std::string name;
  bool open_fails = false;
  std::vector<TSimLine> destinations;
};

TSimMixer BuildMixer(const TMixerConfig& config);

// The line that owns control `id`, and the control; null when there is none.
struct TControlRef {
  TSimLine* line = nullptr;
  TSimControl* control = nullptr;
};
TControlRef FindControl(TSimMixer& mixer, std::uint32_t id);
TSimLine* FindLine(TSimMixer& mixer, std::uint32_t line_id);

// Whether a details request fits the control: one channel or the line's count (one for a
// uniform control), and the control's item count for a multiple-item one, else 0.
bool ValidRequest(const TSimLine& line, const TSimControl& control, std::uint32_t channels, std::uint32_t items);
// The values a request of `channels` channels reads; a single channel reads the first.
std::vector<std::uint32_t> ReadValues(const TSimControl& control, std::uint32_t channels);
// Takes the request's values (a single channel sets every channel); true when that changed
// the control.
bool WriteValues(TSimControl& control, std::uint32_t channels, const std::vector<std::uint32_t>& values);

}  // namespace winmmsim
