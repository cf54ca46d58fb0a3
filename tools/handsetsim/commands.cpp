#include "tools/handsetsim/commands.h"

#include "tools/simkit/text_fields.h"
#include "tools/simkit/numbers.h"

namespace handsetsim {

using simkit::Fields;
using simkit::splitFields;
namespace {

std::optional<std::int64_t> inRange(std::string_view word, std::int64_t low, std::int64_t high) {
    const auto value = simkit::parseInteger(word);
    if (!value || *value < low || *value > high) return std::nullopt;
    return value;
}

// An option that may be absent (then `fallback`), but not malformed.
std::optional<std::int64_t> optionOr(const Fields& fields, std::string_view name, std::int64_t fallback,
                                     std::int64_t low, std::int64_t high) {
    const auto text = fields.option(name);
    if (!text) return fallback;
    return inRange(*text, low, high);
}

Command invalid() { return Command{}; }

Command parseDevice(const Fields& f) {
    if (f.positional.size() != 4 || !f.onlyOptions({"usagepage", "usage", "in", "out", "version"})) return invalid();
    const DeviceConfig defaults;
    const auto number = inRange(f.positional[1], 1, kMaxDevices);
    const auto vid = inRange(f.positional[2], 0, 0xFFFF);
    const auto pid = inRange(f.positional[3], 0, 0xFFFF);
    const auto page = optionOr(f, "usagepage", defaults.usagePage, 0, 0xFFFF);
    const auto usage = optionOr(f, "usage", defaults.usage, 0, 0xFFFF);
    const auto in = optionOr(f, "in", defaults.inputLength, kMinInputLength, kMaxReportLength);
    const auto out = optionOr(f, "out", defaults.outputLength, 1, kMaxReportLength);
    const auto version = optionOr(f, "version", defaults.version, 0, 0xFFFF);
    if (!number || !vid || !pid || !page || !usage || !in || !out || !version) return invalid();
    Command command;
    command.kind = CommandKind::Device;
    command.device = static_cast<int>(*number);
    DeviceConfig& c = command.config;
    c.number = command.device;
    c.vendorId = static_cast<std::uint16_t>(*vid);
    c.productId = static_cast<std::uint16_t>(*pid);
    c.usagePage = static_cast<std::uint16_t>(*page);
    c.usage = static_cast<std::uint16_t>(*usage);
    c.inputLength = static_cast<std::uint16_t>(*in);
    c.outputLength = static_cast<std::uint16_t>(*out);
    c.version = static_cast<std::uint16_t>(*version);
    return command;
}

// press, release and hold: the device is dev=N, device 1 when not given.
std::optional<int> targetDevice(const Fields& f) {
    const auto device = optionOr(f, "dev", 1, 1, kMaxDevices);
    if (!device) return std::nullopt;
    return static_cast<int>(*device);
}

Command parseKeyCommand(CommandKind kind, const Fields& f) {
    const std::size_t words = kind == CommandKind::Release ? 1 : kind == CommandKind::Press ? 2 : 3;
    const bool hold = kind == CommandKind::Hold;
    if (f.positional.size() != words || !(hold ? f.onlyOptions({"dev", "every"}) : f.onlyOptions({"dev"}))) {
        return invalid();
    }
    Command command;
    const auto device = targetDevice(f);
    const auto key = kind == CommandKind::Release ? std::optional<std::int64_t>(0) : inRange(f.positional[1], 0, 0xFF);
    const auto ms = hold ? inRange(f.positional[2], 0, kMaxMilliseconds) : std::optional<std::int64_t>(0);
    const auto every = optionOr(f, "every", kDefaultHoldEveryMs, 1, kMaxMilliseconds);
    if (!device || !key || !ms || !every) return invalid();
    command.kind = kind;
    command.device = *device;
    command.key = static_cast<std::uint8_t>(*key);
    command.milliseconds = static_cast<std::uint32_t>(*ms);
    command.every = hold ? static_cast<std::uint32_t>(*every) : 0;
    return command;
}

Command parseWaitOutput(const Fields& f) {
    if (f.positional.size() < 2 || !f.onlyOptions({"timeout", "dev"})) return invalid();
    const auto device = targetDevice(f);
    const auto timeout = optionOr(f, "timeout", kDefaultWaitMs, 0, kMaxMilliseconds);
    const auto prefix = parseHexBytes({f.positional.begin() + 1, f.positional.end()});
    if (!device || !timeout || !prefix) return invalid();
    Command command;
    command.kind = CommandKind::WaitOutput;
    command.device = *device;
    command.milliseconds = static_cast<std::uint32_t>(*timeout);
    command.prefix = *prefix;
    return command;
}

// unplug N, plug N
Command parseDeviceNumber(CommandKind kind, const Fields& f) {
    if (f.positional.size() != 2 || !f.options.empty()) return invalid();
    const auto device = inRange(f.positional[1], 1, kMaxDevices);
    if (!device) return invalid();
    Command command;
    command.kind = kind;
    command.device = static_cast<int>(*device);
    return command;
}

}  // namespace

Command parseCommand(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') {
        Command nothing;
        nothing.kind = CommandKind::Nothing;
        return nothing;
    }
    const Fields f = splitFields(line);
    if (f.positional.empty()) return invalid();
    const std::string_view keyword = f.positional[0];
    if (keyword == "device") return parseDevice(f);
    if (keyword == "press") return parseKeyCommand(CommandKind::Press, f);
    if (keyword == "release") return parseKeyCommand(CommandKind::Release, f);
    if (keyword == "hold") return parseKeyCommand(CommandKind::Hold, f);
    if (keyword == "wait-output") return parseWaitOutput(f);
    if (keyword == "unplug") return parseDeviceNumber(CommandKind::Unplug, f);
    if (keyword == "plug") return parseDeviceNumber(CommandKind::Plug, f);
    if (keyword == "report") {
        // report N KEY: press KEY on device N
        if (f.positional.size() != 3 || !f.options.empty()) return invalid();
        const auto device = inRange(f.positional[1], 1, kMaxDevices);
        const auto key = inRange(f.positional[2], 0, 0xFF);
        if (!device || !key) return invalid();
        Command command;
        command.kind = CommandKind::Press;
        command.device = static_cast<int>(*device);
        command.key = static_cast<std::uint8_t>(*key);
        return command;
    }
    if (keyword == "sleep") {
        if (f.positional.size() != 2 || !f.options.empty()) return invalid();
        const auto ms = inRange(f.positional[1], 0, kMaxMilliseconds);
        if (!ms) return invalid();
        Command command;
        command.kind = CommandKind::Sleep;
        command.milliseconds = static_cast<std::uint32_t>(*ms);
        return command;
    }
    if (keyword == "quit" && f.positional.size() == 1 && f.options.empty()) {
        Command command;
        command.kind = CommandKind::Quit;
        return command;
    }
    return invalid();
}

}  // namespace handsetsim
