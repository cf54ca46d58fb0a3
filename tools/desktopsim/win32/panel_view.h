#pragma once
// The control panel's window as a user sees it, found the way a second start finds it.
#include <windows.h>

#include <string>

namespace desktopsim {

// The panel's main window, or null when no panel runs (or it is still starting).
HWND findPanelWindow();

// "visible=0 page=0 default=on,shown volume=off skype=on focus=ComboBox rect=160,130,494,324":
// whether the window shows, the page, the "Default" button's enabled state and its own
// visibility (shown even while the window is hidden), the two groups' enabled states, the
// class (and text) of the control with the keyboard focus, and the window's place on the
// screen. "none" without a panel.
std::string describePanel(HWND panel);

// The window that has the keyboard focus in the panel's thread, or null.
HWND findPanelFocus(HWND panel);

// The open popup menu of any program, or null.
HWND findOpenMenu();

// A message box titled as the panel, or null; `text` gets its message.
HWND findPanelMessageBox(std::string& text);

}  // namespace desktopsim
