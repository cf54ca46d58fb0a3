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
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    CreateWindowExA(0, kClassName, "Skype Simulator", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                    windowClass.hInstance, this);
}

ApiWindow::~ApiWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK ApiWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<ApiWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ApiWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->onMessage(message, wParam, lParam);
}

LRESULT ApiWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
        KillTimer(window_, wParam);  // the runner's timers fire once
        runner_.onTimer(static_cast<unsigned>(wParam));
        return 0;
    case kWakeUpMessage:
        runner_.onWakeUp();
        return 0;
    case kInputMessage:
        takeInput();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void ApiWindow::takeInput() {
    std::vector<std::string> lines;
    const bool ended = input_.take(lines);
    for (std::string& line : lines) runner_.addLine(std::move(line));
    if (ended) runner_.endOfInput();
}

}  // namespace skypesim
