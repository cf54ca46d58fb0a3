#pragma once

#include <windows.h>

namespace skypesim {

// The registered messages of Skype's window-message API, and one more broadcast the client
// sends that the simulator only records.
struct TApiMessages {
  UINT discover = 0;
  UINT attach = 0;
  UINT ui_discover = 0;
};

TApiMessages RegisterApiMessages();

// Messages the simulator posts to its own window.
constexpr UINT kWakeUpMessage = WM_APP + 1;  // ScenarioRunner::onWakeUp
constexpr UINT kInputMessage = WM_APP + 2;   // new scenario lines, or the end of input
constexpr UINT kReopenMessage = WM_APP + 3;  // to the thread: replace the API window

}  // namespace skypesim
