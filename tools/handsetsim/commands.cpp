#include "tools/handsetsim/commands.h"

#include "tools/simkit/numbers.h"
#include "tools/simkit/text_fields.h"

namespace handsetsim {

using simkit::TFields;
using simkit::SplitFields;
namespace {

std::optional<std::int64_t> InRange(std::string_view word, std::int64_t low, std::int64_t high) {
  const auto value = simkit::ParseInteger(word);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

// An option that may be absent (then `fallback`), but not malformed.
std::optional<std::int64_t> OptionOr(const TFields& fields, std::string_view name, std::int64_t fallback,
                                     std::int64_t low, std::int64_t high) {
  const auto text = fields.Option(name);
  if (!text) return fallback;
  return InRange(*text, low, high);
}

TCommand Invalid() { return TCommand{}; }

TCommand ParseDevice(const TFields& f) {
  if (f.positional.size() != 4 || !f.OnlyOptions({"usagepage", "usage", "in", "out", "version"})) return Invalid();
  const TDeviceConfig defaults;
  const auto number = InRange(f.positional[1], 1, kMaxDevices);
  const auto vid = InRange(f.positional[2], 0, 0xFFFF);
  const auto pid = InRange(f.positional[3], 0, 0xFFFF);
  const auto page = OptionOr(f, "usagepage", defaults.usage_page, 0, 0xFFFF);
  const auto usage = OptionOr(f, "usage", defaults.usage, 0, 0xFFFF);
  const auto in = OptionOr(f, "in", defaults.input_length, kMinInputLength, kMaxReportLength);
  const auto out = OptionOr(f, "out", defaults.output_length, 1, kMaxReportLength);
  const auto version = OptionOr(f, "version", defaults.version, 0, 0xFFFF);
  if (!number || !vid || !pid || !page || !usage || !in || !out || !version) return Invalid();
  TCommand command;
  command.kind = TCommandKind::Device;
  command.device = static_cast<int>(*number);
  TDeviceConfig& c = command.config;
  c.number = command.device;
  c.vendor_id = static_cast<std::uint16_t>(*vid);
  c.product_id = static_cast<std::uint16_t>(*pid);
  c.usage_page = static_cast<std::uint16_t>(*page);
  c.usage = static_cast<std::uint16_t>(*usage);
  c.input_length = static_cast<std::uint16_t>(*in);
  c.output_length = static_cast<std::uint16_t>(*out);
  c.version = static_cast<std::uint16_t>(*version);
  return command;
}

// press, release and hold: the device is dev=N, device 1 when not given.
std::optional<int> TargetDevice(const TFields& f) {
  const auto device = OptionOr(f, "dev", 1, 1, kMaxDevices);
  if (!device) return std::nullopt;
  return static_cast<int>(*device);
}

TCommand ParseKeyCommand(TCommandKind kind, const TFields& f) {
  const std::size_t words = kind == TCommandKind::Release ? 1 : kind == TCommandKind::Press ? 2 : 3;
  const bool hold = kind == TCommandKind::Hold;
  if (f.positional.size() != words || !(hold ? f.OnlyOptions({"dev", "every"}) : f.OnlyOptions({"dev"}))) {
    return Invalid();
  }
  TCommand command;
  const auto device = TargetDevice(f);
  const auto key = kind == TCommandKind::Release ? std::optional<std::int64_t>(0) : InRange(f.positional[1], 0, 0xFF);
  const auto ms = hold ? InRange(f.positional[2], 0, kMaxMilliseconds) : std::optional<std::int64_t>(0);
  const auto every = OptionOr(f, "every", kDefaultHoldEveryMs, 1, kMaxMilliseconds);
  if (!device || !key || !ms || !every) return Invalid();
  command.kind = kind;
  command.device = *device;
  command.key = static_cast<std::uint8_t>(*key);
  command.milliseconds = static_cast<std::uint32_t>(*ms);
  command.every = hold ? static_cast<std::uint32_t>(*every) : 0;
  return command;
}

TCommand ParseWaitOutput(const TFields& f) {
  if (f.positional.size() < 2 || !f.OnlyOptions({"timeout", "dev"})) return Invalid();
  const auto device = TargetDevice(f);
  const auto timeout = OptionOr(f, "timeout", kDefaultWaitMs, 0, kMaxMilliseconds);
  const auto prefix = ParseHexBytes({f.positional.begin() + 1, f.positional.end()});
  if (!device || !timeout || !prefix) return Invalid();
  TCommand command;
  command.kind = TCommandKind::WaitOutput;
  command.device = *device;
  command.milliseconds = static_cast<std::uint32_t>(*timeout);
  command.prefix = *prefix;
  return command;
}

// unplug N, plug N
TCommand ParseDeviceNumber(TCommandKind kind, const TFields& f) {
  if (f.positional.size() != 2 || !f.options.empty()) return Invalid();
  const auto device = InRange(f.positional[1], 1, kMaxDevices);
  if (!device) return Invalid();
  TCommand command;
  command.kind = kind;
  command.device = static_cast<int>(*device);
  return command;
}

}  // namespace

TCommand ParseCommand(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line[first] == '#') {
    TCommand nothing;
    nothing.kind = TCommandKind::Nothing;
    return nothing;
  }
  const TFields f = SplitFields(line);
  if (f.positional.empty()) return Invalid();
  const std::string_view keyword = f.positional[0];
  if (keyword == "device") return ParseDevice(f);
  if (keyword == "press") return ParseKeyCommand(TCommandKind::Press, f);
  if (keyword == "release") return ParseKeyCommand(TCommandKind::Release, f);
  if (keyword == "hold") return ParseKeyCommand(TCommandKind::Hold, f);
  if (keyword == "wait-output") return ParseWaitOutput(f);
  if (keyword == "unplug") return ParseDeviceNumber(TCommandKind::Unplug, f);
  if (keyword == "plug") return ParseDeviceNumber(TCommandKind::Plug, f);
  if (keyword == "report") {
    // report N KEY: press KEY on device N
    if (f.positional.size() != 3 || !f.options.empty()) return Invalid();
    const auto device = InRange(f.positional[1], 1, kMaxDevices);
    const auto key = InRange(f.positional[2], 0, 0xFF);
    if (!device || !key) return Invalid();
    TCommand command;
    command.kind = TCommandKind::Press;
    command.device = static_cast<int>(*device);
    command.key = static_cast<std::uint8_t>(*key);
    return command;
  }
  if (keyword == "sleep") {
    if (f.positional.size() != 2 || !f.options.empty()) return Invalid();
    const auto ms = InRange(f.positional[1], 0, kMaxMilliseconds);
    if (!ms) return Invalid();
    TCommand command;
    command.kind = TCommandKind::Sleep;
    command.milliseconds = static_cast<std::uint32_t>(*ms);
    return command;
  }
  if (keyword == "quit" && f.positional.size() == 1 && f.options.empty()) {
    TCommand command;
    command.kind = TCommandKind::Quit;
    return command;
  }
  return Invalid();
}

}  // namespace handsetsim
