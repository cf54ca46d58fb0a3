#pragma once
// The device layer's ways out to Windows: the HID and device-setup services, the manager's
// hidden notification window, device handles and read threads. Implemented with Win32 in
// the program and by fakes in the tests.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "handset/device_manager.h"

class THidControl;

struct THidLinkCollectionNode {
  std::uint16_t LinkUsage = 0;
  std::uint16_t LinkUsagePage = 0;
};

// What the HID services say of an open device.
struct THidDeviceQuery {
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::uint16_t InputReportByteLength = 0;
  std::uint16_t OutputReportByteLength = 0;
  std::vector<THidLinkCollectionNode> LinkCollectionNodes;
};

// One device's own synchronous handle and what hangs on it.
class IHidDeviceIo {
 public:
  virtual ~IHidDeviceIo() = default;
  // CreateFile on the path, read-write or for queries only.
  virtual bool Open(const std::string& path, bool read_write) = 0;
  // Closes the handle; its value stays, so a removal notice can still be matched to it.
  virtual void Close() = 0;
  virtual std::uintptr_t Handle() const = 0;
  // Preparsed data, attributes, capabilities and link collection nodes.
  virtual THidDeviceQuery Query() = 0;
  virtual void FreePreparsedData() = 0;
  virtual bool RegisterHandleNotification() = 0;
  virtual void UnregisterHandleNotification() = 0;
  virtual bool Write(const std::uint8_t* data, std::size_t length) = 0;
};

// A running read thread; destroying it stops it: no key reaches the owner afterwards, and the
// thread ends by itself without the owner waiting for it.
class IHandsetReadThread {
 public:
  virtual ~IHandsetReadThread() = default;
};

class IHidPlatform {
 public:
  virtual ~IHidPlatform() = default;
  // Whether "SetupApi.dll" and then "hid.dll" are there.
  virtual bool ProbeDeviceLibraries() = 0;
  // Creates the hidden window that routes notifications to `control`, registers it for HID
  // interface arrivals and, where Windows has them, session changes. Returns the console
  // session id when session changes were registered.
  virtual std::optional<std::uint32_t> StartNotifications(THidControl& control) = 0;
  virtual void StopNotifications() = 0;
  virtual std::vector<std::string> EnumerateHidInterfaces() = 0;
  virtual std::unique_ptr<IHidDeviceIo> NewDeviceIo() = 0;
  // Posts the deferred removal of the device with this handle to the manager's window.
  virtual void PostDeviceRemoved(std::uintptr_t handle) = 0;
  virtual std::unique_ptr<IHandsetReadThread> StartReadThread(const std::string& path,
                                                              std::uint16_t input_report_length,
                                                              const THandsetCallbacks& callbacks) = 0;
};
