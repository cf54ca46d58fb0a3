#include "tools/skypesim/scenario.h"

#include <limits>
#include <utility>

#include "tools/simkit/numbers.h"

namespace skypesim {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view Trim(std::string_view text) {
  text = TrimLeft(text);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The rest starts after exactly one blank, so texts keep any further blanks of their own.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  const std::string_view rest = end < text.size() ? text.substr(end + 1) : std::string_view{};
  return {text.substr(0, end), rest};
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> result;
  for (text = TrimLeft(text); !text.empty(); text = TrimLeft(text)) {
    const auto [word, rest] = SplitWord(text);
    result.push_back(word);
    text = rest;
  }
  return result;
}

template <typename T>
bool ReadNumber(std::string_view word, std::int64_t min, std::int64_t max, T& out) {
  const std::optional<std::int64_t> value = simkit::ParseInteger(word);
  if (!value || *value < min || *value > max) return false;
  out = static_cast<T>(*value);
  return true;
}

bool ReadStatus(std::string_view word, std::uint32_t& status) { return ReadNumber(word, 0, 0xFFFFFFFF, status); }

bool ReadMilliseconds(std::string_view word, std::uint32_t& milliseconds) {
  return ReadNumber(word, 0, kMaxMilliseconds, milliseconds);
}

bool ReadSize(std::string_view word, std::size_t& size) {
  return ReadNumber(word, 0, static_cast<std::int64_t>(kMaxCopyDataSize), size);
}

bool ParseNoArguments(std::string_view args, TCommand&) { return Words(args).empty(); }

bool ParseAttach(std::string_view args, TCommand& command) {
  const auto list = Words(args);
  for (std::string_view word : list) {
    std::uint32_t status = 0;
    if (!ReadStatus(word, status)) return false;
    command.statuses.push_back(status);
  }
  return !list.empty();
}

bool ParseAttachAll(std::string_view args, TCommand& command) {
  const auto list = Words(args);
  if (list.size() != 1) return false;
  if (list[0] == "off") return true;
  std::uint32_t status = 0;
  if (!ReadStatus(list[0], status)) return false;
  command.status = status;
  return true;
}

bool ParseAnnounce(std::string_view args, TCommand& command) {
  const auto list = Words(args);
  std::uint32_t status = 0;
  if (list.size() != 1 || !ReadStatus(list[0], status)) return false;
  command.status = status;
  return true;
}

bool ParseRefuse(std::string_view args, TCommand& command) {
  const auto list = Words(args);
  if (list.size() != 1) return false;
  if (list[0] == "all") {
    command.all = true;
    return true;
  }
  return ReadNumber(list[0], 0, 0xFFFFFFFF, command.count);
}

bool ParseAnswer(std::string_view args, TCommand& command) {
  const std::size_t arrow = args.find("=>");
  if (arrow == std::string_view::npos) return false;
  command.pattern = std::string(Trim(args.substr(0, arrow)));
  std::string_view reply = args.substr(arrow + 2);
  if (!reply.empty() && IsBlank(reply.front())) reply.remove_prefix(1);
  command.text = std::string(reply);
  return !command.pattern.empty();
}

bool ParseNotify(std::string_view args, TCommand& command) {
  command.text = std::string(args);
  return true;
}

bool ParseCopyData(std::string_view args, TCommand& command) {
  const auto [size, text] = SplitWord(TrimLeft(args));
  command.text = std::string(text);
  return ReadSize(size, command.size);
}

bool ParseCopyDataBig(std::string_view args, TCommand& command) {
  const auto list = Words(args);
  return list.size() == 1 && ReadSize(list[0], command.size);
}

bool ParseMessage(std::string_view args, TCommand& command) {
  const auto list = Words(args);
  const std::int64_t min = std::numeric_limits<std::int64_t>::min();
  const std::int64_t max = std::numeric_limits<std::int64_t>::max();
  return list.size() == 3 && ReadNumber(list[0], 0, 0xFFFFFFFF, command.message) &&
         ReadNumber(list[1], min, max, command.wparam) && ReadNumber(list[2], min, max, command.lparam);
}

bool ParseMilliseconds(std::string_view args, TCommand& command) {
  const auto list = Words(args);
  return list.size() == 1 && ReadMilliseconds(list[0], command.milliseconds);
}

// The pattern may hold blanks; a last word that is a number is the timeout, provided some
// pattern is left before it.
bool ParseWaitCommand(std::string_view args, TCommand& command) {
  // The time-out comes first and is marked, since a command may end in a number itself.
  constexpr std::string_view k_timeout = "timeout=";
  std::string_view pattern = Trim(args);
  command.milliseconds = kDefaultWaitMs;
  if (pattern.substr(0, k_timeout.size()) == k_timeout) {
    const auto [timeout, rest] = SplitWord(pattern.substr(k_timeout.size()));
    if (!ReadMilliseconds(timeout, command.milliseconds)) return false;
    pattern = Trim(rest);
  }
  command.pattern = std::string(pattern);
  return !pattern.empty();
}

bool ParseWaitDiscover(std::string_view args, TCommand& command) {
  const auto list = Words(args);
  command.milliseconds = kDefaultWaitMs;
  if (list.empty()) return true;
  return list.size() == 1 && ReadMilliseconds(list[0], command.milliseconds);
}

struct TKeyword {
  std::string_view name;
  TCommandKind kind;
  bool (*parse)(std::string_view args, TCommand& command);
};

constexpr TKeyword kKeywords[] = {
    {"attach", TCommandKind::Attach, ParseAttach},
    {"attach-all", TCommandKind::AttachAll, ParseAttachAll},
    {"announce", TCommandKind::Announce, ParseAnnounce},
    {"accept", TCommandKind::Accept, ParseNoArguments},
    {"refuse", TCommandKind::Refuse, ParseRefuse},
    {"answer", TCommandKind::Answer, ParseAnswer},
    {"notify", TCommandKind::Notify, ParseNotify},
    {"copydata", TCommandKind::CopyData, ParseCopyData},
    {"copydata-big", TCommandKind::CopyDataBig, ParseCopyDataBig},
    {"post", TCommandKind::Post, ParseMessage},
    {"send", TCommandKind::Send, ParseMessage},
    {"sleep", TCommandKind::Sleep, ParseMilliseconds},
    {"wait-cmd", TCommandKind::WaitCommand, ParseWaitCommand},
    {"wait-discover", TCommandKind::WaitDiscover, ParseWaitDiscover},
    {"freeze", TCommandKind::Freeze, ParseMilliseconds},
    {"reopen", TCommandKind::Reopen, ParseNoArguments},
    {"quit", TCommandKind::Quit, ParseNoArguments},
};

}  // namespace

TParsedLine ParseLine(std::string_view line) {
  const std::string_view body = TrimLeft(line);
  if (body.empty() || body.front() == '#') return {};
  const auto [keyword, args] = SplitWord(body);
  for (const TKeyword& entry : kKeywords) {
    if (keyword != entry.name) continue;
    TParsedLine parsed;
    parsed.command.kind = entry.kind;
    if (!entry.parse(args, parsed.command)) break;
    parsed.kind = TLineKind::Command;
    return parsed;
  }
  TParsedLine invalid;
  invalid.kind = TLineKind::Invalid;
  return invalid;
}

}  // namespace skypesim
