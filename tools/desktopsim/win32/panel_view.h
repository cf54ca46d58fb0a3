#pragma once
// The control panel's window as a user sees it, found the way a second start finds it.
#include <windows.h>

#include <string>

namespace desktopsim {

// The panel's main window, or null when no panel runs (or it is still starting).
HWND FindPanelWindow();

// "visible=0 page=0 default=on,shown volume=off skype=on focus=ComboBox rect=160,130,494,324
// speaker=32767,on mic=0,off speakermute=0,on micmute=1,off lists=2,2,0 note=Waiting_for_Skype":
// whether the window shows, the page, the "Default" button's enabled state and its own
// visibility (shown even while the window is hidden), the two groups' enabled states, the
// class (and text) of the control with the keyboard focus, the window's place on the
// screen, each track bar's position and each mute box's check with their enabled states,
// the selected entries of the output, input and ringing lists, and the line that says why a
// group is grey (spaces as "_"; "none" while it does not show). "none" without a panel.
std::string DescribePanel(HWND panel);

// "strip=176 arrows=0 items=0-83,83-170": the width of the pages' tab strip, whether its
// scroll arrows show, and where each tab lies in it (left-right); "missing" without tabs.
std::string DescribeTabs(HWND panel);

// The About page's texts as the user reads them, each whole on a line of its own after its
// name: "product=Product Name: ...|version=...|maker=Made by ...".
std::string DescribeAbout(HWND panel);

// The panel's control with this id (panel/win32/window_ids.h), or null.
HWND FindControl(HWND panel, int id);

// A Skype device list: its selected index, then its entries joined by "|":
// "1 Windows default sound device|Speakers|USB Phone".
std::string DescribeList(HWND list);

// The window that has the keyboard focus in the panel's thread, or null.
HWND FindPanelFocus(HWND panel);

// The open popup menu of any program, or null.
HWND FindOpenMenu();

// A message box titled as the panel, or null; `text` gets its message.
HWND FindPanelMessageBox(std::string& text);

}  // namespace desktopsim
