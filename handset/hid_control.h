#pragma once
// The HID device manager: finds the accepted HID interfaces, opens them, follows their
// arrival and removal, session changes and power events, and tells its owner whenever the
// list may have changed. TUSBPhoneDevice narrows it to the handsets and writes their mode.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "handset/device_manager.h"
#include "handset/hid_platform.h"

class THidDevice {
 public:
  explicit THidDevice(std::unique_ptr<IHidDeviceIo> io);
  virtual ~THidDevice();
  THidDevice(const THidDevice&) = delete;
  THidDevice& operator=(const THidDevice&) = delete;

  bool Open();
  void OpenDevicePath(const std::string& path);
  // 1-based; a zero-filled node when there is no such node.
  THidLinkCollectionNode GetLinkCollectionNode(int index) const;
  void RegisterHandleNotification();
  void Close();
  void AttachReadThread(std::unique_ptr<IHandsetReadThread> thread);
  void StopReadThread();
  virtual void Shutdown() { StopReadThread(); }
  bool Write(const std::uint8_t* data, std::size_t length) { return io_->Write(data, length); }

  std::uint32_t VendorID = 0;
  std::uint32_t ProductID = 0;
  std::string DevicePath;
  bool IsOpen = false;
  bool CloseAllowed = true;
  THidDeviceQuery Caps;
  bool HasReadThread() const { return read_thread_ != nullptr; }
  std::uintptr_t Handle() const { return io_->Handle(); }

 private:
  std::unique_ptr<IHidDeviceIo> io_;
  std::unique_ptr<IHandsetReadThread> read_thread_;
  bool notification_registered_ = false;
};

class THidControl {
 public:
  explicit THidControl(IHidPlatform& platform);
  virtual ~THidControl();
  THidControl(const THidControl&) = delete;
  THidControl& operator=(const THidControl&) = delete;

  int DeviceCount() const;
  THidDevice& Items(int index) { return *devices_[static_cast<std::size_t>(index)]; }
  void SetDeviceChangeCallback(std::function<void()> callback) { on_device_change_ = std::move(callback); }

  virtual bool IsSupported(const THidDevice&) const { return true; }
  // Lists an acceptable device and returns its index; releases any other and returns -1.
  int AddDevice(std::unique_ptr<THidDevice> device);
  void Enumerate();
  void ClearDevices();
  void Rescan();

  // The hidden window's messages.
  void WMPowerBroadcast(bool windows_nt_family, std::uintptr_t event);
  void WMDeviceChange(std::uintptr_t event, std::uint32_t device_type, std::uintptr_t handle,
                      const std::string& interface_path);
  void WMSessionChange(std::uintptr_t event, std::uint32_t session_id);
  void WMHidDeviceRemoved(std::uintptr_t handle);

 protected:
  // Called only after the derived object exists, so its IsSupported takes part.
  void Start();
  IHidPlatform& platform_;
  std::vector<std::unique_ptr<THidDevice>> devices_;

 private:
  void DeviceChanged();

  std::function<void()> on_device_change_;
  bool services_available_ = false;
  std::optional<std::uint32_t> console_session_id_;
};

class TUSBPhoneDevice final : public THidControl, public IHandsetDeviceManager {
 public:
  explicit TUSBPhoneDevice(IHidPlatform& platform);
  ~TUSBPhoneDevice() override;

  bool IsSupported(const THidDevice& device) const override;

  int Count() const override { return DeviceCount(); }
  void SendMode(THandsetMode mode, std::uint8_t ring_tone) override;
  void SetOnDeviceChange(ChangeCallback callback) override { SetDeviceChangeCallback(std::move(callback)); }
  void StartReadThreads(const THandsetCallbacks& callbacks) override;
};
