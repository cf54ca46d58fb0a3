#pragma once
// The HID, device-setup, device-notification and session services, bound by name at their
// first call (see handset/service_binding.h). Each stub has the Windows function's exact
// signature; a missing library or function raises WBSDKError from the stub.
#include <windows.h>
// setupapi.h before the HID headers: they share types.
#include <setupapi.h>
#include <hidsdi.h>
#include <hidpi.h>
#include <dbt.h>

namespace bound {

void WINAPI HidD_GetHidGuid(LPGUID hid_guid);
BOOLEAN WINAPI HidD_GetPreparsedData(HANDLE device, PHIDP_PREPARSED_DATA* preparsed_data);
BOOLEAN WINAPI HidD_FreePreparsedData(PHIDP_PREPARSED_DATA preparsed_data);
BOOLEAN WINAPI HidD_GetAttributes(HANDLE device, PHIDD_ATTRIBUTES attributes);
NTSTATUS WINAPI HidP_GetCaps(PHIDP_PREPARSED_DATA preparsed_data, PHIDP_CAPS capabilities);
NTSTATUS WINAPI HidP_GetLinkCollectionNodes(PHIDP_LINK_COLLECTION_NODE nodes, PULONG length,
                                            PHIDP_PREPARSED_DATA preparsed_data);

HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID* class_guid, PCSTR enumerator, HWND parent, DWORD flags);
BOOL WINAPI SetupDiEnumDeviceInterfaces(HDEVINFO set, PSP_DEVINFO_DATA device, const GUID* interface_guid,
                                        DWORD index, PSP_DEVICE_INTERFACE_DATA interface_data);
BOOL WINAPI SetupDiGetDeviceInterfaceDetailA(HDEVINFO set, PSP_DEVICE_INTERFACE_DATA interface_data,
                                             PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD detail_size,
                                             PDWORD required_size, PSP_DEVINFO_DATA device);
BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO set);

HDEVNOTIFY WINAPI RegisterDeviceNotificationA(HANDLE recipient, LPVOID filter, DWORD flags);
BOOL WINAPI UnregisterDeviceNotification(HDEVNOTIFY handle);

DWORD WINAPI WTSGetActiveConsoleSessionId();
BOOL WINAPI WTSRegisterSessionNotification(HWND window, DWORD flags);
BOOL WINAPI WTSUnRegisterSessionNotification(HWND window);

// Whether a library is loaded or can be loaded (it then stays loaded).
bool ProbeLibrary(const char* library);

}  // namespace bound
