#pragma once
// The desktop around the panel: a bridge stand-in window that also runs the commands, and
// the notification area's window while the "shell" runs.
#include <windows.h>

#include <memory>
#include <string>

#include "common/win32/registered_messages.h"
#include "common/win32/window.h"
#include "tools/desktopsim/commands.h"
#include "tools/desktopsim/win32/track_bar_events.h"
#include "tools/desktopsim/win32/value_watch.h"
#include "tools/simkit/win32/event_log.h"
#include "tools/simkit/win32/input_thread.h"

namespace desktopsim {

constexpr UINT kInputMessage = WM_APP + 1;

// Shell_TrayWnd: takes the icons that Shell_NotifyIcon sends and remembers the panel's.
class TTrayWindow final : public TWindow {
 public:
  explicit TTrayWindow(simkit::TEventLog& log) : log_(log) {}
  ~TTrayWindow() override;
  bool Create();
  void SetRefusing(bool refusing) { refusing_ = refusing; }
  // Posts the mouse messages of a click to the last icon's owner, as the shell does.
  void Click(TClickKind kind);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  LRESULT OnIconData(DWORD action, const COPYDATASTRUCT& data);

  simkit::TEventLog& log_;
  bool refusing_ = false;
  HWND icon_owner_ = nullptr;
  UINT icon_id_ = 0;
  UINT callback_message_ = 0;
};

class TDesktop final : public TWindow {
 public:
  TDesktop(simkit::TEventLog& log, simkit::TInputQueue& input) : log_(log), input_(input) {}
  ~TDesktop() override;
  bool Create();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void TakeInput();
  void Run(const TCommand& command, const std::string& line);
  void OnPanelAttach(WPARAM panel, LPARAM status);
  void OnPanelText(const COPYDATASTRUCT* data);
  // The panel that attached, else the one found by its names.
  HWND Panel() const;

  simkit::TEventLog& log_;
  simkit::TInputQueue& input_;
  TRegisteredMessages messages_;
  UINT taskbar_created_ = RegisterWindowMessageA("TaskbarCreated");
  UINT track_bars_taken_ = RegisterWindowMessageA(kTrackBarsTakenMessage);
  std::unique_ptr<TTrayWindow> tray_;
  std::unique_ptr<TValueWatch> watch_;
  bool refusing_ = false;
  bool auto_discover_ = false;
  HWND attached_panel_ = nullptr;
};

}  // namespace desktopsim
