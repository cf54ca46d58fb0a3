#pragma once
// The device layer's Windows side: the hidden notification window, enumeration through the
// device-setup services, device handles and read threads.
#include <windows.h>

#include <memory>

#include "common/win32/window.h"
#include "handset/hid_control.h"
#include "handset/hid_platform.h"

// Class name of the manager's hidden window; the handset simulator finds it by this name.
constexpr char kHidControlWindowClass[] = "THidControlWindow";

class TWin32HidPlatform final : public IHidPlatform {
 public:
  TWin32HidPlatform();
  ~TWin32HidPlatform() override;

  bool ProbeDeviceLibraries() override;
  std::optional<std::uint32_t> StartNotifications(THidControl& control) override;
  void StopNotifications() override;
  std::vector<std::string> EnumerateHidInterfaces() override;
  std::unique_ptr<IHidDeviceIo> NewDeviceIo() override;
  void PostDeviceRemoved(std::uintptr_t handle) override;
  std::unique_ptr<IHandsetReadThread> StartReadThread(const std::string& path, std::uint16_t input_report_length,
                                                      const THandsetCallbacks& callbacks) override;

 private:
  class TNotificationWindow;

  std::unique_ptr<TNotificationWindow> window_;
  GUID hid_guid_ = {};
  HDEVNOTIFY interface_notification_ = nullptr;
  bool session_registered_ = false;
};
