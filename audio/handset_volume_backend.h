#pragma once
// The "USB Phone" group's way to the handset's speaker and microphone, whichever Windows API
// carries it: the winmm mixer (Windows 2000 and XP) or the audio endpoints (Vista and
// later). The group owns its controls and the stored values; a backend finds the handset,
// writes the user's changes at once and reports every value in effect through the view.
#include <string>

#include "audio/handset_volume.h"

struct TSideValues {
  int volume = kHandsetVolumeDefault;
  bool mute = false;
};

// What one side's controls show. `volume` and `mute` are the values to keep (and save) also
// when their control is disabled; an enabled control always works.
struct TSideView {
  int volume = kHandsetVolumeDefault;
  bool mute = false;
  bool level_enabled = false;
  bool mute_enabled = false;
  bool operator==(const TSideView& o) const {
    return volume == o.volume && mute == o.mute && level_enabled == o.level_enabled && mute_enabled == o.mute_enabled;
  }
};

class IHandsetVolumeView {
 public:
  virtual ~IHandsetVolumeView() = default;
  // The values in effect or the usable controls of a side changed: set the controls without
  // writing them back (FUpdating) and keep the values. This is the one place where values
  // come back, whatever changed them: the user, a key, "Default", or something elsewhere.
  virtual void ShowSide(THandsetSide side, const TSideView& view) = 0;
  // The handset's devices may have changed (one of its endpoints went, or the system's
  // endpoints changed): look for the handset again, as after a device-change notice.
  virtual void HandsetDevicesChanged() = 0;
};

class IHandsetVolumeBackend {
 public:
  virtual ~IHandsetVolumeBackend() = default;
  // Looks for the handset's speaker and microphone (letting go of what was held); when both
  // are found, applies the stored values, shows both sides and gives true.
  virtual bool FindHandset(const TSideValues& speaker, const TSideValues& microphone) = 0;
  // Lets go of the handset: nothing of it is used until the next FindHandset.
  virtual void Release() = 0;
  virtual bool Found() const = 0;
  virtual TSideView Side(THandsetSide side) const = 0;
  // A user change of one side's track bar or check box: reaches the device at once.
  virtual void Change(THandsetSide side, const TSideValues& values) = 0;
  // The handset's Up (+1) or Down (-1) key in a call: one step of the speaker volume,
  // clamped into 0..65535.
  virtual void StepSpeaker(int direction) = 0;
  // "Default": both sides to 32767 with mutes off (kept also where a level cannot be set).
  virtual void ApplyDefault() = 0;
};
