#include "handset/win32/hid_platform_win32.h"

#include <wtsapi32.h>

#include <vector>

#include "common/win32/scoped_handles.h"
#include "common/win32/windows_version.h"
#include "common/window_messages.h"
#include "handset/service_binding.h"
#include "handset/win32/bound_services.h"
#include "handset/win32/hid_device_io.h"
#include "handset/win32/read_thread.h"

namespace {
constexpr DWORD kPlatformWin32Nt = 2;
}  // namespace

// Receives power, device and session notifications on the main thread and hands them to
// the device manager.
class TWin32HidPlatform::TNotificationWindow final : public TWindow {
 public:
  explicit TNotificationWindow(THidControl& control) : control_(control) {}
  ~TNotificationWindow() override { Destroy(); }

  bool Create() {
    CreateArgs args;
    args.class_name = kHidControlWindowClass;
    args.style = WS_POPUP;
    args.ex_style = WS_EX_TOOLWINDOW;
    args.x = args.y = 0;
    args.width = args.height = 0;
    return TWindow::Create(args);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case WM_POWERBROADCAST:
        return WMPowerBroadcast(wparam, lparam);
      case WM_DEVICECHANGE:
        WMDeviceChange(wparam, lparam);
        return 0;
      case WM_WTSSESSION_CHANGE:
        control_.WMSessionChange(wparam, static_cast<std::uint32_t>(lparam));
        return 0;
      case msg::WM_HIDDEVICEREMOVED:
        control_.WMHidDeviceRemoved(wparam);
        return 0;
      default:
        return TWindow::HandleMessage(message, wparam, lparam);
    }
  }

 private:
  LRESULT WMPowerBroadcast(WPARAM event, LPARAM lparam) {
    const bool nt_family = RunningWindowsVersion().platform_id == kPlatformWin32Nt;
    control_.WMPowerBroadcast(nt_family, event);
    const bool handled_here = !nt_family && (event == PBT_APMSUSPEND || event == PBT_APMSTANDBY ||
                                             event == PBT_APMRESUMESUSPEND || event == PBT_APMRESUMESTANDBY);
    return handled_here ? 0 : TWindow::HandleMessage(WM_POWERBROADCAST, event, lparam);
  }

  void WMDeviceChange(WPARAM event, LPARAM lparam) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lparam);
    if (header == nullptr) return;
    std::uintptr_t handle = 0;
    std::string path;
    if (header->dbch_devicetype == DBT_DEVTYP_HANDLE) {
      handle = reinterpret_cast<std::uintptr_t>(reinterpret_cast<const DEV_BROADCAST_HANDLE*>(header)->dbch_handle);
    } else if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
      path = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(header)->dbcc_name;
    }
    // A service that went missing fails only this notice (TWindow logs it); the bridge
    // carries on.
    control_.WMDeviceChange(event, header->dbch_devicetype, handle, path);
  }

  THidControl& control_;
};

TWin32HidPlatform::TWin32HidPlatform() = default;

TWin32HidPlatform::~TWin32HidPlatform() { StopNotifications(); }

bool TWin32HidPlatform::ProbeDeviceLibraries() {
  return bound::ProbeLibrary("SetupApi.dll") && bound::ProbeLibrary("hid.dll");
}

std::optional<std::uint32_t> TWin32HidPlatform::StartNotifications(THidControl& control) {
  window_ = std::make_unique<TNotificationWindow>(control);
  window_->Create();
  bound::HidD_GetHidGuid(&hid_guid_);

  DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = hid_guid_;
  interface_notification_ =
      bound::RegisterDeviceNotificationA(window_->Handle(), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);

  const TWindowsVersion version = RunningWindowsVersion();
  if (!SupportsSessionServices(version.platform_id, version.major, version.minor)) return std::nullopt;
  const DWORD console_session = bound::WTSGetActiveConsoleSessionId();
  session_registered_ = bound::WTSRegisterSessionNotification(window_->Handle(), NOTIFY_FOR_ALL_SESSIONS) != FALSE;
  return console_session;
}

void TWin32HidPlatform::StopNotifications() {
  if (!window_) return;
  if (session_registered_) bound::WTSUnRegisterSessionNotification(window_->Handle());
  session_registered_ = false;
  if (interface_notification_ != nullptr) bound::UnregisterDeviceNotification(interface_notification_);
  interface_notification_ = nullptr;
  window_.reset();
}

std::vector<std::string> TWin32HidPlatform::EnumerateHidInterfaces() {
  std::vector<std::string> paths;
  const TDeviceInfoList devices(
      bound::SetupDiGetClassDevsA(&hid_guid_, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE),
      &bound::SetupDiDestroyDeviceInfoList);
  if (!devices.Valid()) return paths;
  const HDEVINFO set = devices.Get();
  for (DWORD index = 0;; ++index) {
    SP_DEVICE_INTERFACE_DATA interface_data = {};
    interface_data.cbSize = sizeof(interface_data);
    if (!bound::SetupDiEnumDeviceInterfaces(set, nullptr, &hid_guid_, index, &interface_data)) break;

    DWORD required = 0;
    bound::SetupDiGetDeviceInterfaceDetailA(set, &interface_data, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) continue;
    // One extra zero byte: the path is read up to its end even if the service forgot it.
    std::vector<char> buffer(required + 1, 0);
    auto* detail = reinterpret_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_A>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    if (bound::SetupDiGetDeviceInterfaceDetailA(set, &interface_data, detail, required, nullptr, &device)) {
      paths.emplace_back(detail->DevicePath);
    }
  }
  return paths;
}

std::unique_ptr<IHidDeviceIo> TWin32HidPlatform::NewDeviceIo() {
  return std::make_unique<TWin32HidDeviceIo>(window_ ? window_->Handle() : nullptr);
}

void TWin32HidPlatform::PostDeviceRemoved(std::uintptr_t handle) {
  if (window_) PostMessageA(window_->Handle(), msg::WM_HIDDEVICEREMOVED, handle, 0);
}

std::unique_ptr<IHandsetReadThread> TWin32HidPlatform::StartReadThread(const std::string& path,
                                                                       std::uint16_t input_report_length,
                                                                       const THandsetCallbacks& callbacks) {
  return std::make_unique<TUSBPhoneDataReadThread>(path, input_report_length, callbacks);
}
