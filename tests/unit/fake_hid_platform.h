#pragma once
// A machine with HID interfaces for the device manager: every call that would reach Windows
// becomes one line in a journal, so a test reads as the sequence of what the layer did.
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "handset/hid_control.h"
#include "handset/hid_platform.h"

struct HidJournal {
  std::vector<std::string> lines;
  void Add(std::string line) { lines.push_back(std::move(line)); }
  // The lines so far, forgotten afterwards.
  std::vector<std::string> Take() {
    std::vector<std::string> taken;
    taken.swap(lines);
    return taken;
  }
  // The lines that start with `prefix`, in order.
  std::vector<std::string> With(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& line : lines) {
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    }
    return out;
  }
};

// One HID interface as Windows would present it at its path.
struct FakeHidInterface {
  std::uintptr_t handle = 0;
  bool opens_read_write = true;
  bool opens_query_only = true;
  bool registers = true;
  THidDeviceQuery query;
};

// A consumer-control interface with the given ids.
inline FakeHidInterface ConsumerControl(std::uintptr_t handle, std::uint16_t vendor, std::uint16_t product,
                                        std::uint16_t output_length = 21) {
  FakeHidInterface device;
  device.handle = handle;
  device.query.VendorID = vendor;
  device.query.ProductID = product;
  device.query.InputReportByteLength = 5;
  device.query.OutputReportByteLength = output_length;
  device.query.LinkCollectionNodes = {{0x01, 0x0C}};
  return device;
}

class FakeHidPlatform final : public IHidPlatform {
 public:
  explicit FakeHidPlatform(HidJournal& journal) : journal_(journal) {}

  bool libraries_present = true;
  // What session registration gives; none where Windows has no session services.
  std::optional<std::uint32_t> console_session = 1u;
  // Interfaces by path; `present` lists those that enumeration finds, in its order.
  std::map<std::string, FakeHidInterface> interfaces;
  std::vector<std::string> present;
  // What each started read thread was given.
  std::vector<THandsetCallbacks> thread_callbacks;

  // Makes an interface present, as plugging it in would.
  void Plug(const std::string& path, const FakeHidInterface& device) {
    interfaces[path] = device;
    present.push_back(path);
  }

  bool ProbeDeviceLibraries() override {
    journal_.Add("probe");
    return libraries_present;
  }
  std::optional<std::uint32_t> StartNotifications(THidControl&) override {
    journal_.Add("start notifications");
    return console_session;
  }
  void StopNotifications() override { journal_.Add("stop notifications"); }
  std::vector<std::string> EnumerateHidInterfaces() override {
    journal_.Add("enumerate");
    return present;
  }
  std::unique_ptr<IHidDeviceIo> NewDeviceIo() override { return std::make_unique<Io>(*this); }
  void PostDeviceRemoved(std::uintptr_t handle) override { journal_.Add("post removed " + std::to_string(handle)); }
  std::unique_ptr<IHandsetReadThread> StartReadThread(const std::string& path, std::uint16_t input_report_length,
                                                      const THandsetCallbacks& callbacks) override {
    journal_.Add(path + ": thread start " + std::to_string(input_report_length));
    thread_callbacks.push_back(callbacks);
    return std::make_unique<Thread>(journal_, path);
  }

 private:
  class Thread final : public IHandsetReadThread {
   public:
    Thread(HidJournal& journal, std::string path) : journal_(journal), path_(std::move(path)) {}
    ~Thread() override { journal_.Add(path_ + ": thread stop"); }

   private:
    HidJournal& journal_;
    std::string path_;
  };

  class Io final : public IHidDeviceIo {
   public:
    explicit Io(FakeHidPlatform& platform) : platform_(platform) {}

    bool Open(const std::string& path, bool read_write) override {
      path_ = path;
      Add(std::string("open ") + (read_write ? "rw" : "query"));
      const FakeHidInterface* device = Device();
      if (device == nullptr) return false;
      return read_write ? device->opens_read_write : device->opens_query_only;
    }
    void Close() override { Add("close"); }
    std::uintptr_t Handle() const override {
      const FakeHidInterface* device = Device();
      return device != nullptr ? device->handle : 0;
    }
    THidDeviceQuery Query() override {
      Add("query");
      const FakeHidInterface* device = Device();
      return device != nullptr ? device->query : THidDeviceQuery{};
    }
    void FreePreparsedData() override { Add("free"); }
    bool RegisterHandleNotification() override {
      Add("register");
      const FakeHidInterface* device = Device();
      return device != nullptr && device->registers;
    }
    void UnregisterHandleNotification() override { Add("unregister"); }
    bool Write(const std::uint8_t* data, std::size_t length) override {
      std::string bytes;
      char hex[4];
      for (std::size_t i = 0; i < length; ++i) {
        std::snprintf(hex, sizeof hex, "%02x", data[i]);
        bytes += hex;
      }
      Add("write " + bytes);
      return true;
    }

   private:
    void Add(const std::string& what) { platform_.journal_.Add(path_ + ": " + what); }
    const FakeHidInterface* Device() const {
      auto found = platform_.interfaces.find(path_);
      return found != platform_.interfaces.end() ? &found->second : nullptr;
    }

    FakeHidPlatform& platform_;
    std::string path_;
  };

  HidJournal& journal_;
};
