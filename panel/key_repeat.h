#pragma once
// The handset's volume keys, as the bridge reports them: the key now down and the one before
// become presses, repeats and releases.
#include <cstdint>
#include <vector>

enum class TKeyEventKind { Press = 0, Repeat = 1, Release = 2 };

struct TKeyEvent {
  std::uint8_t key;
  TKeyEventKind kind;
  bool operator==(const TKeyEvent& other) const { return key == other.key && kind == other.kind; }
};

// The events between the previous key (`FPrevKey`) and the current one (`FCurKey`); 0 is no key.
std::vector<TKeyEvent> KeyRepeatEvents(std::uint8_t previous, std::uint8_t current);
