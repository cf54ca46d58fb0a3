#include "tools/skypesim/scenario.h"

#include "tools/simkit/numbers.h"

#include <limits>
#include <utility>

namespace skypesim {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimLeft(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view trim(std::string_view text) {
    text = trimLeft(text);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The rest starts after exactly one blank, so texts keep any further blanks of their own.
std::pair<std::string_view, std::string_view> splitWord(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && !isBlank(text[end])) ++end;
    const std::string_view rest = end < text.size() ? text.substr(end + 1) : std::string_view{};
    return {text.substr(0, end), rest};
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> result;
    for (text = trimLeft(text); !text.empty(); text = trimLeft(text)) {
        const auto [word, rest] = splitWord(text);
        result.push_back(word);
        text = rest;
    }
    return result;
}

template <typename T>
bool readNumber(std::string_view word, std::int64_t min, std::int64_t max, T& out) {
    const std::optional<std::int64_t> value = simkit::parseInteger(word);
    if (!value || *value < min || *value > max) return false;
    out = static_cast<T>(*value);
    return true;
}

bool readStatus(std::string_view word, std::uint32_t& status) {
    return readNumber(word, 0, 0xFFFFFFFF, status);
}

bool readMilliseconds(std::string_view word, std::uint32_t& milliseconds) {
    return readNumber(word, 0, kMaxMilliseconds, milliseconds);
}

bool readSize(std::string_view word, std::size_t& size) {
    return readNumber(word, 0, static_cast<std::int64_t>(kMaxCopyDataSize), size);
}

bool parseNoArguments(std::string_view args, Command&) {
    return words(args).empty();
}

bool parseAttach(std::string_view args, Command& command) {
    const auto list = words(args);
    for (std::string_view word : list) {
        std::uint32_t status = 0;
        if (!readStatus(word, status)) return false;
        command.statuses.push_back(status);
    }
    return !list.empty();
}

bool parseAttachAll(std::string_view args, Command& command) {
    const auto list = words(args);
    if (list.size() != 1) return false;
    if (list[0] == "off") return true;
    std::uint32_t status = 0;
    if (!readStatus(list[0], status)) return false;
    command.status = status;
    return true;
}

bool parseAnnounce(std::string_view args, Command& command) {
    const auto list = words(args);
    std::uint32_t status = 0;
    if (list.size() != 1 || !readStatus(list[0], status)) return false;
    command.status = status;
    return true;
}

bool parseRefuse(std::string_view args, Command& command) {
    const auto list = words(args);
    if (list.size() != 1) return false;
    if (list[0] == "all") {
        command.all = true;
        return true;
    }
    return readNumber(list[0], 0, 0xFFFFFFFF, command.count);
}

bool parseAnswer(std::string_view args, Command& command) {
    const std::size_t arrow = args.find("=>");
    if (arrow == std::string_view::npos) return false;
    command.pattern = std::string(trim(args.substr(0, arrow)));
    std::string_view reply = args.substr(arrow + 2);
    if (!reply.empty() && isBlank(reply.front())) reply.remove_prefix(1);
    command.text = std::string(reply);
    return !command.pattern.empty();
}

bool parseNotify(std::string_view args, Command& command) {
    command.text = std::string(args);
    return true;
}

bool parseCopyData(std::string_view args, Command& command) {
    const auto [size, text] = splitWord(trimLeft(args));
    command.text = std::string(text);
    return readSize(size, command.size);
}

bool parseCopyDataBig(std::string_view args, Command& command) {
    const auto list = words(args);
    return list.size() == 1 && readSize(list[0], command.size);
}

bool parseMessage(std::string_view args, Command& command) {
    const auto list = words(args);
    const std::int64_t min = std::numeric_limits<std::int64_t>::min();
    const std::int64_t max = std::numeric_limits<std::int64_t>::max();
    return list.size() == 3 && readNumber(list[0], 0, 0xFFFFFFFF, command.message) &&
           readNumber(list[1], min, max, command.wParam) && readNumber(list[2], min, max, command.lParam);
}

bool parseMilliseconds(std::string_view args, Command& command) {
    const auto list = words(args);
    return list.size() == 1 && readMilliseconds(list[0], command.milliseconds);
}

// The pattern may hold blanks; a last word that is a number is the timeout, provided some
// pattern is left before it.
bool parseWaitCommand(std::string_view args, Command& command) {
    // The time-out comes first and is marked, since a command may end in a number itself.
    constexpr std::string_view kTimeout = "timeout=";
    std::string_view pattern = trim(args);
    command.milliseconds = kDefaultWaitMs;
    if (pattern.substr(0, kTimeout.size()) == kTimeout) {
        const auto [timeout, rest] = splitWord(pattern.substr(kTimeout.size()));
        if (!readMilliseconds(timeout, command.milliseconds)) return false;
        pattern = trim(rest);
    }
    command.pattern = std::string(pattern);
    return !pattern.empty();
}

bool parseWaitDiscover(std::string_view args, Command& command) {
    const auto list = words(args);
    command.milliseconds = kDefaultWaitMs;
    if (list.empty()) return true;
    return list.size() == 1 && readMilliseconds(list[0], command.milliseconds);
}

struct Keyword {
    std::string_view name;
    CommandKind kind;
    bool (*parse)(std::string_view args, Command& command);
};

constexpr Keyword kKeywords[] = {
    {"attach", CommandKind::Attach, parseAttach},
    {"attach-all", CommandKind::AttachAll, parseAttachAll},
    {"announce", CommandKind::Announce, parseAnnounce},
    {"accept", CommandKind::Accept, parseNoArguments},
    {"refuse", CommandKind::Refuse, parseRefuse},
    {"answer", CommandKind::Answer, parseAnswer},
    {"notify", CommandKind::Notify, parseNotify},
    {"copydata", CommandKind::CopyData, parseCopyData},
    {"copydata-big", CommandKind::CopyDataBig, parseCopyDataBig},
    {"post", CommandKind::Post, parseMessage},
    {"send", CommandKind::Send, parseMessage},
    {"sleep", CommandKind::Sleep, parseMilliseconds},
    {"wait-cmd", CommandKind::WaitCommand, parseWaitCommand},
    {"wait-discover", CommandKind::WaitDiscover, parseWaitDiscover},
    {"freeze", CommandKind::Freeze, parseMilliseconds},
    {"reopen", CommandKind::Reopen, parseNoArguments},
    {"quit", CommandKind::Quit, parseNoArguments},
};

}  // namespace

ParsedLine parseLine(std::string_view line) {
    const std::string_view body = trimLeft(line);
    if (body.empty() || body.front() == '#') return {};
    const auto [keyword, args] = splitWord(body);
    for (const Keyword& entry : kKeywords) {
        if (keyword != entry.name) continue;
        ParsedLine parsed;
        parsed.command.kind = entry.kind;
        if (!entry.parse(args, parsed.command)) break;
        parsed.kind = LineKind::Command;
        return parsed;
    }
    ParsedLine invalid;
    invalid.kind = LineKind::Invalid;
    return invalid;
}

}  // namespace skypesim
