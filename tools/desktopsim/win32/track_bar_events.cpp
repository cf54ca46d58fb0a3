// trackbarevents.dll: what Windows' own track bar does and Wine's does not — it tells
// accessibility clients when its position changed (EVENT_OBJECT_VALUECHANGE on its client
// object). desktopsim hooks the panel's thread with it under Wine; at the thread's next message
// the DLL subclasses the thread's track bars and stays loaded, and desktopsim lets the hook go,
// so that the panel's other messages pay for nothing while it is watched.
#include "tools/desktopsim/win32/track_bar_events.h"

#include <windows.h>
#include <commctrl.h>

#include <map>

namespace {

struct TTrackBar {
  WNDPROC original;
  LRESULT position;
};

// The subclassed track bars; only their thread touches this.
std::map<HWND, TTrackBar> g_track_bars;

LRESULT CALLBACK TrackBarProc(HWND bar, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto found = g_track_bars.find(bar);
  if (found == g_track_bars.end()) return DefWindowProcW(bar, message, wparam, lparam);
  TTrackBar& track_bar = found->second;
  const LRESULT result = CallWindowProcW(track_bar.original, bar, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    g_track_bars.erase(found);  // its handle may come back as another window's
    return result;
  }
  // Whatever moved it: its own messages, keys, the mouse.
  const LRESULT position = CallWindowProcW(track_bar.original, bar, TBM_GETPOS, 0, 0);
  if (position != track_bar.position) {
    track_bar.position = position;
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, bar, OBJID_CLIENT, CHILDID_SELF);
  }
  return result;
}

BOOL CALLBACK TakeIfTrackBar(HWND window, LPARAM) {
  char class_name[32] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  if (lstrcmpiA(class_name, TRACKBAR_CLASSA) != 0 || g_track_bars.count(window)) return TRUE;
  TTrackBar& track_bar = g_track_bars[window];
  track_bar.position = SendMessageW(window, TBM_GETPOS, 0, 0);
  track_bar.original =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrackBarProc)));
  return TRUE;
}

BOOL CALLBACK TakeTrackBarsIn(HWND top, LPARAM) {
  EnumChildWindows(top, TakeIfTrackBar, 0);
  return TRUE;
}

}  // namespace

extern "C" LRESULT CALLBACK TakeTrackBars(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    // The subclass procedure must outlive the hook that brought the DLL in.
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&TrackBarProc), &self);
    EnumThreadWindows(GetCurrentThreadId(), TakeTrackBarsIn, 0);
    if (HWND desktop = FindWindowA(desktopsim::kDesktopWindowClass, nullptr)) {
      PostMessageA(desktop, RegisterWindowMessageA(desktopsim::kTrackBarsTakenMessage), g_track_bars.size(), 0);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}
