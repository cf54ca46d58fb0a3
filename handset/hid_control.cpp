#include "handset/hid_control.h"

#include <algorithm>
#include <vector>

#include "handset/mode_report.h"

namespace {

constexpr std::uint16_t kConsumerControlUsage = 0x01;
constexpr std::uint16_t kConsumerUsagePage = 0x0C;

// Windows' device-change events and notification types.
constexpr std::uintptr_t kDeviceArrival = 0x8000;
constexpr std::uintptr_t kDeviceQueryRemove = 0x8001;
constexpr std::uintptr_t kDeviceRemovePending = 0x8003;
constexpr std::uintptr_t kDeviceRemoveComplete = 0x8004;
constexpr std::uint32_t kDeviceTypeInterface = 5;
constexpr std::uint32_t kDeviceTypeHandle = 6;

// Power events of the old Windows 9x family, the only one whose handles do not survive suspend.
constexpr std::uintptr_t kPowerSuspend = 4;
constexpr std::uintptr_t kPowerStandby = 5;
constexpr std::uintptr_t kPowerResumeSuspend = 7;
constexpr std::uintptr_t kPowerResumeStandby = 8;

// Session events.
constexpr std::uintptr_t kConsoleConnect = 1;
constexpr std::uintptr_t kSessionLogon = 5;
constexpr std::uintptr_t kSessionLogoff = 6;
constexpr std::uintptr_t kSessionLock = 7;
constexpr std::uintptr_t kSessionUnlock = 8;

}  // namespace

// ---- THidDevice ----

THidDevice::THidDevice(std::unique_ptr<IHidDeviceIo> io) : io_(std::move(io)) {}

THidDevice::~THidDevice() {
  StopReadThread();
  io_->FreePreparsedData();
  CloseAllowed = true;
  Close();
  if (notification_registered_) io_->UnregisterHandleNotification();
}

bool THidDevice::Open() {
  if (IsOpen) return true;
  // A device that refuses writing can still be asked what it is.
  IsOpen = io_->Open(DevicePath, true) || io_->Open(DevicePath, false);
  return IsOpen;
}

void THidDevice::OpenDevicePath(const std::string& path) {
  DevicePath = path;
  if (!Open()) return;
  Caps = io_->Query();
  VendorID = Caps.VendorID;
  ProductID = Caps.ProductID;
}

THidLinkCollectionNode THidDevice::GetLinkCollectionNode(int index) const {
  if (index < 1 || static_cast<std::size_t>(index) > Caps.LinkCollectionNodes.size()) return {};
  return Caps.LinkCollectionNodes[static_cast<std::size_t>(index) - 1];
}

void THidDevice::RegisterHandleNotification() {
  if (!Open()) return;
  if (io_->RegisterHandleNotification()) {
    notification_registered_ = true;
    // Windows must be able to match the removal to this handle: it stays open until then.
    CloseAllowed = false;
  } else {
    Close();
  }
}

void THidDevice::Close() {
  if (!CloseAllowed || !IsOpen) return;
  io_->Close();
  IsOpen = false;
  StopReadThread();
}

void THidDevice::AttachReadThread(std::unique_ptr<IHandsetReadThread> thread) {
  StopReadThread();
  read_thread_ = std::move(thread);
}

void THidDevice::StopReadThread() { read_thread_.reset(); }

// ---- THidControl ----

THidControl::THidControl(IHidPlatform& platform) : platform_(platform) {}

void THidControl::Start() {
  if (!platform_.ProbeDeviceLibraries()) return;
  services_available_ = true;
  console_session_id_ = platform_.StartNotifications(*this);
  Enumerate();
}

THidControl::~THidControl() {
  if (!services_available_) return;
  ClearDevices();
  platform_.StopNotifications();
}

int THidControl::DeviceCount() const { return services_available_ ? static_cast<int>(devices_.size()) : 0; }

int THidControl::AddDevice(std::unique_ptr<THidDevice> device) {
  const THidLinkCollectionNode top = device->GetLinkCollectionNode(1);
  const bool acceptable = top.LinkUsage == kConsumerControlUsage && top.LinkUsagePage == kConsumerUsagePage &&
                          IsSupported(*device);
  if (!acceptable) return -1;  // released here, which closes what it opened
  device->RegisterHandleNotification();
  devices_.push_back(std::move(device));
  return static_cast<int>(devices_.size()) - 1;
}

