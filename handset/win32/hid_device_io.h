#pragma once
// A HID device's own synchronous handle: queries, the handle notification, output reports.
#include <windows.h>

#include "common/win32/scoped_handles.h"
#include "handset/hid_platform.h"

class TWin32HidDeviceIo final : public IHidDeviceIo {
 public:
  explicit TWin32HidDeviceIo(HWND notification_window) : notification_window_(notification_window) {}
  ~TWin32HidDeviceIo() override;

  bool Open(const std::string& path, bool read_write) override;
  void Close() override;
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(handle_value_); }
  THidDeviceQuery Query() override;
  void FreePreparsedData() override;
  bool RegisterHandleNotification() override;
  void UnregisterHandleNotification() override;
  bool Write(const std::uint8_t* data, std::size_t length) override;

 private:
  HWND notification_window_;
  TKernelHandle handle_;
  // Kept after Close: Windows names the device by it in the removal notices that follow.
  HANDLE handle_value_ = INVALID_HANDLE_VALUE;
  void* preparsed_data_ = nullptr;
  void* notify_handle_ = nullptr;
};
