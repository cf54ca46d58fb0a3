#pragma once
// The panel simulator's command lines. It plays the control panel's side of the bridge link;
// tests drive it line by line and do their own waiting on its log.
#include <cstdint>
#include <string>
#include <string_view>

namespace panelsim {

enum class TPanelCommandKind {
  Invalid,
  Nothing,      // blank line or comment
  Announce,     // announce: broadcast the panel's attach 0x8001, as a starting panel does
  Attach,       // attach [WINDOW]: post the panel's attach 0 to the last discovering bridge,
                // naming WINDOW in place of the panel's own (as a rogue program might)
  AutoAttach,   // auto-attach on|off: answer each discovery with an attach (default on)
  Request,      // request TEXT: send "!" + TEXT to the bridge, as the panel's requests go
  SendText,     // send-text TEXT: send TEXT as it is to the bridge by WM_COPYDATA
  Farewell,     // farewell: tell the bridge the panel is going away (attach 0, 0)
  Post,         // post MSG W L: any message to the bridge
  PostTo,       // post-to CLASS MSG W L: any message to the top-level window of class CLASS
  Freeze,       // freeze MS: stop handling messages, like a hung panel
  SendTimeout,  // send-timeout MS: how long later sends wait (the real panel's 500 by default)
  Quit,         // quit
};

struct TPanelCommand {
  TPanelCommandKind kind = TPanelCommandKind::Invalid;
  std::string text;
  bool on = true;
  std::uint32_t message = 0;
  std::int64_t wparam = 0;
  std::int64_t lparam = 0;
  std::uint32_t milliseconds = 0;
  std::uint64_t window = 0;  // attach: the window named; 0 for the panel's own
  std::string window_class;  // post-to
};

TPanelCommand ParsePanelCommand(std::string_view line);

// "0x0101 ff 00 00 06": a status report's link status, then lParam's bytes from the lowest.
std::string StatusReportText(std::uint64_t link_status, std::uint32_t report);

}  // namespace panelsim
