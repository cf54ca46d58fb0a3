#pragma once
// The Windows default sound device keys, through the one registry class.
#include "audio/default_devices.h"

class TDefaultDeviceRegistry final : public IDefaultDeviceRegistry {
 public:
  std::unique_ptr<IRegistryKey> OpenSoundMapper() override;
  std::unique_ptr<IRegistryKey> OpenSetupPreferredAudioDevices() override;
};
