#include "tools/panelsim/panel_commands.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "tools/simkit/numbers.h"
#include "tools/simkit/text_fields.h"

namespace panelsim {
namespace {

PanelCommand invalid() { return PanelCommand{}; }

// MSG W L from list[first] on, into `command`; false when they are not three fitting numbers.
bool parseMessage(const std::vector<std::string_view>& list, std::size_t first, PanelCommand& command) {
    if (list.size() != first + 3) return false;
    const auto message = simkit::parseInteger(list[first]);
    const auto w = simkit::parseInteger(list[first + 1]);
    const auto l = simkit::parseInteger(list[first + 2]);
    if (!message || !w || !l || *message < 0 || *message > 0xFFFFFFFF) return false;
    command.message = static_cast<std::uint32_t>(*message);
    command.wParam = *w;
    command.lParam = *l;
    return true;
}

// Everything after `keyword` and one blank, verbatim; false when there is nothing.
bool restOfLine(std::string_view line, std::string_view keyword, std::string& text) {
    const std::size_t at = line.find(keyword) + keyword.size();
    if (at >= line.size() || line[at] != ' ') return false;
    text = std::string(line.substr(at + 1));
    return true;
}

PanelCommand simple(PanelCommandKind kind, const std::vector<std::string_view>& list) {
    if (list.size() != 1) return invalid();
    PanelCommand command;
    command.kind = kind;
    return command;
}

}  // namespace

PanelCommand parsePanelCommand(std::string_view line) {
    const std::vector<std::string_view> list = simkit::splitFields(line).positional;
    if (list.empty() || list[0].front() == '#') {
        PanelCommand nothing;
        nothing.kind = PanelCommandKind::Nothing;
        return nothing;
    }
    const std::string_view keyword = list[0];
    if (keyword == "announce") return simple(PanelCommandKind::Announce, list);

    if (keyword == "farewell") return simple(PanelCommandKind::Farewell, list);
    if (keyword == "quit") return simple(PanelCommandKind::Quit, list);

    PanelCommand command;
    if (keyword == "request" || keyword == "send-text") {
        if (!restOfLine(line, keyword, command.text)) return invalid();
        command.kind = keyword == "request" ? PanelCommandKind::Request : PanelCommandKind::SendText;
        return command;
    }
    if (keyword == "attach" && list.size() <= 2) {
        if (list.size() == 2) {
            const auto window = simkit::parseInteger(list[1]);
            if (!window || *window <= 0) return invalid();
            command.window = static_cast<std::uint64_t>(*window);
        }
        command.kind = PanelCommandKind::Attach;
        return command;
    }
    if (keyword == "auto-attach" && list.size() == 2 && (list[1] == "on" || list[1] == "off")) {
        command.kind = PanelCommandKind::AutoAttach;
        command.on = list[1] == "on";
        return command;
    }
    if (keyword == "post" && parseMessage(list, 1, command)) {
        command.kind = PanelCommandKind::Post;
        return command;
    }
    if (keyword == "post-to" && parseMessage(list, 2, command)) {
        command.kind = PanelCommandKind::PostTo;
        command.windowClass = std::string(list[1]);
        return command;
    }
    if ((keyword == "freeze" || keyword == "send-timeout") && list.size() == 2) {
        const auto ms = simkit::parseInteger(list[1]);
        if (!ms || *ms < 0 || *ms > 0x7FFFFFFF) return invalid();
        command.kind = keyword == "freeze" ? PanelCommandKind::Freeze : PanelCommandKind::SendTimeout;
        command.milliseconds = static_cast<std::uint32_t>(*ms);
        return command;
    }
    return invalid();
}

std::string statusReportText(std::uint64_t linkStatus, std::uint32_t report) {
    char text[48];
    std::snprintf(text, sizeof text, "0x%04llx %02x %02x %02x %02x",
                  static_cast<unsigned long long>(linkStatus), report & 0xFF, (report >> 8) & 0xFF,
                  (report >> 16) & 0xFF, report >> 24);
    return text;
}

}  // namespace panelsim
