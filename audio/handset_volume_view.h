#pragma once
// What the handset's endpoint logic (audio/handset_endpoint_volume.h) reports a side with, and
// to whom: the values in effect and which controls work. The panel's volume group takes it
// through its endpoint backend (panel/endpoint_volume_backend.h).
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
