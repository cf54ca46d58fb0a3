#pragma once
// The "USB Phone" group: the handset's speaker and microphone volume and mute. It keeps the
// stored values, finds the handset's sound devices, keeps its controls and the device in
// step both ways, steps the speaker by the handset's volume keys, and settles the Windows
// default devices. The device itself is a backend (panel/volume_backend.h), which says on
// which Windows the controls reach it.
#include <cstdint>
#include <string>

#include "audio/default_devices.h"
#include "audio/wave_devices.h"
#include "panel/skype_device_group.h"
#include "panel/volume_backend.h"
#include "audio/handset_volume.h"
#include "skin/tsui_controls.h"

// The group's controls (names as on the form).
struct TVolumeControls {
  IGroupBox& suiGroupBoxVol;
  IControl& LabelVolOut;
  IControl& LabelVolIn;
  ITrackBar& suiTrackBarVolOut;
  ITrackBar& suiTrackBarVolIn;
  ICheckBox& suiCheckBoxVolOut;
  ICheckBox& suiCheckBoxVolIn;
};

// The levels and mutes the panel keeps and saves.
struct TVolumeValues {
  int SpeakerVolume = kHandsetVolumeDefault;
  int MicVolume = kHandsetVolumeDefault;
  bool SpeakerMute = false;
  bool MicMute = false;
};

// What a search found this time; empty where it found nothing.
struct THandsetSearch {
  bool found = false;  // both devices, with a usable volume device
  std::string output;
  std::string input;
};

class TVolumeGroup final : public IWindowsDefaultDevices, private IVolumeView {
 public:
  TVolumeGroup(const TVolumeControls& controls, IVolumeBackend& backend, IWaveDevices& devices,
               IDefaultDeviceRegistry& registry, std::uint8_t os_kind, std::string handset_pattern);
  ~TVolumeGroup() override;
  TVolumeGroup(const TVolumeGroup&) = delete;
  TVolumeGroup& operator=(const TVolumeGroup&) = delete;

  const TVolumeValues& Values() const { return values_; }
  // The values read from setup.set, shown in the track bars with their range.
  void Load(const TVolumeValues& values);
  const std::string& HandsetOutName() const { return handset_out_name_; }
  const std::string& HandsetInName() const { return handset_in_name_; }

  // The bridge's latest word on the handset; nothing is looked for or followed without it.
  void SetHandsetPresent(bool present) { handset_present_ = present; }
  // The volume device closed and the devices counted afresh.
  void RefreshDevices();
  // Finds the handset's wave-out device with a usable volume device (opened, stored values
  // applied) and its wave-in device. Names found before stay; the device is closed unless
  // both were found.
  THandsetSearch FindHandsetDevices();
  bool Enabled() const { return controls_.suiGroupBoxVol.Enabled(); }
  // Whether the group follows its devices at each device change (see IVolumeBackend).
  bool FollowsUnplugs() const { return backend_.HearsOfUnplugs(); }
  // The group on (the devices were found) or off, with its controls as that shows them.
  void Enable(bool on);
  // Where no Windows default device is recorded, one that is not the handset's.
  void SettleDefaultDevices();
  // The devices behind the "Windows default sound device" entry: known while the handset's
  // volume device is open.
  TDefaultDeviceNames DefaultDevices() override;

  // "Default": the default levels without mute, shown and sent to the device.
  void RestoreDefaults();
  // OnChange of the track bar and OnClick of the check box of each side.
  void suiTrackBarVolOutChange();
  void suiTrackBarVolInChange();
  // Reads a side from the device into its controls; false when unusable.
  bool ReadSide(THandsetSide side);

  // The handset's volume keys, as the bridge reports them.
  void KeyReported(std::uint8_t key);
  // A tick of the key repeat (also right after a report); only a call in progress steps.
  void RepeatKeys(bool talking);
  std::uint8_t CurrentKey() const { return FCurKey; }
  std::uint8_t PreviousKey() const { return FPrevKey; }

 private:
  // IVolumeView.
  bool FollowsDevice() const override;
  bool ShowReading(THandsetSide side, const TSideReading& reading) override;
  void StoreShown(THandsetSide side) override;
  TSideReading Stored(THandsetSide side) const override;

  bool VolumeReachesDevice() const;
  bool FindHandsetOutput(std::string& found);
  bool FindHandsetInput(std::string& found);
  void ApplyVolume(THandsetSide side, int value, bool mute);
  void ResetControls();
  // Change each given property that is not kUnchanged and differs, with FUpdating set, so
  // that no change reaches the device.
  void SetTrackBarState(ITrackBar& track_bar, int position, int enabled, int min, int max);
  void SetCheckBoxState(ICheckBox& check_box, int checked, int enabled);
  ITrackBar& TrackBarOf(THandsetSide side);
  ICheckBox& CheckBoxOf(THandsetSide side);

  TVolumeControls controls_;
  IVolumeBackend& backend_;
  IWaveDevices& devices_;
  IDefaultDeviceRegistry& registry_;
  const std::uint8_t os_kind_;
  const std::string handset_pattern_;
  TVolumeValues values_;
  std::string handset_out_name_;
  std::string handset_in_name_;
  bool handset_present_ = false;
  // The group's own control changes are not written back to the device.
  bool FUpdating = false;
  std::uint8_t FPrevKey = 0;
  std::uint8_t FCurKey = 0;
};
