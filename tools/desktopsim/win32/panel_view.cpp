#include "tools/desktopsim/win32/panel_view.h"

#include <commctrl.h>

#include "panel/instance_names.h"
#include "panel/win32/window_ids.h"

namespace desktopsim {
namespace {

struct ChildSearch {
    const char* className;
    const char* text;  // null: any
    HWND found = nullptr;
};

BOOL CALLBACK matchChild(HWND child, LPARAM parameter) {
    auto* search = reinterpret_cast<ChildSearch*>(parameter);
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, search->className) != 0) return TRUE;
    if (search->text) {
        char text[128] = {};
        GetWindowTextA(child, text, sizeof text);
        if (lstrcmpA(text, search->text) != 0) return TRUE;
    }
    search->found = child;
    return FALSE;
}

HWND findChild(HWND parent, const char* className, const char* text) {
    ChildSearch search{className, text};
    EnumChildWindows(parent, matchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string onOff(HWND window) { return window == nullptr ? "missing" : IsWindowEnabled(window) ? "on" : "off"; }

BOOL CALLBACK matchId(HWND child, LPARAM parameter) {
    auto* search = reinterpret_cast<std::pair<int, HWND>*>(parameter);
    if (GetDlgCtrlID(child) != search->first) return TRUE;
    search->second = child;
    return FALSE;
}

// Asks a control of the panel, giving up on a panel that hangs.
LRESULT ask(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!control || !SendMessageTimeoutA(control, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

// Spaces as "_", so a text stays one item of the line.
std::string underscored(std::string text) {
    for (char& c : text) {
        if (c == ' ') c = '_';
    }
    return text;
}

// The line on the row of the tabs that says why a group is grey, while it shows.
std::string greyGroupsNote(HWND panel) {
    HWND note = findControl(panel, kIdLabelGreyGroups);
    char text[128] = {};
    if (note && (GetWindowLongA(note, GWL_STYLE) & WS_VISIBLE) != 0) GetWindowTextA(note, text, sizeof text);
    return text[0] ? underscored(text) : "none";
}

std::string valueAndState(HWND control, UINT query) {
    if (!control) return "missing";
    return std::to_string(static_cast<long long>(ask(control, query))) + "," + onOff(control);
}

}  // namespace

HWND findPanelWindow() {
    HWND application = FindWindowA(panel_instance::kApplicationClass, panel_instance::kApplicationTitle);
    return application ? static_cast<HWND>(GetPropA(application, panel_instance::kFormProperty)) : nullptr;
}

std::string describePanel(HWND panel) {
    if (panel == nullptr || !IsWindow(panel)) return "none";
    // One property after the other, while the panel runs on: in the order the panel sets them.
    std::string text = "visible=" + std::string(IsWindowVisible(panel) ? "1" : "0");
    HWND tabs = findChild(panel, WC_TABCONTROLA, nullptr);
    DWORD_PTR page = static_cast<DWORD_PTR>(-1);
    if (tabs) SendMessageTimeoutA(tabs, TCM_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &page);
    HWND defaultButton = findChild(panel, "Button", "Default");
    text += " page=" + std::to_string(static_cast<long long>(static_cast<LONG_PTR>(page)));
    // Shown as far as the button goes: the window around it may be hidden.
    const bool shown = defaultButton && (GetWindowLongA(defaultButton, GWL_STYLE) & WS_VISIBLE) != 0;
    text += " default=" + onOff(defaultButton) + (shown ? ",shown" : ",hidden");
    text += " volume=" + onOff(findChild(panel, "Button", "USB Phone"));
    text += " skype=" + onOff(findChild(panel, "Button", "Skype Sound Device"));
    // The keyboard focus: the class and text of the window that has it.
    std::string focus = "none";
    if (HWND focused = findPanelFocus(panel)) {
        char className[64] = {};
        char caption[64] = {};
        GetClassNameA(focused, className, sizeof className);
        GetWindowTextA(focused, caption, sizeof caption);
        focus = underscored(std::string(className) + (caption[0] ? std::string(":") + caption : std::string()));
    }
    text += " focus=" + focus;
    RECT frame = {};
    GetWindowRect(panel, &frame);
    text += " rect=" + std::to_string(frame.left) + "," + std::to_string(frame.top) + "," +
            std::to_string(frame.right - frame.left) + "," + std::to_string(frame.bottom - frame.top);
    text += " speaker=" + valueAndState(findControl(panel, kIdTrackBarVolOut), TBM_GETPOS);
    text += " mic=" + valueAndState(findControl(panel, kIdTrackBarVolIn), TBM_GETPOS);
    text += " speakermute=" + valueAndState(findControl(panel, kIdCheckBoxVolOut), BM_GETCHECK);
    text += " micmute=" + valueAndState(findControl(panel, kIdCheckBoxVolIn), BM_GETCHECK);
    text += " lists=";
    for (int id : {kIdComboBoxSkypeOut, kIdComboBoxSkypeIn, kIdComboBoxSkypeRing}) {
        text += std::to_string(static_cast<long long>(ask(findControl(panel, id), CB_GETCURSEL)));
        if (id != kIdComboBoxSkypeRing) text += ",";
    }
    text += " note=" + greyGroupsNote(panel);
    return text;
}

std::string describeTabs(HWND panel) {
    HWND tabs = panel ? findChild(panel, WC_TABCONTROLA, nullptr) : nullptr;
    if (!tabs) return "missing";
    RECT strip = {};
    GetClientRect(tabs, &strip);
    HWND arrows = findChild(tabs, UPDOWN_CLASSA, nullptr);
    const bool arrowsShown = arrows && (GetWindowLongA(arrows, GWL_STYLE) & WS_VISIBLE) != 0;
    std::string text = "strip=" + std::to_string(strip.right) + " arrows=" + (arrowsShown ? "1" : "0") + " items=";
    // TCM_GETITEMRECT writes its answer through a pointer: one into the panel's own memory.
    DWORD processId = 0;
    GetWindowThreadProcessId(tabs, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    void* remote = process ? VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE) : nullptr;
    const LRESULT count = ask(tabs, TCM_GETITEMCOUNT);
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

HWND findControl(HWND panel, int id) {
    std::pair<int, HWND> search{id, nullptr};
    if (panel) EnumChildWindows(panel, matchId, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::string describeList(HWND list) {
    if (!list) return "missing";
    std::string text = std::to_string(static_cast<long long>(ask(list, CB_GETCURSEL))) + " ";
    const LRESULT count = ask(list, CB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        // Device names are at most 31 characters; the list's own entry is longer. Asked in
        // UTF-16: Wine hands an ANSI request's text across processes as UTF-16 all the same.
        wchar_t entry[256] = {};
        const LRESULT length = ask(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
        if (length < 0 || length >= static_cast<LRESULT>(sizeof entry / sizeof entry[0])) continue;
        // Sent with a buffer of ours: Windows copies the text back only for a sent message.
        SendMessageTimeoutW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry),
                            SMTO_ABORTIFHUNG, 2000, nullptr);
        char narrow[512] = {};
        WideCharToMultiByte(CP_ACP, 0, entry, -1, narrow, sizeof narrow, nullptr, nullptr);
        text += (i > 0 ? "|" : "") + std::string(narrow);
    }
    return text;
}

HWND findPanelFocus(HWND panel) {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(panel, nullptr), &gui)) return nullptr;
    return gui.hwndFocus;
}

HWND findOpenMenu() {
    HWND menu = FindWindowA(MAKEINTATOM(0x8000), nullptr);  // "#32768", the popup menu class
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

HWND findPanelMessageBox(std::string& text) {
    HWND box = FindWindowA(MAKEINTATOM(0x8002), panel_instance::kApplicationTitle);  // "#32770", dialogs
    if (!box || !IsWindowVisible(box)) return nullptr;
    // The message is the dialog's static text that is not the icon.
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = {};
        char line[256] = {};
        GetClassNameA(child, className, sizeof className);
        GetWindowTextA(child, line, sizeof line);
        if (lstrcmpiA(className, "Static") == 0 && line[0] != '\0') {
            text = line;
            break;
        }
    }
    return box;
}

}  // namespace desktopsim
