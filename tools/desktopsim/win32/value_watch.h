#pragma once
// What an accessibility client hears of the panel: the value changes of its controls
// (EVENT_OBJECT_VALUECHANGE), each logged as it arrives with the control's position then.
// Wine's track bar does not raise them as Windows' does: under Wine the panel's track bars are
// first taken over by trackbarevents.dll, which raises them (track_bar_events.h).
#include <windows.h>

#include "tools/simkit/win32/event_log.h"

namespace desktopsim {

class TValueWatch {
 public:
  explicit TValueWatch(simkit::TEventLog& log) : log_(log) {}
  ~TValueWatch();
  TValueWatch(const TValueWatch&) = delete;
  TValueWatch& operator=(const TValueWatch&) = delete;

  // Watches the process of this panel window; false when Windows refuses a hook. Logs
  // "WATCH on" once the panel's changes can be heard.
  bool Start(HWND panel);
  // trackbarevents.dll has taken over `count` track bars of the panel: its hook can go.
  void TrackBarsTaken(WPARAM count);

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                               DWORD time);
  void Log(HWND window) const;
  bool HookWinesTrackBars(HWND panel, DWORD thread);

  simkit::TEventLog& log_;
  HWINEVENTHOOK hook_ = nullptr;
  HMODULE track_bar_events_ = nullptr;
  HHOOK take_track_bars_ = nullptr;
};

}  // namespace desktopsim
