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
Bytes QueryMessage(std::uint64_t token);
std::optional<std::uint64_t> ParseQueryMessage(const Bytes& message);

// Tokens stay below 2^63 so that they read back as plain integers.
std::uint64_t MakeToken(std::uint32_t process, std::uint32_t serial);

enum class TDeviceChange { Arrival, Removal };
const char* ChangeName(TDeviceChange change);

enum class TRequestKind { Invalid, List, Identify, Listen, Delivered };

struct TControlRequest {
  TRequestKind kind = TRequestKind::Invalid;
  std::uint32_t process = 0;  // list, identify, listen
  std::uint64_t token = 0;    // identify
  int device = 0;             // delivered
  TDeviceChange change = TDeviceChange::Arrival;
  unsigned messages = 0;
};

std::string ListRequest(std::uint32_t process);
std::string IdentifyRequest(std::uint32_t process, std::uint64_t token);
std::string ListenRequest(std::uint32_t process);
std::string DeliveredNotice(int device, TDeviceChange change, unsigned messages);
TControlRequest ParseRequest(std::string_view text);

std::string ListReply(const std::vector<TDeviceRecord>& devices);
std::optional<std::vector<TDeviceRecord>> ParseListReply(std::string_view text);

std::string IdentifyReply(const std::optional<TDeviceRecord>& device);
// nullopt both for "unknown" and for a reply that makes no sense.
std::optional<TDeviceRecord> ParseIdentifyReply(std::string_view text);

struct TDeviceEvent {
  TDeviceChange change = TDeviceChange::Arrival;
  TDeviceRecord device;
};
std::string DeviceEventText(const TDeviceEvent& event);
std::optional<TDeviceEvent> ParseDeviceEvent(std::string_view text);

}  // namespace handsetsim
