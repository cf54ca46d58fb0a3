#pragma once
// desktopsim's command language: one command a line, read from standard input.
#include <cstdint>
#include <string>
#include <string_view>

namespace desktopsim {

enum class TCommandKind {
  Nothing,  // empty line or comment
  Invalid,
  TrayOn,          // "tray on": the notification area appears (as a shell that starts)
  TrayOff,         // "tray off": it goes away (as a shell that ends)
  TrayRefuse,      // "tray refuse on|off": answer the icon calls with failure
  TaskbarCreated,  // "taskbar-created": the shell's broadcast that it is there
  Click,           // "click left|right|double|middle" on the panel's tray icon
  BridgeDiscover,  // "discover": broadcast the bridge stand-in's discovery
  BridgeAuto,      // "auto-discover on|off": answer a panel's announcement with a discovery
  Report,          // "report LINK LPARAM": post a status or key report to the panel
  Answer,          // "answer TEXT": send TEXT to the panel by WM_COPYDATA
  Look,            // "look": log the panel window's state
  Tabs,            // "tabs": log the panel's tab strip, its scroll arrows and its tabs' places
  About,           // "about": log the texts of the About page
  Post,            // "post MSG W L" to the panel window
  Send,            // "send MSG W L" to the panel window, result logged
  MenuChar,        // "menu-char C": type C into the open popup menu
  Key,             // "key VK": press and release a key in the panel's focused control
  Menu,            // "menu": log whether a popup menu is open
  Dialog,          // "dialog": log the panel's message box, if one shows, and press its OK
  Slide,           // "slide out|in POS": move the speaker / microphone track bar, as a drag ends
  Toggle,          // "toggle out|in": click the speaker / microphone "Mute" box
  Choose,          // "choose out|in|ring INDEX": pick an entry of a Skype device list
  List,            // "list out|in|ring": log a Skype device list's entries and selection
  Press,           // "press default": click the "Default" button
  Watch,           // "watch on|off": log the value changes an accessibility client hears of the panel
  Sleep,           // "sleep MS"
  Quit,
};

enum class TClickKind { Left, Right, Double, Middle };

// Which of the panel's controls a command is about: the speaker side or the Skype output
// list, the microphone side or the input list, the ringing list.
enum class TPanelPart { Out, In, Ring };

struct TCommand {
  TCommandKind kind = TCommandKind::Invalid;
  bool on = false;
  TClickKind click = TClickKind::Left;
  TPanelPart part = TPanelPart::Out;
  std::uint32_t message = 0;
  std::int64_t wparam = 0;
  std::int64_t lparam = 0;
  std::uint32_t milliseconds = 0;
  std::string text;
};

TCommand ParseCommand(std::string_view line);

}  // namespace desktopsim
