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
std::vector<handsetsim::DeviceRecord> pluggedDevices() {
    const auto reply = standin::request(handsetsim::listRequest(GetCurrentProcessId()));
    if (!reply) return {};
    return handsetsim::parseListReply(*reply).value_or(std::vector<handsetsim::DeviceRecord>{});
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// The interface data names its device by position: Reserved holds the index plus one.
std::optional<std::size_t> interfaceIndex(HDEVINFO set, const SP_DEVICE_INTERFACE_DATA* data) {
    if (data == nullptr || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA) || data->Reserved == 0) return std::nullopt;
    const std::size_t index = data->Reserved - 1;
    if (!standin::deviceInSet(set, index)) return std::nullopt;
    return index;
}

}  // namespace

extern "C" {

HDEVINFO WINAPI SetupDiGetClassDevsA(CONST GUID* classGuid, PCSTR, HWND, DWORD flags) {
    if (classGuid == nullptr && (flags & DIGCF_ALLCLASSES) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    // Only HID interfaces exist here; any other class is an empty set.
    const bool hid = (flags & DIGCF_DEVICEINTERFACE) != 0 &&
                     ((flags & DIGCF_ALLCLASSES) != 0 || standin::sameGuid(*classGuid, standin::kHidInterfaceGuid));
    return static_cast<HDEVINFO>(standin::createDeviceSet(hid ? pluggedDevices() : std::vector<handsetsim::DeviceRecord>{}));
}

WINBOOL WINAPI SetupDiEnumDeviceInterfaces(HDEVINFO set, PSP_DEVINFO_DATA device, CONST GUID* interfaceGuid,
                                           DWORD index, PSP_DEVICE_INTERFACE_DATA data) {
    if (!standin::isDeviceSet(set)) return fail(ERROR_INVALID_HANDLE);
    if (data == nullptr || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) return fail(ERROR_INVALID_USER_BUFFER);
    if (interfaceGuid == nullptr) return fail(ERROR_INVALID_PARAMETER);
    // With a device given, its one interface; DevInst holds the device's index plus one.
    std::size_t position = index;
    if (device != nullptr) {
        if (device->cbSize != sizeof(SP_DEVINFO_DATA) || device->DevInst == 0) return fail(ERROR_INVALID_PARAMETER);
        if (index != 0) return fail(ERROR_NO_MORE_ITEMS);
        position = device->DevInst - 1;
    }
    if (!standin::sameGuid(*interfaceGuid, standin::kHidInterfaceGuid) || !standin::deviceInSet(set, position)) {
        return fail(ERROR_NO_MORE_ITEMS);
    }
    data->InterfaceClassGuid = standin::kHidInterfaceGuid;
    data->Flags = SPINT_ACTIVE;
    data->Reserved = position + 1;
    return TRUE;
}

WINBOOL WINAPI SetupDiGetDeviceInterfaceDetailA(HDEVINFO set, PSP_DEVICE_INTERFACE_DATA data,
                                                PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD detailSize,
                                                PDWORD requiredSize, PSP_DEVINFO_DATA device) {
    if (!standin::isDeviceSet(set)) return fail(ERROR_INVALID_HANDLE);
    const auto index = interfaceIndex(set, data);
    if (!index) return fail(ERROR_INVALID_PARAMETER);
    const auto record = standin::deviceInSet(set, *index);
    if (!record) return fail(ERROR_INVALID_PARAMETER);

    const std::size_t needed = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + record->path.size() + 1;
    if (requiredSize != nullptr) *requiredSize = static_cast<DWORD>(needed);
    if (detail == nullptr) return fail(detailSize == 0 ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_USER_BUFFER);
    if (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) return fail(ERROR_INVALID_USER_BUFFER);
    if (detailSize < needed) return fail(ERROR_INSUFFICIENT_BUFFER);
    if (device != nullptr && device->cbSize != sizeof(SP_DEVINFO_DATA)) return fail(ERROR_INVALID_USER_BUFFER);

    std::memcpy(detail->DevicePath, record->path.c_str(), record->path.size() + 1);
    if (device != nullptr) {
        device->ClassGuid = standin::kHidSetupClassGuid;
        device->DevInst = static_cast<DWORD>(*index + 1);
        device->Reserved = 0;
    }
    return TRUE;
}

WINBOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO set) {
    if (!standin::destroyDeviceSet(set)) return fail(ERROR_INVALID_HANDLE);
    return TRUE;
}

}  // extern "C"
