#include "tools/desktopsim/win32/panel_view.h"

#include <commctrl.h>

#include <utility>

#include "panel/instance_names.h"
#include "panel/win32/window_ids.h"

namespace desktopsim {
namespace {

struct TChildSearch {
  const char* class_name;
  const char* text;  // null: any
  HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM parameter) {
  auto* search = reinterpret_cast<TChildSearch*>(parameter);
  char class_name[64] = {};
  GetClassNameA(child, class_name, sizeof class_name);
  if (lstrcmpiA(class_name, search->class_name) != 0) return TRUE;
  if (search->text) {
    char text[128] = {};
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpA(text, search->text) != 0) return TRUE;
  }
  search->found = child;
  return FALSE;
}

HWND FindChild(HWND parent, const char* class_name, const char* text) {
  TChildSearch search{class_name, text};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string OnOff(HWND window) { return window == nullptr ? "missing" : IsWindowEnabled(window) ? "on" : "off"; }

BOOL CALLBACK MatchId(HWND child, LPARAM parameter) {
  auto* search = reinterpret_cast<std::pair<int, HWND>*>(parameter);
  if (GetDlgCtrlID(child) != search->first) return TRUE;
  search->second = child;
  return FALSE;
}

// Asks a control of the panel, giving up on a panel that hangs.
LRESULT Ask(HWND control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  DWORD_PTR result = 0;
  if (!control || !SendMessageTimeoutA(control, message, wparam, lparam, SMTO_ABORTIFHUNG, 2000, &result)) {
    return -1;
  }
  return static_cast<LRESULT>(result);
}

// Spaces as "_", so a text stays one item of the line.
std::string Underscored(std::string text) {
  for (char& c : text) {
    if (c == ' ') c = '_';
  }
  return text;
}

// The line on the row of the tabs that says why a group is grey, while it shows.
std::string GreyGroupsNote(HWND panel) {
  HWND note = FindControl(panel, kIdLabelGreyGroups);
  char text[128] = {};
  if (note && (GetWindowLongA(note, GWL_STYLE) & WS_VISIBLE) != 0) GetWindowTextA(note, text, sizeof text);
  return text[0] ? Underscored(text) : "none";
}

std::string ValueAndState(HWND control, UINT query) {
  if (!control) return "missing";
  return std::to_string(static_cast<long long>(Ask(control, query))) + "," + OnOff(control);
}

}  // namespace

HWND FindPanelWindow() {
  HWND application = FindWindowA(panel_instance::kApplicationClass, panel_instance::kApplicationTitle);
  return application ? static_cast<HWND>(GetPropA(application, panel_instance::kFormProperty)) : nullptr;
}

std::string DescribePanel(HWND panel) {
  if (panel == nullptr || !IsWindow(panel)) return "none";
  // One property after the other, while the panel runs on: in the order the panel sets them.
  std::string text = "visible=" + std::string(IsWindowVisible(panel) ? "1" : "0");
  HWND tabs = FindChild(panel, WC_TABCONTROLA, nullptr);
  DWORD_PTR page = static_cast<DWORD_PTR>(-1);
  if (tabs) SendMessageTimeoutA(tabs, TCM_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &page);
  HWND default_button = FindChild(panel, "Button", "Default");
  text += " page=" + std::to_string(static_cast<long long>(static_cast<LONG_PTR>(page)));
  // Shown as far as the button goes: the window around it may be hidden.
  const bool shown = default_button && (GetWindowLongA(default_button, GWL_STYLE) & WS_VISIBLE) != 0;
  text += " default=" + OnOff(default_button) + (shown ? ",shown" : ",hidden");
  text += " volume=" + OnOff(FindChild(panel, "Button", "USB Phone"));
  text += " skype=" + OnOff(FindChild(panel, "Button", "Skype Sound Device"));
  // The keyboard focus: the class and text of the window that has it.
  std::string focus = "none";
  if (HWND focused = FindPanelFocus(panel)) {
    char class_name[64] = {};
    char caption[64] = {};
    GetClassNameA(focused, class_name, sizeof class_name);
    GetWindowTextA(focused, caption, sizeof caption);
    focus = Underscored(std::string(class_name) + (caption[0] ? std::string(":") + caption : std::string()));
  }
  text += " focus=" + focus;
  RECT frame = {};
  GetWindowRect(panel, &frame);
  text += " rect=" + std::to_string(frame.left) + "," + std::to_string(frame.top) + "," +
          std::to_string(frame.right - frame.left) + "," + std::to_string(frame.bottom - frame.top);
  text += " speaker=" + ValueAndState(FindControl(panel, kIdTrackBarVolOut), TBM_GETPOS);
  text += " mic=" + ValueAndState(FindControl(panel, kIdTrackBarVolIn), TBM_GETPOS);
  text += " speakermute=" + ValueAndState(FindControl(panel, kIdCheckBoxVolOut), BM_GETCHECK);
  text += " micmute=" + ValueAndState(FindControl(panel, kIdCheckBoxVolIn), BM_GETCHECK);
  text += " lists=";
  for (int id : {kIdComboBoxSkypeOut, kIdComboBoxSkypeIn, kIdComboBoxSkypeRing}) {
    text += std::to_string(static_cast<long long>(Ask(FindControl(panel, id), CB_GETCURSEL)));
    if (id != kIdComboBoxSkypeRing) text += ",";
  }
  text += " note=" + GreyGroupsNote(panel);
  return text;
}

std::string DescribeAbout(HWND panel) {
  std::string text;
  for (const auto& [name, id] : {std::pair<const char*, int>{"product", kIdLabelProduct},
                                 {"version", kIdLabelVersion},
                                 {"maker", kIdLabelMaker}}) {
    char caption[128] = {};
    HWND label = FindControl(panel, id);
    if (label) GetWindowTextA(label, caption, sizeof caption);
    if (!text.empty()) text += '|';
    text += std::string(name) + "=" + (label ? caption : "missing");
  }
  return text;
}

std::string DescribeTabs(HWND panel) {
  HWND tabs = panel ? FindChild(panel, WC_TABCONTROLA, nullptr) : nullptr;
  if (!tabs) return "missing";
  RECT strip = {};
  GetClientRect(tabs, &strip);
  HWND arrows = FindChild(tabs, UPDOWN_CLASSA, nullptr);
  const bool arrows_shown = arrows && (GetWindowLongA(arrows, GWL_STYLE) & WS_VISIBLE) != 0;
  std::string text = "strip=" + std::to_string(strip.right) + " arrows=" + (arrows_shown ? "1" : "0") + " items=";
  // TCM_GETITEMRECT writes its answer through a pointer: one into the panel's own memory.
  DWORD process_id = 0;
  GetWindowThreadProcessId(tabs, &process_id);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
  void* remote = process ? VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE) : nullptr;
  const LRESULT count = Ask(tabs, TCM_GETITEMCOUNT);
  for (LRESULT i = 0; remote && i < count; ++i) {
    RECT item = {};
    DWORD_PTR found = 0;
    if (SendMessageTimeoutA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote),
                            SMTO_ABORTIFHUNG, 2000, &found) &&
        found && ReadProcessMemory(process, remote, &item, sizeof item, nullptr)) {
      text += (i > 0 ? "," : "") + std::to_string(item.left) + "-" + std::to_string(item.right);
    }
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  if (process) CloseHandle(process);
  return text;
}

