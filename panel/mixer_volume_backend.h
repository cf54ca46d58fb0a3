#pragma once
// The handset's volume over its winmm mixer (AudioMixerUsb). Destination 0 is playback (the
// speaker), 1 recording (the microphone); component -1 is the destination line, 0 its first
// source. The playback line and its first source are held equal: whichever changes from
// outside is copied to the other.
#include <cstdint>

#include "audio/audio_mixer.h"
#include "audio/wave_devices.h"
#include "panel/volume_backend.h"

class TMixerVolumeBackend final : public IVolumeBackend {
 public:
  // Takes the mixer's change notices for as long as it lives.
  TMixerVolumeBackend(TAudioMixer& mixer, IWaveDevices& devices);
  ~TMixerVolumeBackend() override;
  TMixerVolumeBackend(const TMixerVolumeBackend&) = delete;
  TMixerVolumeBackend& operator=(const TMixerVolumeBackend&) = delete;

  void SetView(IVolumeView* view) override { view_ = view; }
  // Only Windows 2000 and XP let the mixer's controls reach the handset.
  bool ReachesDevice(std::uint8_t os_kind) const override;
  // The mixer's group is turned on and off by the status reports alone.
  bool HearsOfUnplugs() const override { return false; }
  void Refresh() override;
  bool Open(unsigned wave_out) override;
  void Close() override;
  bool IsOpen() const override;
  void Write(THandsetSide side, int level, bool mute) override;
  bool Read(THandsetSide side) override;
  // The mixer keeps nothing apart from the device.
  void ShowKept(THandsetSide /*side*/) override {}

 private:
  void ControlChanged(std::uint32_t control_id);
  // Reads one line into the side's controls; `shown` gets what they show.
  bool ReadLine(THandsetSide side, std::int32_t component, TSideReading& shown);
  bool PlaybackLinesDiffer();

  TAudioMixer& mixer_;
  IWaveDevices& devices_;
  IVolumeView* view_ = nullptr;
};
