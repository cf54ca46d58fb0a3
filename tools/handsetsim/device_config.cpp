#include "tools/handsetsim/device_config.h"

#include <cstdio>

#include "tools/simkit/text_fields.h"
#include "tools/simkit/numbers.h"

namespace handsetsim {

using simkit::Fields;
using simkit::splitFields;
namespace {

std::string hex16(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x", static_cast<unsigned>(value));
    return text;
}

bool readNumber(const Fields& fields, std::string_view name, std::int64_t low, std::int64_t high, std::int64_t& out) {
    const auto text = fields.option(name);
    if (!text) return false;
    const auto value = simkit::parseInteger(*text);
    if (!value || *value < low || *value > high) return false;
    out = *value;
    return true;
}

bool read16(const Fields& fields, std::string_view name, std::uint16_t& out) {
    std::int64_t value = 0;
    if (!readNumber(fields, name, 0, 0xFFFF, value)) return false;
    out = static_cast<std::uint16_t>(value);
    return true;
}

}  // namespace

bool DeviceConfig::operator==(const DeviceConfig& o) const {
    return number == o.number && vendorId == o.vendorId && productId == o.productId && version == o.version &&
           usagePage == o.usagePage && usage == o.usage && inputLength == o.inputLength &&
           outputLength == o.outputLength;
}

bool DeviceRecord::operator==(const DeviceRecord& o) const {
    return config == o.config && path == o.path;
}

bool validConfig(const DeviceConfig& config) {
    return config.number >= 1 && config.number <= kMaxDevices && config.inputLength >= kMinInputLength &&
           config.inputLength <= kMaxReportLength && config.outputLength >= 1 &&
           config.outputLength <= kMaxReportLength;
}

Bytes inputReport(const DeviceConfig& config, std::uint8_t key) {
    Bytes report(config.inputLength, 0);
    if (report.size() > kKeyOffset) report[kKeyOffset] = key;
    return report;
}

bool validPipeBase(std::string_view base) {
    if (base.empty() || base.size() > 64) return false;
    for (char c : base) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                        c == '_' || c == '-';
        if (!ok) return false;
    }
    return true;
}

std::string controlPipePath(std::string_view base) {
    return "\\\\.\\pipe\\" + std::string(base);
}

std::string devicePipePath(std::string_view base, const DeviceConfig& config) {
    char device[48];
    std::snprintf(device, sizeof device, ".hid#vid_%04x&pid_%04x#%d", static_cast<unsigned>(config.vendorId),
                  static_cast<unsigned>(config.productId), config.number);
    return controlPipePath(base) + device;
}

std::string recordText(const DeviceRecord& record) {
    const DeviceConfig& c = record.config;
    return "dev=" + std::to_string(c.number) + " vid=" + hex16(c.vendorId) + " pid=" + hex16(c.productId) +
           " version=" + hex16(c.version) + " usagepage=" + hex16(c.usagePage) + " usage=" + hex16(c.usage) +
           " in=" + std::to_string(c.inputLength) + " out=" + std::to_string(c.outputLength) +
           " path=" + record.path;
}

std::optional<DeviceRecord> parseRecord(std::string_view text) {
    const Fields fields = splitFields(text);
    if (!fields.positional.empty() ||
        !fields.onlyOptions({"dev", "vid", "pid", "version", "usagepage", "usage", "in", "out", "path"})) {
        return std::nullopt;
    }
    DeviceRecord record;
    DeviceConfig& c = record.config;
    std::int64_t number = 0;
    const auto path = fields.option("path");
    if (!readNumber(fields, "dev", 1, kMaxDevices, number) || !read16(fields, "vid", c.vendorId) ||
        !read16(fields, "pid", c.productId) || !read16(fields, "version", c.version) ||
        !read16(fields, "usagepage", c.usagePage) || !read16(fields, "usage", c.usage) ||
        !read16(fields, "in", c.inputLength) || !read16(fields, "out", c.outputLength) || !path || path->empty()) {
        return std::nullopt;
    }
    c.number = static_cast<int>(number);
    record.path = std::string(*path);
    if (!validConfig(c)) return std::nullopt;
    return record;
}

}  // namespace handsetsim
