#include "tools/handsetsim/win32/sim_window.h"

#include <string>
#include <vector>

namespace handsetsim {

bool TSimWindow::Create() {
  CreateArgs args;
  args.class_name = "HandsetSimulatorWindow";
  args.title = "handsetsim";
  args.style = 0;
  args.parent = HWND_MESSAGE;
  return TWindow::Create(args);
}

LRESULT TSimWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (runner_ == nullptr) return TWindow::HandleMessage(message, wparam, lparam);
  switch (message) {
    case WM_TIMER:
      KillTimer(Handle(), wparam);  // every timer fires once
      runner_->OnTimer(static_cast<unsigned>(wparam));
      return 0;
    case kWakeUpMessage:
      runner_->OnWakeUp();
      return 0;
    case kInputMessage:
      TakeInput();
      return 0;
    default:
      return TWindow::HandleMessage(message, wparam, lparam);
  }
}

void TSimWindow::TakeInput() {
  if (input_.RunLines([this](std::string& line) {
        runner_->AddLine(std::move(line));
        return true;
      })) {
    runner_->EndOfInput();
  }
}

}  // namespace handsetsim
