#include "tools/desktopsim/commands.h"

#include <optional>
#include <vector>

#include "tools/simkit/numbers.h"

namespace desktopsim {
namespace {

std::vector<std::string_view> Words(std::string_view text) {
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

TCommand Make(TCommandKind kind) {
  TCommand command;
  command.kind = kind;
  return command;
}

std::optional<bool> OnOff(std::string_view word) {
  if (word == "on") return true;
  if (word == "off") return false;
  return std::nullopt;
}

std::optional<TPanelPart> PanelPart(std::string_view word, bool ring_allowed) {
  if (word == "out") return TPanelPart::Out;
  if (word == "in") return TPanelPart::In;
  if (word == "ring" && ring_allowed) return TPanelPart::Ring;
  return std::nullopt;
}

// "post"/"send"/"report" arguments: a message number and two integers.
bool ReadNumbers(const std::vector<std::string_view>& list, std::size_t first, TCommand& command) {
  const auto w = simkit::ParseInteger(list[first]);
  const auto l = simkit::ParseInteger(list[first + 1]);
  if (!w || !l) return false;
  command.wparam = *w;
  command.lparam = *l;
  return true;
}

}  // namespace

TCommand ParseCommand(std::string_view line) {
  const std::vector<std::string_view> list = Words(line);
  if (list.empty() || list[0].front() == '#') return Make(TCommandKind::Nothing);
  const std::string_view keyword = list[0];
  const std::size_t count = list.size();

  if (keyword == "tray" && count == 2) {
    if (list[1] == "on") return Make(TCommandKind::TrayOn);
    if (list[1] == "off") return Make(TCommandKind::TrayOff);
  }
  if (keyword == "tray" && count == 3 && list[1] == "refuse" && OnOff(list[2])) {
    TCommand command = Make(TCommandKind::TrayRefuse);
    command.on = *OnOff(list[2]);
    return command;
  }
  if ((keyword == "auto-discover" || keyword == "watch") && count == 2 && OnOff(list[1])) {
    TCommand command = Make(keyword == "watch" ? TCommandKind::Watch : TCommandKind::BridgeAuto);
    command.on = *OnOff(list[1]);
    return command;
  }
  if (keyword == "click" && count == 2) {
    TCommand command = Make(TCommandKind::Click);
    if (list[1] == "left") {
      command.click = TClickKind::Left;
    } else if (list[1] == "right") {
      command.click = TClickKind::Right;
    } else if (list[1] == "double") {
      command.click = TClickKind::Double;
    } else if (list[1] == "middle") {
      command.click = TClickKind::Middle;
    } else {
      return Make(TCommandKind::Invalid);
    }
    return command;
  }
  if (count == 1) {
    if (keyword == "taskbar-created") return Make(TCommandKind::TaskbarCreated);
    if (keyword == "discover") return Make(TCommandKind::BridgeDiscover);
    if (keyword == "look") return Make(TCommandKind::Look);
    if (keyword == "tabs") return Make(TCommandKind::Tabs);
    if (keyword == "about") return Make(TCommandKind::About);
    if (keyword == "menu") return Make(TCommandKind::Menu);
    if (keyword == "dialog") return Make(TCommandKind::Dialog);
    if (keyword == "quit") return Make(TCommandKind::Quit);
  }
  if (keyword == "report" && count == 3) {
    TCommand command = Make(TCommandKind::Report);
    if (ReadNumbers(list, 1, command)) return command;
  }
  if ((keyword == "post" || keyword == "send") && count == 4) {
    TCommand command = Make(keyword == "post" ? TCommandKind::Post : TCommandKind::Send);
    const auto message = simkit::ParseInteger(list[1]);
    if (message && *message >= 0 && *message <= 0xFFFF && ReadNumbers(list, 2, command)) {
      command.message = static_cast<std::uint32_t>(*message);
      return command;
    }
  }
  if (keyword == "sleep" && count == 2) {
    const auto ms = simkit::ParseInteger(list[1]);
    if (ms && *ms >= 0 && *ms <= 600000) {
      TCommand command = Make(TCommandKind::Sleep);
      command.milliseconds = static_cast<std::uint32_t>(*ms);
      return command;
    }
  }
  if (keyword == "key" && count == 2) {
    const auto key = simkit::ParseInteger(list[1]);
    if (key && *key > 0 && *key < 256) {
      TCommand command = Make(TCommandKind::Key);
      command.wparam = *key;
      return command;
    }
  }
  if ((keyword == "toggle" || keyword == "list") && count == 2) {
    const bool is_list = keyword == "list";
    if (const auto part = PanelPart(list[1], is_list)) {
      TCommand command = Make(is_list ? TCommandKind::List : TCommandKind::Toggle);
      command.part = *part;
      return command;
    }
  }
  if ((keyword == "slide" || keyword == "choose") && count == 3) {
    const bool is_choice = keyword == "choose";
    const auto part = PanelPart(list[1], is_choice);
    const auto value = simkit::ParseInteger(list[2]);
    if (part && value && *value >= 0 && *value <= 0xFFFF) {
      TCommand command = Make(is_choice ? TCommandKind::Choose : TCommandKind::Slide);
      command.part = *part;
      command.wparam = *value;
      return command;
    }
  }
  if (keyword == "press" && count == 2 && list[1] == "default") return Make(TCommandKind::Press);
  if (keyword == "menu-char" && count == 2 && list[1].size() == 1) {
    TCommand command = Make(TCommandKind::MenuChar);
    command.text = std::string(list[1]);
    return command;
  }
  if (keyword == "answer" && count >= 2) {
    // The text is everything after one blank, verbatim.
    TCommand command = Make(TCommandKind::Answer);
    command.text = std::string(line.substr(line.find("answer") + 7));
    return command;
  }
  return Make(TCommandKind::Invalid);
}

}  // namespace desktopsim
