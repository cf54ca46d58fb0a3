#include "tools/skypesim/win32/api_window.h"

#include <string>
#include <vector>

#include "tools/skypesim/copydata_bytes.h"

namespace skypesim {
namespace {

const char kClassName[] = "SkypeSimulatorAPIWindow";

WindowId ToId(WPARAM handle) { return static_cast<WindowId>(handle); }

}  // namespace

TApiWindow::TApiWindow(TScenarioRunner& runner, simkit::TInputQueue& input, const TApiMessages& messages)
    : runner_(runner), input_(input), messages_(messages) {
  CreateArgs args;
  args.class_name = kClassName;
  args.title = "Skype Simulator";
  args.style = WS_POPUP;
  args.x = args.y = args.width = args.height = 0;
  Create(args);
}

LRESULT TApiWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  // Registered message numbers are only known at run time, so they cannot be case labels.
  if (message == messages_.discover) {
    runner_.OnDiscover(ToId(wparam));
    return 0;
  }
  if (message == messages_.ui_discover) {
    runner_.OnUiDiscover(ToId(wparam));
    return 0;
  }
  switch (message) {
    case WM_COPYDATA: {
      const auto* copy_data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      const std::string text =
          copy_data ? ReceivedText(static_cast<const char*>(copy_data->lpData), copy_data->cbData) : std::string();
      return runner_.OnCommand(ToId(wparam), text) ? TRUE : FALSE;
    }
    case WM_TIMER:
      KillTimer(Handle(), wparam);  // the runner's timers fire once
      runner_.OnTimer(static_cast<unsigned>(wparam));
      return 0;
    case kWakeUpMessage:
      runner_.OnWakeUp();
      return 0;
    case kInputMessage:
      TakeInput();
      return 0;
    case WM_DESTROY:
      if (!reopening_) PostQuitMessage(0);
      return 0;
    default:
      return TWindow::HandleMessage(message, wparam, lparam);
  }
}

void TApiWindow::CloseForReopen() {
  reopening_ = true;
  Destroy();
}

void TApiWindow::TakeInput() {
  if (input_.RunLines([this](std::string& line) {
        runner_.AddLine(std::move(line));
        return true;
      })) {
    runner_.EndOfInput();
  }
}

}  // namespace skypesim
