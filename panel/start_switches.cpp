#include "panel/start_switches.h"

#include "common/window_messages.h"

TStartSwitch StartSwitchOf(const std::vector<std::string>& parameters) {
  if (parameters.size() != 1) return TStartSwitch::None;
  if (parameters[0] == "ZunSearchMode") return TStartSwitch::SearchMode;
  if (parameters[0] == "ZunDestroyMode") return TStartSwitch::DestroyMode;
  return TStartSwitch::None;
}

unsigned SecondStartMessage(TStartSwitch start_switch) {
  return start_switch == TStartSwitch::DestroyMode ? msg::WM_PANELEXIT : msg::WM_PANELRESTORE;
}
