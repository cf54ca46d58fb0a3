#pragma once

#include <windows.h>

#include "common/win32/window.h"
#include "tools/skypesim/scenario_runner.h"
#include "tools/skypesim/win32/api_messages.h"
#include "tools/simkit/win32/input_thread.h"

namespace skypesim {

// Skype's API window: hidden but top-level, because broadcasts reach only top-level windows.
// Turns what arrives into calls on the runner.
class ApiWindow final : public TWindow {
public:
    ApiWindow(ScenarioRunner& runner, simkit::InputQueue& input, const ApiMessages& messages);
    ~ApiWindow() override { Destroy(); }

    HWND handle() const { return Handle(); }
    // Closes the window without ending the simulator.
    void closeForReopen();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void takeInput();

    ScenarioRunner& runner_;
    simkit::InputQueue& input_;
    ApiMessages messages_;
    bool reopening_ = false;
};

}  // namespace skypesim
