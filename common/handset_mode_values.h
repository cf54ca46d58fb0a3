#pragma once
// The handset's modes: what the bridge writes to the handsets (ringer and call indicator)
// and the mode byte of its status reports to the panel.
#include <cstdint>

enum class THandsetMode : std::uint8_t {
  Standby = 0,
  Buzzer = 1,
  Mute = 2,  // a call on hold, or muted
  CallOut = 4,
  Talking = 6,
};

// A call is in progress, talking or muted.
inline bool InCall(THandsetMode mode) { return mode == THandsetMode::Talking || mode == THandsetMode::Mute; }

// The mode as the byte the handset and the status report carry.
inline std::uint8_t ModeByte(THandsetMode mode) { return static_cast<std::uint8_t>(mode); }
