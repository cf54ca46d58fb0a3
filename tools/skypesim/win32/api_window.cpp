#include "tools/skypesim/win32/api_window.h"

#include <string>
#include <vector>

#include "tools/skypesim/copydata_bytes.h"

namespace skypesim {
namespace {

const char kClassName[] = "SkypeSimulatorAPIWindow";

WindowId toId(WPARAM handle) {
    return static_cast<WindowId>(handle);
}

}  // namespace

ApiWindow::ApiWindow(ScenarioRunner& runner, simkit::InputQueue& input, const ApiMessages& messages)
    : runner_(runner), input_(input), messages_(messages) {
    CreateArgs args;
    args.class_name = kClassName;
    args.title = "Skype Simulator";
    args.style = WS_POPUP;
    args.x = args.y = args.width = args.height = 0;
    Create(args);
}

LRESULT ApiWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Registered message numbers are only known at run time, so they cannot be case labels.
    if (message == messages_.discover) {
        runner_.onDiscover(toId(wParam));
        return 0;
    }
    if (message == messages_.uiDiscover) {
        runner_.onUiDiscover(toId(wParam));
        return 0;
    }
    switch (message) {
    case WM_COPYDATA: {
        const auto* copyData = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const std::string text =
            copyData ? receivedText(static_cast<const char*>(copyData->lpData), copyData->cbData) : std::string();
        return runner_.onCommand(toId(wParam), text) ? TRUE : FALSE;
    }
    case WM_TIMER:
        KillTimer(Handle(), wParam);  // the runner's timers fire once
        runner_.onTimer(static_cast<unsigned>(wParam));
        return 0;
    case kWakeUpMessage:
        runner_.onWakeUp();
        return 0;
    case kInputMessage:
        takeInput();
        return 0;
    case WM_DESTROY:
        if (!reopening_) PostQuitMessage(0);
        return 0;
    default:
        return TWindow::HandleMessage(message, wParam, lParam);
    }
}

void ApiWindow::closeForReopen() {
    reopening_ = true;
    Destroy();
}

void ApiWindow::takeInput() {
    if (input_.runLines([this](std::string& line) { runner_.addLine(std::move(line)); return true; })) {
        runner_.endOfInput();
    }
}

}  // namespace skypesim
