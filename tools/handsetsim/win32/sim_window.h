#pragma once
// The simulator's message-only window: its timers, its wake-ups and its scenario input.
#include <windows.h>

#include "common/win32/window.h"
#include "tools/handsetsim/scenario_runner.h"
#include "tools/simkit/win32/input_thread.h"

namespace handsetsim {

constexpr UINT kWakeUpMessage = WM_APP + 1;
constexpr UINT kInputMessage = WM_APP + 2;

class TSimWindow final : public TWindow {
 public:
  explicit TSimWindow(simkit::TInputQueue& input) : input_(input) {}
  ~TSimWindow() override { Destroy(); }
  bool Create();
  // The runner exists after the window: the port it uses needs the window's handle.
  void SetRunner(TScenarioRunner* runner) { runner_ = runner; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void TakeInput();

  simkit::TInputQueue& input_;
  TScenarioRunner* runner_ = nullptr;
};

}  // namespace handsetsim