HWND FindControl(HWND panel, int id) {
  std::pair<int, HWND> search{id, nullptr};
  if (panel) EnumChildWindows(panel, MatchId, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

std::string DescribeList(HWND list) {
  if (!list) return "missing";
  std::string text = std::to_string(static_cast<long long>(Ask(list, CB_GETCURSEL))) + " ";
  const LRESULT count = Ask(list, CB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    // Device names are at most 31 characters; the list's own entry is longer. Asked in
    // UTF-16: Wine hands an ANSI request's text across processes as UTF-16 all the same.
    wchar_t entry[256] = {};
    const LRESULT length = Ask(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
    if (length < 0 || length >= static_cast<LRESULT>(sizeof entry / sizeof entry[0])) continue;
    // Sent with a buffer of ours: Windows copies the text back only for a sent message.
    SendMessageTimeoutW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    char narrow[512] = {};
    WideCharToMultiByte(CP_ACP, 0, entry, -1, narrow, sizeof narrow, nullptr, nullptr);
    text += (i > 0 ? "|" : "") + std::string(narrow);
  }
  return text;
}

HWND FindPanelFocus(HWND panel) {
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof(gui);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(panel, nullptr), &gui)) return nullptr;
  return gui.hwndFocus;
}

HWND FindOpenMenu() {
  HWND menu = FindWindowA(MAKEINTATOM(0x8000), nullptr);  // "#32768", the popup menu class
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

HWND FindPanelMessageBox(std::string& text) {
  HWND box = FindWindowA(MAKEINTATOM(0x8002), panel_instance::kApplicationTitle);  // "#32770", dialogs
  if (!box || !IsWindowVisible(box)) return nullptr;
  // The message is the dialog's static text that is not the icon.
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char class_name[32] = {};
    char line[256] = {};
    GetClassNameA(child, class_name, sizeof class_name);
    GetWindowTextA(child, line, sizeof line);
    if (lstrcmpiA(class_name, "Static") == 0 && line[0] != '\0') {
      text = line;
      break;
    }
  }
  return box;
}

}  // namespace desktopsim
