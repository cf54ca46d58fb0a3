#include "tools/desktopsim/win32/value_watch.h"

#include <commctrl.h>

#include <string>

#include "panel/win32/window_ids.h"
#include "tools/desktopsim/win32/track_bar_events.h"
#include "tools/simkit/win32/standin_files.h"

namespace desktopsim {
namespace {

// The watch whose hook is set: a WinEvent procedure gets no pointer of its own.
const TValueWatch* g_watch = nullptr;

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

TValueWatch::~TValueWatch() {
  if (hook_) UnhookWinEvent(hook_);
  if (take_track_bars_) UnhookWindowsHookEx(take_track_bars_);
  if (track_bar_events_) FreeLibrary(track_bar_events_);
  if (g_watch == this) g_watch = nullptr;
}

bool TValueWatch::Start(HWND panel) {
  DWORD process = 0;
  const DWORD thread = GetWindowThreadProcessId(panel, &process);
  if (thread == 0 || g_watch) return false;
  hook_ = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, &TValueWatch::OnEvent, process,
                          0, WINEVENT_OUTOFCONTEXT);
  if (!hook_) return false;
  g_watch = this;
  if (UnderWine()) return HookWinesTrackBars(panel, thread);
  log_.Write("WATCH", "on");
  return true;
}

bool TValueWatch::HookWinesTrackBars(HWND panel, DWORD thread) {
  const std::string path = simkit::ModuleFolder(reinterpret_cast<const void*>(&UnderWine)) + kTrackBarEventsFile;
  track_bar_events_ = LoadLibraryA(path.c_str());
  const auto take =
      track_bar_events_
          ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(track_bar_events_, kTakeTrackBarsProc)))
          : nullptr;
  if (take) take_track_bars_ = SetWindowsHookExA(WH_GETMESSAGE, take, track_bar_events_, thread);
  if (!take_track_bars_) return false;
  // Its next message; Wine's threads also take in hooks set after their last message only then.
  PostMessageA(panel, WM_NULL, 0, 0);
  return true;
}

void TValueWatch::TrackBarsTaken(WPARAM count) {
  if (!take_track_bars_) return;  // said again before the hook went
  UnhookWindowsHookEx(take_track_bars_);
  take_track_bars_ = nullptr;
  log_.Write("WATCH", "on track-bars=" + std::to_string(count));
}

void CALLBACK TValueWatch::OnEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (g_watch && window && object == OBJID_CLIENT) g_watch->Log(window);
}

// "VALUE out 16384", "VALUE in 12288" for the two track bars; "VALUE id=N" for another control.
// Stamped with the event's arrival, before the position is asked for.
void TValueWatch::Log(HWND window) const {
  const std::uint64_t arrived = log_.Now();
  const int id = GetDlgCtrlID(window);
  if (id != kIdTrackBarVolOut && id != kIdTrackBarVolIn) {
    log_.Write("VALUE", "id=" + std::to_string(id), arrived);
    return;
  }
  DWORD_PTR position = 0;
  const bool answered = SendMessageTimeoutA(window, TBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &position) != 0;
  log_.Write("VALUE",
             std::string(id == kIdTrackBarVolOut ? "out " : "in ") +
                 (answered ? std::to_string(static_cast<long long>(position)) : std::string("none")),
             arrived);
}

}  // namespace desktopsim
