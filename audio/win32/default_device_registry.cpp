#include "audio/win32/default_device_registry.h"

#include "common/win32/registry.h"

namespace {

constexpr char kSoundMapper[] = "SoftWare\\Microsoft\\Multimedia\\Sound Mapper";
constexpr char kSetupPreferred[] =
    "SYSTEM\\CurrentControlSet\\Control\\MediaResources\\SetupPreferredAudioDevices";

class TRegistryKey final : public IRegistryKey {
 public:
  bool Open(HKEY root, const char* path) { return registry_.OpenKey(root, path); }

  std::optional<std::string> ReadString(const char* name) override { return registry_.ReadString(name); }
  void WriteString(const char* name, const std::string& value) override { registry_.WriteString(name, value); }
  std::optional<std::uint32_t> ReadDword(const char* name) override { return registry_.ReadDword(name); }
  void WriteDword(const char* name, std::uint32_t value) override { registry_.WriteDword(name, value); }

 private:
  TRegistry registry_;
};

std::unique_ptr<IRegistryKey> OpenKey(HKEY root, const char* path) {
  auto key = std::make_unique<TRegistryKey>();
  if (!key->Open(root, path)) return nullptr;
  return key;
}

}  // namespace

std::unique_ptr<IRegistryKey> TDefaultDeviceRegistry::OpenSoundMapper() {
  return OpenKey(HKEY_CURRENT_USER, kSoundMapper);
}

std::unique_ptr<IRegistryKey> TDefaultDeviceRegistry::OpenSetupPreferredAudioDevices() {
  return OpenKey(HKEY_LOCAL_MACHINE, kSetupPreferred);
}
