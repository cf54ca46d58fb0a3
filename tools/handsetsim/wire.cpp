#include "tools/handsetsim/wire.h"

#include <algorithm>

#include "tools/simkit/log_format.h"
#include "tools/simkit/numbers.h"
#include "tools/simkit/text_fields.h"

namespace handsetsim {

using simkit::TFields;
using simkit::SplitFields;
namespace {

constexpr std::uint8_t kQueryMagic[8] = {0xFF, 'h', 's', 'q', 'u', 'e', 'r', 'y'};

// The text after the first word, when the first word is `verb` followed by one blank.
std::optional<std::string_view> After(std::string_view text, std::string_view verb) {
  if (text.size() <= verb.size() || text.substr(0, verb.size()) != verb || text[verb.size()] != ' ') {
    return std::nullopt;
  }
  return text.substr(verb.size() + 1);
}

std::optional<std::int64_t> Number(const TFields& fields, std::string_view name, std::int64_t low, std::int64_t high) {
  const auto text = fields.Option(name);
  if (!text) return std::nullopt;
  const auto value = simkit::ParseInteger(*text);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

std::optional<TDeviceChange> ParseChange(std::string_view name) {
  if (name == "arrival") return TDeviceChange::Arrival;
  if (name == "removal") return TDeviceChange::Removal;
  return std::nullopt;
}

}  // namespace

Bytes QueryMessage(std::uint64_t token) {
  Bytes message(std::begin(kQueryMagic), std::end(kQueryMagic));
  for (int i = 0; i < 8; ++i) message.push_back(static_cast<std::uint8_t>(token >> (8 * i)));
  return message;
}

std::optional<std::uint64_t> ParseQueryMessage(const Bytes& message) {
  if (message.size() != kQueryMessageSize ||
      !std::equal(std::begin(kQueryMagic), std::end(kQueryMagic), message.begin())) {
    return std::nullopt;
  }
  std::uint64_t token = 0;
  for (int i = 7; i >= 0; --i) token = token << 8 | message[8 + i];
  return token;
}

std::uint64_t MakeToken(std::uint32_t process, std::uint32_t serial) {
  return static_cast<std::uint64_t>(process & 0x7FFFFFFF) << 32 | serial;
}

const char* ChangeName(TDeviceChange change) { return change == TDeviceChange::Arrival ? "arrival" : "removal"; }

std::string ListRequest(std::uint32_t process) { return "list process=" + std::to_string(process); }

std::string IdentifyRequest(std::uint32_t process, std::uint64_t token) {
  return "identify process=" + std::to_string(process) + " token=" + simkit::HexValue(token);
}

std::string ListenRequest(std::uint32_t process) { return "listen process=" + std::to_string(process); }

std::string DeliveredNotice(int device, TDeviceChange change, unsigned messages) {
  return "delivered dev=" + std::to_string(device) + " change=" + ChangeName(change) +
         " messages=" + std::to_string(messages);
}

TControlRequest ParseRequest(std::string_view text) {
  const TFields fields = SplitFields(text);
  TControlRequest request;
  if (fields.positional.size() != 1) return request;
  const std::string_view verb = fields.positional[0];
  if (verb == "delivered") {
    const auto device = Number(fields, "dev", 1, kMaxDevices);
    const auto messages = Number(fields, "messages", 0, 0xFFFF);
    const auto change = ParseChange(fields.Option("change").value_or(""));
    if (!fields.OnlyOptions({"dev", "change", "messages"}) || !device || !messages || !change) return request;
    request.kind = TRequestKind::Delivered;
    request.device = static_cast<int>(*device);
    request.change = *change;
    request.messages = static_cast<unsigned>(*messages);
    return request;
  }
  const auto process = Number(fields, "process", 0, 0xFFFFFFFF);
  if (!process) return request;
  request.process = static_cast<std::uint32_t>(*process);
  if (verb == "list" && fields.OnlyOptions({"process"})) {
    request.kind = TRequestKind::List;
  } else if (verb == "listen" && fields.OnlyOptions({"process"})) {
    request.kind = TRequestKind::Listen;
  } else if (verb == "identify" && fields.OnlyOptions({"process", "token"})) {
    const auto token = Number(fields, "token", 0, INT64_MAX);
    if (!token) return request;
    request.kind = TRequestKind::Identify;
    request.token = static_cast<std::uint64_t>(*token);
  }
  return request;
}

std::string ListReply(const std::vector<TDeviceRecord>& devices) {
  std::string text = "devices " + std::to_string(devices.size());
  for (const TDeviceRecord& device : devices) text += "\n" + RecordText(device);
  return text;
}

std::optional<std::vector<TDeviceRecord>> ParseListReply(std::string_view text) {
  const std::size_t first_end = text.find('\n');
  const TFields head = SplitFields(text.substr(0, first_end));
  if (head.positional.size() != 2 || head.positional[0] != "devices" || !head.options.empty()) return std::nullopt;
  const auto count = simkit::ParseInteger(head.positional[1]);
  if (!count || *count < 0 || *count > kMaxDevices) return std::nullopt;

  std::vector<TDeviceRecord> devices;
  std::size_t at = first_end;
  while (at != std::string_view::npos) {
    const std::size_t end = text.find('\n', at + 1);
    const auto record = ParseRecord(text.substr(at + 1, end == std::string_view::npos ? end : end - at - 1));
    if (!record) return std::nullopt;
    devices.push_back(*record);
    at = end;
  }
  if (devices.size() != static_cast<std::size_t>(*count)) return std::nullopt;
  return devices;
}

std::string IdentifyReply(const std::optional<TDeviceRecord>& device) {
  return device ? "device " + RecordText(*device) : "unknown";
}

std::optional<TDeviceRecord> ParseIdentifyReply(std::string_view text) {
  const auto record = After(text, "device");
  if (!record) return std::nullopt;
  return ParseRecord(*record);
}

std::string DeviceEventText(const TDeviceEvent& event) {
  return std::string(ChangeName(event.change)) + " " + RecordText(event.device);
}

std::optional<TDeviceEvent> ParseDeviceEvent(std::string_view text) {
  for (TDeviceChange change : {TDeviceChange::Arrival, TDeviceChange::Removal}) {
    const auto rest = After(text, ChangeName(change));
    if (!rest) continue;
    const auto record = ParseRecord(*rest);
    if (!record) return std::nullopt;
    return TDeviceEvent{change, *record};
  }
  return std::nullopt;
}

}  // namespace handsetsim
