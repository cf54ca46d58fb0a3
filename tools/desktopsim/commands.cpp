#include "tools/desktopsim/commands.h"

#include <optional>
#include <vector>

#include "tools/simkit/numbers.h"

namespace desktopsim {
namespace {

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
        if (i > start) out.push_back(text.substr(start, i - start));
    }
    return out;
}

Command make(CommandKind kind) {
    Command command;
    command.kind = kind;
    return command;
}

std::optional<bool> onOff(std::string_view word) {
    if (word == "on") return true;
    if (word == "off") return false;
    return std::nullopt;
}

std::optional<PanelPart> panelPart(std::string_view word, bool ring_allowed) {
    if (word == "out") return PanelPart::Out;
    if (word == "in") return PanelPart::In;
    if (word == "ring" && ring_allowed) return PanelPart::Ring;
    return std::nullopt;
}

// "post"/"send"/"report" arguments: a message number and two integers.
bool readNumbers(const std::vector<std::string_view>& list, std::size_t first, Command& command) {
    const auto w = simkit::parseInteger(list[first]);
    const auto l = simkit::parseInteger(list[first + 1]);
    if (!w || !l) return false;
    command.wParam = *w;
    command.lParam = *l;
    return true;
}

}  // namespace

Command parseCommand(std::string_view line) {
    const std::vector<std::string_view> list = words(line);
    if (list.empty() || list[0].front() == '#') return make(CommandKind::Nothing);
    const std::string_view keyword = list[0];
    const std::size_t count = list.size();

    if (keyword == "tray" && count == 2) {
        if (list[1] == "on") return make(CommandKind::TrayOn);
        if (list[1] == "off") return make(CommandKind::TrayOff);
    }
    if (keyword == "tray" && count == 3 && list[1] == "refuse" && onOff(list[2])) {
        Command command = make(CommandKind::TrayRefuse);
        command.on = *onOff(list[2]);
        return command;
    }
    if (keyword == "auto-discover" && count == 2 && onOff(list[1])) {
        Command command = make(CommandKind::BridgeAuto);
        command.on = *onOff(list[1]);
        return command;
    }
    if (keyword == "click" && count == 2) {
        Command command = make(CommandKind::Click);
        if (list[1] == "left") {
            command.click = ClickKind::Left;
        } else if (list[1] == "right") {
            command.click = ClickKind::Right;
        } else if (list[1] == "double") {
            command.click = ClickKind::Double;
        } else if (list[1] == "middle") {
            command.click = ClickKind::Middle;
        } else {
            return make(CommandKind::Invalid);
        }
        return command;
    }
    if (count == 1) {
        if (keyword == "taskbar-created") return make(CommandKind::TaskbarCreated);
        if (keyword == "discover") return make(CommandKind::BridgeDiscover);
        if (keyword == "look") return make(CommandKind::Look);
        if (keyword == "tabs") return make(CommandKind::Tabs);
        if (keyword == "menu") return make(CommandKind::Menu);
        if (keyword == "dialog") return make(CommandKind::Dialog);
        if (keyword == "quit") return make(CommandKind::Quit);
    }
    if (keyword == "report" && count == 3) {
        Command command = make(CommandKind::Report);
        if (readNumbers(list, 1, command)) return command;
    }
    if ((keyword == "post" || keyword == "send") && count == 4) {
        Command command = make(keyword == "post" ? CommandKind::Post : CommandKind::Send);
        const auto message = simkit::parseInteger(list[1]);
        if (message && *message >= 0 && *message <= 0xFFFF && readNumbers(list, 2, command)) {
            command.message = static_cast<std::uint32_t>(*message);
            return command;
        }
    }
    if (keyword == "sleep" && count == 2) {
        const auto ms = simkit::parseInteger(list[1]);
        if (ms && *ms >= 0 && *ms <= 600000) {
            Command command = make(CommandKind::Sleep);
            command.milliseconds = static_cast<std::uint32_t>(*ms);
            return command;
        }
    }
    if (keyword == "key" && count == 2) {
        const auto key = simkit::parseInteger(list[1]);
        if (key && *key > 0 && *key < 256) {
            Command command = make(CommandKind::Key);
            command.wParam = *key;
            return command;
        }
    }
    if ((keyword == "toggle" || keyword == "list") && count == 2) {
        const bool is_list = keyword == "list";
        if (const auto part = panelPart(list[1], is_list)) {
            Command command = make(is_list ? CommandKind::List : CommandKind::Toggle);
            command.part = *part;
            return command;
        }
    }
    if ((keyword == "slide" || keyword == "choose") && count == 3) {
        const bool is_choice = keyword == "choose";
        const auto part = panelPart(list[1], is_choice);
        const auto value = simkit::parseInteger(list[2]);
        if (part && value && *value >= 0 && *value <= 0xFFFF) {
            Command command = make(is_choice ? CommandKind::Choose : CommandKind::Slide);
            command.part = *part;
            command.wParam = *value;
            return command;
        }
    }
    if (keyword == "press" && count == 2 && list[1] == "default") return make(CommandKind::Press);
    if (keyword == "menu-char" && count == 2 && list[1].size() == 1) {
        Command command = make(CommandKind::MenuChar);
        command.text = std::string(list[1]);
        return command;
    }
    if (keyword == "answer" && count >= 2) {
        // The text is everything after one blank, verbatim.
        Command command = make(CommandKind::Answer);
        command.text = std::string(line.substr(line.find("answer") + 7));
        return command;
    }
    return make(CommandKind::Invalid);
}

}  // namespace desktopsim
