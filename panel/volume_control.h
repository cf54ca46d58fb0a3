#pragma once
// The "USB Phone" group's work with the mixer: finding the handset's wave devices and
// mixer, keeping the volume and mute controls and the mixer in step both ways (holding the
// playback line and its first source line equal), the "Default" button, and the Windows
// default devices. Mixer addressing: destination 0 is playback (the handset speaker),
// 1 recording (its microphone); component -1 is the destination line, 0 its first source.
// Only FOsKind 1 and 2 let the controls reach the mixer.
#include <cstdint>
#include <functional>

#include "audio/audio_mixer.h"
#include "audio/default_devices.h"
#include "audio/wave_devices.h"
#include "skin/tsui_controls.h"

struct TForm1State;

// The window's controls that the volume group drives (names as on the form).
struct TVolumeControls {
  ITrackBar& suiTrackBarVolOut;
  ITrackBar& suiTrackBarVolIn;
  ICheckBox& suiCheckBoxVolOut;
  ICheckBox& suiCheckBoxVolIn;
  IButton& suiButtonDefault;
};

// What the volume group needs of the window. The two state setters change each given
// property that is not -1 and differs, with FUpdating set, so no change reaches the mixer.
struct TVolumeControlPorts {
  std::function<void(ITrackBar& track_bar, int position, int enabled, int min, int max)> SetTrackBarState;
  std::function<void(ICheckBox& check_box, int checked, int enabled)> SetCheckBoxState;
  std::function<void()> FillDeviceLists;
  std::function<void()> SaveSettings;
};

class TVolumeControl {
 public:
  // Works on the window's state: FSpeakerVolume, FMicVolume, FSpeakerMute, FMicMute,
  // FHandsetPattern, FHandsetOutName, FHandsetInName, FUpdating, FLinkStatus, FOsKind, the
  // saved Skype names and FResyncPending. `mixer` is AudioMixerUsb.
  TVolumeControl(TForm1State& state, const TVolumeControls& controls, TAudioMixer& mixer,
                 IWaveDevices& devices, IDefaultDeviceRegistry& registry, TVolumeControlPorts ports);

  // Re-counts the mixers; none open.
  void RefreshMixers();
  // Finds the handset's wave-out device with its two-destination mixer (opened, stored
  // volumes applied) and its wave-in device; true when both were found.
  bool FindHandsetDevices(bool refill);

  // OnChange of the track bar and OnClick of the check box of each side.
  void suiTrackBarVolOutChange();
  void suiTrackBarVolInChange();
  // OnCtrlChange of AudioMixerUsb.
  void AudioMixerUsbCtrlChange(std::uint32_t control_id);
  void suiButtonDefaultClick();

  bool ApplyVolume(std::int32_t destination, std::int32_t component, ITrackBar& track_bar, ICheckBox& check_box,
                   int value, int low, int high, bool mute);
  bool ReadVolume(std::int32_t destination, std::int32_t component, ITrackBar& track_bar, ICheckBox& check_box,
                  int low, int high);
  bool PlaybackLinesDiffer();

  void SettleDefaultDevices();
  TDefaultDeviceNames ReadDefaultDevices();

 private:
  bool VolumeReachesMixer() const;
  bool HandsetPresent() const;
  bool FindHandsetOutput();
  bool FindHandsetInput();
  void StoreSpeaker();
  void StoreMicrophone();

  TForm1State& state_;
  TVolumeControls controls_;
  TAudioMixer& mixer_;
  IWaveDevices& devices_;
  IDefaultDeviceRegistry& registry_;
  TVolumeControlPorts ports_;
};
