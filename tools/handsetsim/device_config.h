#pragma once
// What a simulated handset is: its ids, its usage, its report lengths, and where it is served.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tools/handsetsim/bytes.h"

namespace handsetsim {

struct TDeviceConfig {
  int number = 0;  // 1, 2, ...: how scenarios and the log name the device
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  std::uint16_t version = 0x0100;
  std::uint16_t usage_page = 0x0C;  // consumer control
  std::uint16_t usage = 0x01;
  std::uint16_t input_length = 5;    // report id included
  std::uint16_t output_length = 21;  // report id included

  bool operator==(const TDeviceConfig& other) const;
};

constexpr int kMaxDevices = 32;  // each plugged device has a pipe waiting for a client
constexpr std::size_t kKeyOffset = 3;
constexpr std::uint16_t kMinInputLength = kKeyOffset + 1;
constexpr std::uint16_t kMaxReportLength = 1024;

bool ValidConfig(const TDeviceConfig& config);

// The input report of a key: report id 0, the key in byte 3, the rest zero.
Bytes InputReport(const TDeviceConfig& config, std::uint8_t key);

// Pipe names: the stand-in DLLs and the simulator agree on a base name (a letter, digit, '.',
// '_' or '-', at most 64 of them), by default "handsetsim".
constexpr std::string_view kDefaultPipeBase = "handsetsim";
bool ValidPipeBase(std::string_view base);
std::string ControlPipePath(std::string_view base);
// The path a device is enumerated under and opened by, shaped like a HID interface path.
std::string DevicePipePath(std::string_view base, const TDeviceConfig& config);

// A device as the simulator describes it to the DLLs.
struct TDeviceRecord {
  TDeviceConfig config;
  std::string path;

  bool operator==(const TDeviceRecord& other) const;
};

// "dev=1 vid=0x0c45 pid=0x1234 version=0x0100 usagepage=0x000c usage=0x0001 in=5 out=21 path=..."
std::string RecordText(const TDeviceRecord& record);
std::optional<TDeviceRecord> ParseRecord(std::string_view text);

}  // namespace handsetsim
