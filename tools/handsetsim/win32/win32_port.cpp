#include "tools/handsetsim/win32/win32_port.h"

#include "tools/handsetsim/win32/sim_window.h"

namespace handsetsim {

void TWin32Port::StartTimer(unsigned id, std::uint32_t milliseconds) {
  // Never leave the scenario paused for good: without a timer, end the pause at once.
  if (SetTimer(window_, id, milliseconds, nullptr) == 0) PostMessageA(window_, WM_TIMER, id, 0);
}

void TWin32Port::WakeUp() { PostMessageA(window_, kWakeUpMessage, 0, 0); }

}  // namespace handsetsim
