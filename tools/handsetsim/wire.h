#pragma once
// What the stand-in DLLs and the simulator say to each other.
//
// On a device pipe, the DLL writes a query message on the very handle the bridge opened: the
// simulator then knows that connection queries (so it never gets input reports) and which
// device the token names. The DLL learns the answer over the control pipe, with bounded
// waits, and never reads from the bridge's handle. Everything else the bridge writes on a
// device pipe is an output report.
//
// The control pipe carries one text message per request and per reply:
//   list process=P                  -> "devices K" and K device records, one a line
//   identify process=P token=T      -> "device <record>" or "unknown"
//   listen process=P                -> then device events: "arrival <record>", "removal <record>"
//   delivered dev=N change=C messages=K   (the listener's notice of WM_DEVICECHANGE sent)
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/handsetsim/bytes.h"
#include "tools/handsetsim/device_config.h"

namespace handsetsim {

// Output reports start with report id 0, so a message starting 0xff cannot be one.
constexpr std::size_t kQueryMessageSize = 16;
Bytes queryMessage(std::uint64_t token);
std::optional<std::uint64_t> parseQueryMessage(const Bytes& message);

// Tokens stay below 2^63 so that they read back as plain integers.
std::uint64_t makeToken(std::uint32_t process, std::uint32_t serial);

enum class DeviceChange { Arrival, Removal };
const char* changeName(DeviceChange change);

enum class RequestKind { Invalid, List, Identify, Listen, Delivered };

struct ControlRequest {
    RequestKind kind = RequestKind::Invalid;
    std::uint32_t process = 0;  // list, identify, listen
    std::uint64_t token = 0;    // identify
    int device = 0;             // delivered
    DeviceChange change = DeviceChange::Arrival;
    unsigned messages = 0;
};

std::string listRequest(std::uint32_t process);
std::string identifyRequest(std::uint32_t process, std::uint64_t token);
std::string listenRequest(std::uint32_t process);
std::string deliveredNotice(int device, DeviceChange change, unsigned messages);
ControlRequest parseRequest(std::string_view text);

std::string listReply(const std::vector<DeviceRecord>& devices);
std::optional<std::vector<DeviceRecord>> parseListReply(std::string_view text);

std::string identifyReply(const std::optional<DeviceRecord>& device);
// nullopt both for "unknown" and for a reply that makes no sense.
std::optional<DeviceRecord> parseIdentifyReply(std::string_view text);

struct DeviceEvent {
    DeviceChange change = DeviceChange::Arrival;
    DeviceRecord device;
};
std::string deviceEventText(const DeviceEvent& event);
std::optional<DeviceEvent> parseDeviceEvent(std::string_view text);

}  // namespace handsetsim
