#pragma once
// The panel simulator's hidden window: it answers the bridge's discoveries, logs the reports
// and texts the bridge sends, and carries out the command lines.
#include <windows.h>

#include <memory>

#include "common/win32/registered_messages.h"
#include "common/win32/window.h"
#include "tools/panelsim/panel_commands.h"
#include "tools/simkit/win32/event_log.h"
#include "tools/simkit/win32/input_thread.h"

namespace panelsim {

constexpr UINT kInputMessage = WM_APP + 1;

class TPanelWindow final : public TWindow {
 public:
  TPanelWindow(simkit::TEventLog& log, simkit::TInputQueue& input);
  ~TPanelWindow() override { Destroy(); }
  bool Create();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void OnDiscover(HWND bridge);
  void TakeInput();
  void Run(const TPanelCommand& command, const std::string& line);
  void LogResult(const char* event, const std::string& details, BOOL sent, DWORD_PTR result);

  simkit::TEventLog& log_;
  simkit::TInputQueue& input_;
  TRegisteredMessages messages_;
  HWND bridge_ = nullptr;
  bool auto_attach_ = true;
  UINT send_timeout_ms_;
};

}  // namespace panelsim
