#pragma once
// The Windows default sound devices: the sound mapper's "Playback" and "Record" device
// names, read for the Skype device choice and filled in when none is recorded.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "audio/wave_devices.h"
#include "common/registry_key.h"

class IDefaultDeviceRegistry {
 public:
  virtual ~IDefaultDeviceRegistry() = default;
  // HKEY_CURRENT_USER "SoftWare\Microsoft\Multimedia\Sound Mapper", created when missing;
  // null when it cannot be opened.
  virtual std::unique_ptr<IRegistryKey> OpenSoundMapper() = 0;
  // HKEY_LOCAL_MACHINE "SYSTEM\CurrentControlSet\Control\MediaResources\SetupPreferredAudioDevices",
  // never created; null when it cannot be opened.
  virtual std::unique_ptr<IRegistryKey> OpenSetupPreferredAudioDevices() = 0;
};

struct TDefaultDeviceNames {
  std::string playback;
  std::string record;
};

// Both names stay empty unless the handset's mixer is open and there are wave-out and
// wave-in devices.
TDefaultDeviceNames ReadDefaultDevices(IDefaultDeviceRegistry& registry, IWaveDevices& devices,
                                       bool handset_mixer_open);

// Fills in a default playback and recording device that is not the handset's (a name
// without `handset_pattern`) where none is recorded, and copies the machine's preferred
// device set-up count to the user. `os_kind` as FOsKind: 2 takes the last such device,
// every other class the first.
void SettleDefaultDevices(IDefaultDeviceRegistry& registry, IWaveDevices& devices, std::uint8_t os_kind,
                          const std::string& handset_pattern);
