#include "tools/handsetsim/win32/sim_window.h"

#include <string>
#include <vector>

namespace handsetsim {

bool SimWindow::Create() {
    CreateArgs args;
    args.class_name = "HandsetSimulatorWindow";
    args.title = "handsetsim";
    args.style = 0;
    args.parent = HWND_MESSAGE;
    return TWindow::Create(args);
}

LRESULT SimWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (runner_ == nullptr) return TWindow::HandleMessage(message, wParam, lParam);
    switch (message) {
    case WM_TIMER:
        KillTimer(Handle(), wParam);  // every timer fires once
        runner_->onTimer(static_cast<unsigned>(wParam));
        return 0;
    case kWakeUpMessage:
        runner_->onWakeUp();
        return 0;
    case kInputMessage:
        takeInput();
        return 0;
    default:
        return TWindow::HandleMessage(message, wParam, lParam);
    }
}

void SimWindow::takeInput() {
    if (input_.runLines([this](std::string& line) { runner_->addLine(std::move(line)); return true; })) {
        runner_->endOfInput();
    }
}

}  // namespace handsetsim
