#pragma once

#include <windows.h>

#include "tools/skypesim/scenario_runner.h"
#include "tools/skypesim/win32/api_messages.h"
#include "tools/simkit/win32/input_thread.h"

namespace skypesim {

// Skype's API window: hidden but top-level, because broadcasts reach only top-level windows.
// Turns what arrives into calls on the runner.
class ApiWindow {
public:
    ApiWindow(ScenarioRunner& runner, simkit::InputQueue& input, const ApiMessages& messages);
    ~ApiWindow();

    ApiWindow(const ApiWindow&) = delete;
    ApiWindow& operator=(const ApiWindow&) = delete;

    HWND handle() const { return window_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void takeInput();

    ScenarioRunner& runner_;
    simkit::InputQueue& input_;
    ApiMessages messages_;
    HWND window_ = nullptr;
};

}  // namespace skypesim
