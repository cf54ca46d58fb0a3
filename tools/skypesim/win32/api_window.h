#pragma once

#include <windows.h>

#include "common/win32/window.h"
#include "tools/simkit/win32/input_thread.h"
#include "tools/skypesim/scenario_runner.h"
#include "tools/skypesim/win32/api_messages.h"

namespace skypesim {

// Skype's API window: hidden but top-level, because broadcasts reach only top-level windows.
// Turns what arrives into calls on the runner.
class TApiWindow final : public TWindow {
 public:
  TApiWindow(TScenarioRunner& runner, simkit::TInputQueue& input, const TApiMessages& messages);
  ~TApiWindow() override { Destroy(); }

  // Closes the window without ending the simulator.
  void CloseForReopen();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void TakeInput();

  TScenarioRunner& runner_;
  simkit::TInputQueue& input_;
  TApiMessages messages_;
  bool reopening_ = false;
};

}  // namespace skypesim
