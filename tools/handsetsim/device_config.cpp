#include "tools/handsetsim/device_config.h"

#include <cstdio>

#include "tools/simkit/numbers.h"
#include "tools/simkit/text_fields.h"

namespace handsetsim {

using simkit::TFields;
using simkit::SplitFields;
namespace {

std::string Hex16(std::uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04x", static_cast<unsigned>(value));
  return text;
}

bool ReadNumber(const TFields& fields, std::string_view name, std::int64_t low, std::int64_t high, std::int64_t& out) {
  const auto text = fields.Option(name);
  if (!text) return false;
  const auto value = simkit::ParseInteger(*text);
  if (!value || *value < low || *value > high) return false;
  out = *value;
  return true;
}

bool Read16(const TFields& fields, std::string_view name, std::uint16_t& out) {
  std::int64_t value = 0;
  if (!ReadNumber(fields, name, 0, 0xFFFF, value)) return false;
  out = static_cast<std::uint16_t>(value);
  return true;
}

}  // namespace

bool TDeviceConfig::operator==(const TDeviceConfig& o) const {
  return number == o.number && vendor_id == o.vendor_id && product_id == o.product_id && version == o.version &&
         usage_page == o.usage_page && usage == o.usage && input_length == o.input_length &&
         output_length == o.output_length;
}

bool TDeviceRecord::operator==(const TDeviceRecord& o) const { return config == o.config && path == o.path; }

bool ValidConfig(const TDeviceConfig& config) {
  return config.number >= 1 && config.number <= kMaxDevices && config.input_length >= kMinInputLength &&
         config.input_length <= kMaxReportLength && config.output_length >= 1 &&
         config.output_length <= kMaxReportLength;
}

Bytes InputReport(const TDeviceConfig& config, std::uint8_t key) {
  Bytes report(config.input_length, 0);
  if (report.size() > kKeyOffset) report[kKeyOffset] = key;
  return report;
}

bool ValidPipeBase(std::string_view base) {
  if (base.empty() || base.size() > 64) return false;
  for (char c : base) {
    const bool ok =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    if (!ok) return false;
  }
  return true;
}

std::string ControlPipePath(std::string_view base) { return "\\\\.\\pipe\\" + std::string(base); }

std::string DevicePipePath(std::string_view base, const TDeviceConfig& config) {
  char device[48];
  std::snprintf(device, sizeof device, ".hid#vid_%04x&pid_%04x#%d", static_cast<unsigned>(config.vendor_id),
                static_cast<unsigned>(config.product_id), config.number);
  return ControlPipePath(base) + device;
}

std::string RecordText(const TDeviceRecord& record) {
  const TDeviceConfig& c = record.config;
  return "dev=" + std::to_string(c.number) + " vid=" + Hex16(c.vendor_id) + " pid=" + Hex16(c.product_id) +
         " version=" + Hex16(c.version) + " usagepage=" + Hex16(c.usage_page) + " usage=" + Hex16(c.usage) +
         " in=" + std::to_string(c.input_length) + " out=" + std::to_string(c.output_length) + " path=" + record.path;
}

std::optional<TDeviceRecord> ParseRecord(std::string_view text) {
  const TFields fields = SplitFields(text);
  if (!fields.positional.empty() ||
      !fields.OnlyOptions({"dev", "vid", "pid", "version", "usagepage", "usage", "in", "out", "path"})) {
    return std::nullopt;
  }
  TDeviceRecord record;
  TDeviceConfig& c = record.config;
  std::int64_t number = 0;
  const auto path = fields.Option("path");
  if (!ReadNumber(fields, "dev", 1, kMaxDevices, number) || !Read16(fields, "vid", c.vendor_id) ||
      !Read16(fields, "pid", c.product_id) || !Read16(fields, "version", c.version) ||
      !Read16(fields, "usagepage", c.usage_page) || !Read16(fields, "usage", c.usage) ||
      !Read16(fields, "in", c.input_length) || !Read16(fields, "out", c.output_length) || !path || path->empty()) {
    return std::nullopt;
  }
  c.number = static_cast<int>(number);
  record.path = std::string(*path);
  if (!ValidConfig(c)) return std::nullopt;
  return record;
}

}  // namespace handsetsim
