#include "audio/default_devices.h"

#include <functional>

namespace {

constexpr char kPlayback[] = "Playback";
constexpr char kRecord[] = "Record";
constexpr char kPreferredCount[] = "SetupPreferredAudioDevicesCount";
constexpr std::uint8_t kOsNt51 = 2;  // FOsKind of Windows XP

TDefaultDeviceNames ReadRecorded(IDefaultDeviceRegistry& registry) {
  TDefaultDeviceNames names;
  std::unique_ptr<IRegistryKey> key = registry.OpenSoundMapper();
  if (!key) return names;
  names.playback = key->ReadString(kPlayback).value_or("");
  names.record = key->ReadString(kRecord).value_or("");
  return names;
}

// A device of one kind that is not the handset's; on XP the last such device, elsewhere
// the first. With no such device: the last device on XP, device 0 elsewhere.
std::string ChooseDevice(unsigned count, const std::function<std::string(unsigned)>& name_of,
                         std::uint8_t os_kind, const std::string& handset_pattern) {
  const bool take_last = os_kind == kOsNt51;
  unsigned chosen = take_last ? count - 1 : 0;
  for (unsigned i = 0; i < count; ++i) {
    if (name_of(i).find(handset_pattern) != std::string::npos) continue;
    chosen = i;
    if (!take_last) break;
  }
  return name_of(chosen);
}

}  // namespace

TDefaultDeviceNames ReadDefaultDevices(IDefaultDeviceRegistry& registry, IWaveDevices& devices,
                                       bool handset_mixer_open) {
  if (!handset_mixer_open || devices.OutCount() == 0 || devices.InCount() == 0) return {};
  return ReadRecorded(registry);
}

void SettleDefaultDevices(IDefaultDeviceRegistry& registry, IWaveDevices& devices, std::uint8_t os_kind,
                          const std::string& handset_pattern) {
  TDefaultDeviceNames names = ReadRecorded(registry);
  const bool either_missing = names.playback.empty() || names.record.empty();

  const unsigned out_count = devices.OutCount();
  if (names.playback.empty() && out_count > 0) {
    names.playback = ChooseDevice(out_count, [&](unsigned i) { return devices.OutName(i); }, os_kind,
                                  handset_pattern);
  }
  const unsigned in_count = devices.InCount();
  if (names.record.empty() && in_count > 0) {
    names.record = ChooseDevice(in_count, [&](unsigned i) { return devices.InName(i); }, os_kind,
                                handset_pattern);
  }
  // Both values are written together, also one that was set already or is still empty.
  if (either_missing) {
    if (std::unique_ptr<IRegistryKey> key = registry.OpenSoundMapper()) {
      key->WriteString(kPlayback, names.playback);
      key->WriteString(kRecord, names.record);
    }
  }

  std::optional<std::uint32_t> count;
  if (std::unique_ptr<IRegistryKey> machine = registry.OpenSetupPreferredAudioDevices()) {
    count = machine->ReadDword(kPreferredCount);
  }
  if (count) {
    if (std::unique_ptr<IRegistryKey> key = registry.OpenSoundMapper()) key->WriteDword(kPreferredCount, *count);
  }
}
