// The stand-in SetupApi.dll: enumeration of the HID device interfaces, which are the
// simulated handsets plugged in. Signatures and calling convention are those of <setupapi.h>.
#include <windows.h>

#define _SETUPAPI_  // defining these functions, not importing them
#include <setupapi.h>

#include <cstddef>
#include <cstring>

#include "tools/handsetsim/standin/device_sets.h"
#include "tools/handsetsim/standin/hid_guids.h"
#include "tools/handsetsim/standin/sim_link.h"
#include "tools/handsetsim/wire.h"

namespace standin = handsetsim::standin;

namespace {

// Without a simulator there are no handsets, as on a machine without any.
std::vector<handsetsim::TDeviceRecord> PluggedDevices() {
  const auto reply = standin::Request(handsetsim::ListRequest(GetCurrentProcessId()));
  if (!reply) return {};
  return handsetsim::ParseListReply(*reply).value_or(std::vector<handsetsim::TDeviceRecord>{});
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// The interface data names its device by position: Reserved holds the index plus one.
std::optional<std::size_t> InterfaceIndex(HDEVINFO set, const SP_DEVICE_INTERFACE_DATA* data) {
  if (data == nullptr || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA) || data->Reserved == 0) return std::nullopt;
  const std::size_t index = data->Reserved - 1;
  if (!standin::DeviceInSet(set, index)) return std::nullopt;
  return index;
}

}  // namespace

extern "C" {

HDEVINFO WINAPI SetupDiGetClassDevsA(CONST GUID* class_guid, PCSTR, HWND, DWORD flags) {
  if (class_guid == nullptr && (flags & DIGCF_ALLCLASSES) == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  // Only HID interfaces exist here; any other class is an empty set.
  const bool hid = (flags & DIGCF_DEVICEINTERFACE) != 0 &&
                   ((flags & DIGCF_ALLCLASSES) != 0 || standin::SameGuid(*class_guid, standin::kHidInterfaceGuid));
  return static_cast<HDEVINFO>(
      standin::CreateDeviceSet(hid ? PluggedDevices() : std::vector<handsetsim::TDeviceRecord>{}));
}

WINBOOL WINAPI SetupDiEnumDeviceInterfaces(HDEVINFO set, PSP_DEVINFO_DATA device, CONST GUID* interface_guid,
                                           DWORD index, PSP_DEVICE_INTERFACE_DATA data) {
  if (!standin::IsDeviceSet(set)) return Fail(ERROR_INVALID_HANDLE);
  if (data == nullptr || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) return Fail(ERROR_INVALID_USER_BUFFER);
  if (interface_guid == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  // With a device given, its one interface; DevInst holds the device's index plus one.
  std::size_t position = index;
  if (device != nullptr) {
    if (device->cbSize != sizeof(SP_DEVINFO_DATA) || device->DevInst == 0) return Fail(ERROR_INVALID_PARAMETER);
    if (index != 0) return Fail(ERROR_NO_MORE_ITEMS);
    position = device->DevInst - 1;
  }
  if (!standin::SameGuid(*interface_guid, standin::kHidInterfaceGuid) || !standin::DeviceInSet(set, position)) {
    return Fail(ERROR_NO_MORE_ITEMS);
  }
  data->InterfaceClassGuid = standin::kHidInterfaceGuid;
  data->Flags = SPINT_ACTIVE;
  data->Reserved = position + 1;
  return TRUE;
}

WINBOOL WINAPI SetupDiGetDeviceInterfaceDetailA(HDEVINFO set, PSP_DEVICE_INTERFACE_DATA data,
                                                PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD detail_size,
                                                PDWORD required_size, PSP_DEVINFO_DATA device) {
  if (!standin::IsDeviceSet(set)) return Fail(ERROR_INVALID_HANDLE);
  const auto index = InterfaceIndex(set, data);
  if (!index) return Fail(ERROR_INVALID_PARAMETER);
  const auto record = standin::DeviceInSet(set, *index);
  if (!record) return Fail(ERROR_INVALID_PARAMETER);

  const std::size_t needed = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + record->path.size() + 1;
  if (required_size != nullptr) *required_size = static_cast<DWORD>(needed);
  if (detail == nullptr) return Fail(detail_size == 0 ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_USER_BUFFER);
  if (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) return Fail(ERROR_INVALID_USER_BUFFER);
  if (detail_size < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
  if (device != nullptr && device->cbSize != sizeof(SP_DEVINFO_DATA)) return Fail(ERROR_INVALID_USER_BUFFER);

  std::memcpy(detail->DevicePath, record->path.c_str(), record->path.size() + 1);
  if (device != nullptr) {
    device->ClassGuid = standin::kHidSetupClassGuid;
    device->DevInst = static_cast<DWORD>(*index + 1);
    device->Reserved = 0;
  }
  return TRUE;
}

WINBOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  if (!standin::DestroyDeviceSet(set)) return Fail(ERROR_INVALID_HANDLE);
  return TRUE;
}

}  // extern "C"