void THidControl::Enumerate() {
  for (const std::string& path : platform_.EnumerateHidInterfaces()) {
    auto device = std::make_unique<THidDevice>(platform_.NewDeviceIo());
    device->OpenDevicePath(path);
    AddDevice(std::move(device));
  }
}

void THidControl::ClearDevices() {
  // Released in list order; each one stops its read thread first.
  for (auto& device : devices_) device.reset();
  devices_.clear();
}

void THidControl::Rescan() {
  ClearDevices();
  Enumerate();
  DeviceChanged();
}

void THidControl::DeviceChanged() {
  if (on_device_change_) on_device_change_();
}

void THidControl::WMPowerBroadcast(bool windows_nt_family, std::uintptr_t event) {
  if (windows_nt_family) {
    // Handles survive standby here; the owner only looks again.
    DeviceChanged();
    return;
  }
  if (event == kPowerSuspend || event == kPowerStandby) {
    ClearDevices();
  } else if (event == kPowerResumeSuspend || event == kPowerResumeStandby) {
    Rescan();
  }
}

void THidControl::WMDeviceChange(std::uintptr_t event, std::uint32_t device_type, std::uintptr_t handle,
                                 const std::string& interface_path) {
  if (event == kDeviceArrival && device_type == kDeviceTypeInterface) {
    auto device = std::make_unique<THidDevice>(platform_.NewDeviceIo());
    device->OpenDevicePath(interface_path);
    if (AddDevice(std::move(device)) >= 0) DeviceChanged();
  } else if (event == kDeviceQueryRemove && device_type == kDeviceTypeHandle) {
    // Let go of the handle so Windows may remove the device; it stays listed until it goes.
    for (auto& device : devices_) {
      if (device->Handle() == handle) {
        device->CloseAllowed = true;
        device->Close();
      }
    }
  } else if ((event == kDeviceRemovePending || event == kDeviceRemoveComplete) &&
             device_type == kDeviceTypeHandle) {
    // The device is released later, from the message loop, not inside Windows' own call.
    platform_.PostDeviceRemoved(handle);
  }
}

void THidControl::WMSessionChange(std::uintptr_t event, std::uint32_t session_id) {
  if ((event == kConsoleConnect && console_session_id_ == session_id) || event == kSessionLogon ||
      event == kSessionUnlock) {
    Rescan();
  } else if (event == kSessionLogoff || event == kSessionLock) {
    ClearDevices();
    DeviceChanged();
  }
}

void THidControl::WMHidDeviceRemoved(std::uintptr_t handle) {
  const auto found = std::find_if(devices_.begin(), devices_.end(),
                                  [handle](const auto& device) { return device->Handle() == handle; });
  if (found == devices_.end()) return;
  (*found)->Shutdown();
  devices_.erase(found);
  DeviceChanged();
}

// ---- TUSBPhoneDevice ----

TUSBPhoneDevice::TUSBPhoneDevice(IHidPlatform& platform) : THidControl(platform) { Start(); }

TUSBPhoneDevice::~TUSBPhoneDevice() = default;

bool TUSBPhoneDevice::IsSupported(const THidDevice& device) const {
  const bool known_vendor = device.VendorID == 0x0A5E || device.VendorID == 0x0B7C;
  return known_vendor && (device.ProductID & 0xFF00) == 0x9000;
}

void TUSBPhoneDevice::SendMode(THandsetMode mode, std::uint8_t ring_tone) {
  const TModeReport report = BuildModeReport(mode, ring_tone);
  for (int i = 0; i < DeviceCount(); ++i) {
    THidDevice& device = Items(i);
    // A device closed for removal keeps its old handle value, which must not be written to.
    if (!device.IsOpen) continue;
    // Never read past the report for a device that announces a longer one.
    std::vector<std::uint8_t> buffer(std::max<std::size_t>(report.size(), device.Caps.OutputReportByteLength), 0);
    std::copy(report.begin(), report.end(), buffer.begin());
    device.Write(buffer.data(), device.Caps.OutputReportByteLength);
  }
}

void TUSBPhoneDevice::StartReadThreads(const THandsetCallbacks& callbacks) {
  for (int i = 0; i < DeviceCount(); ++i) {
    THidDevice& device = Items(i);
    if (device.HasReadThread()) continue;
    device.AttachReadThread(
        platform_.StartReadThread(device.DevicePath, device.Caps.InputReportByteLength, callbacks));
  }
}
