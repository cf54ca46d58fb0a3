#include "handset/win32/bound_services.h"

#include "handset/service_binding.h"

namespace bound {
namespace {

class TWindowsModuleLoader final : public IModuleLoader {
 public:
  void* GetModuleHandle(const char* library) override { return reinterpret_cast<void*>(::GetModuleHandleA(library)); }
  void* LoadLibrary(const char* library) override { return reinterpret_cast<void*>(::LoadLibraryA(library)); }
  void* GetProcAddress(void* module, const char* function) override {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), function));
  }
};

TWindowsModuleLoader loader;

// One slot per function; filled at the first successful call, never cleared.
template <typename Function>
Function Bound(void*& slot, const char* library, const char* function) {
  BindFunction(slot, loader, library, function);
  return reinterpret_cast<Function>(slot);
}

constexpr char kHid[] = "hid.dll";
constexpr char kSetupApi[] = "SetupApi.dll";
constexpr char kUser32[] = "user32.dll";
constexpr char kKernel32[] = "kernel32.dll";
constexpr char kWtsApi32[] = "wtsapi32.dll";

}  // namespace

#define BOUND_CALL(library, name, ...)                                          \
  static void* slot = nullptr;                                                  \
  return Bound<decltype(&bound::name)>(slot, library, #name)(__VA_ARGS__)

void WINAPI HidD_GetHidGuid(LPGUID hid_guid) { BOUND_CALL(kHid, HidD_GetHidGuid, hid_guid); }
BOOLEAN WINAPI HidD_GetPreparsedData(HANDLE device, PHIDP_PREPARSED_DATA* preparsed_data) {
  BOUND_CALL(kHid, HidD_GetPreparsedData, device, preparsed_data);
}
BOOLEAN WINAPI HidD_FreePreparsedData(PHIDP_PREPARSED_DATA preparsed_data) {
  BOUND_CALL(kHid, HidD_FreePreparsedData, preparsed_data);
}
BOOLEAN WINAPI HidD_GetAttributes(HANDLE device, PHIDD_ATTRIBUTES attributes) {
  BOUND_CALL(kHid, HidD_GetAttributes, device, attributes);
}
NTSTATUS WINAPI HidP_GetCaps(PHIDP_PREPARSED_DATA preparsed_data, PHIDP_CAPS capabilities) {
  BOUND_CALL(kHid, HidP_GetCaps, preparsed_data, capabilities);
}
NTSTATUS WINAPI HidP_GetLinkCollectionNodes(PHIDP_LINK_COLLECTION_NODE nodes, PULONG length,
                                            PHIDP_PREPARSED_DATA preparsed_data) {
  BOUND_CALL(kHid, HidP_GetLinkCollectionNodes, nodes, length, preparsed_data);
}

HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID* class_guid, PCSTR enumerator, HWND parent, DWORD flags) {
  BOUND_CALL(kSetupApi, SetupDiGetClassDevsA, class_guid, enumerator, parent, flags);
}
BOOL WINAPI SetupDiEnumDeviceInterfaces(HDEVINFO set, PSP_DEVINFO_DATA device, const GUID* interface_guid,
                                        DWORD index, PSP_DEVICE_INTERFACE_DATA interface_data) {
  BOUND_CALL(kSetupApi, SetupDiEnumDeviceInterfaces, set, device, interface_guid, index, interface_data);
}
BOOL WINAPI SetupDiGetDeviceInterfaceDetailA(HDEVINFO set, PSP_DEVICE_INTERFACE_DATA interface_data,
                                             PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD detail_size,
                                             PDWORD required_size, PSP_DEVINFO_DATA device) {
  BOUND_CALL(kSetupApi, SetupDiGetDeviceInterfaceDetailA, set, interface_data, detail, detail_size,
             required_size, device);
}
BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO set) { BOUND_CALL(kSetupApi, SetupDiDestroyDeviceInfoList, set); }

HDEVNOTIFY WINAPI RegisterDeviceNotificationA(HANDLE recipient, LPVOID filter, DWORD flags) {
  BOUND_CALL(kUser32, RegisterDeviceNotificationA, recipient, filter, flags);
}
BOOL WINAPI UnregisterDeviceNotification(HDEVNOTIFY handle) {
  BOUND_CALL(kUser32, UnregisterDeviceNotification, handle);
}

DWORD WINAPI WTSGetActiveConsoleSessionId() {
  static void* slot = nullptr;
  return Bound<decltype(&bound::WTSGetActiveConsoleSessionId)>(slot, kKernel32, "WTSGetActiveConsoleSessionId")();
}
BOOL WINAPI WTSRegisterSessionNotification(HWND window, DWORD flags) {
  BOUND_CALL(kWtsApi32, WTSRegisterSessionNotification, window, flags);
}
BOOL WINAPI WTSUnRegisterSessionNotification(HWND window) {
  BOUND_CALL(kWtsApi32, WTSUnRegisterSessionNotification, window);
}

#undef BOUND_CALL

bool ProbeLibrary(const char* library) { return ::ProbeLibrary(loader, library); }

}  // namespace bound
