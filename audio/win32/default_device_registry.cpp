#include "audio/win32/default_device_registry.h"

#include "common/win32/registry.h"

namespace {

constexpr char kSoundMapper[] = "SoftWare\\Microsoft\\Multimedia\\Sound Mapper";
constexpr char kSetupPreferred[] =
    "SYSTEM\\CurrentControlSet\\Control\\MediaResources\\SetupPreferredAudioDevices";

}  // namespace

std::unique_ptr<IRegistryKey> TDefaultDeviceRegistry::OpenSoundMapper() {
  return OpenRegistryKey(HKEY_CURRENT_USER, kSoundMapper);
}

std::unique_ptr<IRegistryKey> TDefaultDeviceRegistry::OpenSetupPreferredAudioDevices() {
  return OpenRegistryKey(HKEY_LOCAL_MACHINE, kSetupPreferred);
}
