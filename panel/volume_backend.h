#pragma once
// The handset's sound device as the volume group sees it: two sides, each with a level and a
// mute. The winmm mixer is one backend (panel/mixer_volume_backend.h); another audio layer
// plugs in by implementing IVolumeBackend and telling its view of changes from outside.
#include <cstdint>

#include "audio/handset_volume.h"

// What a side of the device reads. A level outside kHandsetVolumeMin..kHandsetVolumeMax is
// clamped (and written back) before it gets here.
struct TSideReading {
  bool level_usable = false;  // false: the side has no usable volume control; level is 0
  int level = 0;
  bool mute_usable = false;  // false: no usable mute control; mute is false
  bool mute = false;
};

// The volume group's side of a backend: what it shows and keeps when the device changes.
class IVolumeView {
 public:
  virtual ~IVolumeView() = default;
  // False while changes of the device are not the panel's to follow.
  virtual bool FollowsDevice() const = 0;
  // Shows a reading in the side's controls; true when both controls are usable afterwards.
  virtual bool ShowReading(THandsetSide side, const TSideReading& reading) = 0;
  // What the side's controls show becomes its stored level and mute.
  virtual void StoreShown(THandsetSide side) = 0;
  // The side's stored level and mute (as read from setup.set or kept since).
  virtual TSideReading Stored(THandsetSide side) const = 0;
};

class IVolumeBackend {
 public:
  virtual ~IVolumeBackend() = default;
  // The view told of changes from outside (null: nobody); it outlives its registration.
  virtual void SetView(IVolumeView* view) = 0;
  // Whether the group's controls reach the device on Windows of kind `os_kind` (FOsKind).
  virtual bool ReachesDevice(std::uint8_t os_kind) const = 0;
  // Whether the backend hears of its device going and coming back: then the group follows
  // each device change, not only the bridge's status reports.
  virtual bool HearsOfUnplugs() const = 0;
  // Closes the device and looks afresh at what there is.
  virtual void Refresh() = 0;
  // Opens the device behind wave-out device `wave_out`; false when it is not a handset's
  // (it may stay open until Close).
  virtual bool Open(unsigned wave_out) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual void Write(THandsetSide side, int level, bool mute) = 0;
  // Reads a side and has the view show it; false when nothing could be read or a control
  // is unusable.
  virtual bool Read(THandsetSide side) = 0;
  // After the stored values were applied: shows again what is in effect, where the backend
  // keeps it without reading the device (which of the side's controls work).
  virtual void ShowKept(THandsetSide side) = 0;
};
