#include "tools/panelsim/panel_commands.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "tools/simkit/numbers.h"
#include "tools/simkit/text_fields.h"

namespace panelsim {
namespace {

TPanelCommand Invalid() { return TPanelCommand{}; }

// MSG W L from list[first] on, into `command`; false when they are not three fitting numbers.
bool ParseMessage(const std::vector<std::string_view>& list, std::size_t first, TPanelCommand& command) {
  if (list.size() != first + 3) return false;
  const auto message = simkit::ParseInteger(list[first]);
  const auto w = simkit::ParseInteger(list[first + 1]);
  const auto l = simkit::ParseInteger(list[first + 2]);
  if (!message || !w || !l || *message < 0 || *message > 0xFFFFFFFF) return false;
  command.message = static_cast<std::uint32_t>(*message);
  command.wparam = *w;
  command.lparam = *l;
  return true;
}

// Everything after `keyword` and one blank, verbatim; false when there is nothing.
bool RestOfLine(std::string_view line, std::string_view keyword, std::string& text) {
  const std::size_t at = line.find(keyword) + keyword.size();
  if (at >= line.size() || line[at] != ' ') return false;
  text = std::string(line.substr(at + 1));
  return true;
}

TPanelCommand Simple(TPanelCommandKind kind, const std::vector<std::string_view>& list) {
  if (list.size() != 1) return Invalid();
  TPanelCommand command;
  command.kind = kind;
  return command;
}

}  // namespace

TPanelCommand ParsePanelCommand(std::string_view line) {
  const std::vector<std::string_view> list = simkit::SplitFields(line).positional;
  if (list.empty() || list[0].front() == '#') {
    TPanelCommand nothing;
    nothing.kind = TPanelCommandKind::Nothing;
    return nothing;
  }
  const std::string_view keyword = list[0];
  if (keyword == "announce") return Simple(TPanelCommandKind::Announce, list);

  if (keyword == "farewell") return Simple(TPanelCommandKind::Farewell, list);
  if (keyword == "quit") return Simple(TPanelCommandKind::Quit, list);

  TPanelCommand command;
  if (keyword == "request" || keyword == "send-text") {
    if (!RestOfLine(line, keyword, command.text)) return Invalid();
    command.kind = keyword == "request" ? TPanelCommandKind::Request : TPanelCommandKind::SendText;
    return command;
  }
  if (keyword == "attach" && list.size() <= 2) {
    if (list.size() == 2) {
      const auto window = simkit::ParseInteger(list[1]);
      if (!window || *window <= 0) return Invalid();
      command.window = static_cast<std::uint64_t>(*window);
    }
    command.kind = TPanelCommandKind::Attach;
    return command;
  }
  if (keyword == "auto-attach" && list.size() == 2 && (list[1] == "on" || list[1] == "off")) {
    command.kind = TPanelCommandKind::AutoAttach;
    command.on = list[1] == "on";
    return command;
  }
  if (keyword == "post" && ParseMessage(list, 1, command)) {
    command.kind = TPanelCommandKind::Post;
    return command;
  }
  if (keyword == "post-to" && ParseMessage(list, 2, command)) {
    command.kind = TPanelCommandKind::PostTo;
    command.window_class = std::string(list[1]);
    return command;
  }
  if ((keyword == "freeze" || keyword == "send-timeout") && list.size() == 2) {
    const auto ms = simkit::ParseInteger(list[1]);
    if (!ms || *ms < 0 || *ms > 0x7FFFFFFF) return Invalid();
    command.kind = keyword == "freeze" ? TPanelCommandKind::Freeze : TPanelCommandKind::SendTimeout;
    command.milliseconds = static_cast<std::uint32_t>(*ms);
    return command;
  }
  return Invalid();
}

std::string StatusReportText(std::uint64_t link_status, std::uint32_t report) {
  char text[48];
  std::snprintf(text, sizeof text, "0x%04llx %02x %02x %02x %02x", static_cast<unsigned long long>(link_status),
                report & 0xFF, (report >> 8) & 0xFF, (report >> 16) & 0xFF, report >> 24);
  return text;
}

}  // namespace panelsim
