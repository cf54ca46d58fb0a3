// skypesim: plays the Skype side of Skype's window-message API from a scenario, for tests
// and demos. Usage: skypesim [SCENARIO_FILE]; without a file the scenario is read from
// standard input. Every event is logged on standard output.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "tools/simkit/log_format.h"
#include "tools/simkit/win32/event_log.h"
#include "tools/simkit/win32/input_thread.h"
#include "tools/skypesim/scenario_runner.h"
#include "tools/skypesim/win32/api_messages.h"
#include "tools/skypesim/win32/api_window.h"
#include "tools/skypesim/win32/win32_port.h"

namespace {

constexpr int kUsageError = 2;

std::string WindowText(HWND window) { return simkit::HexValue(reinterpret_cast<UINT_PTR>(window)); }

// Opens a new API window, lets input and the port use it, then closes the old one, so no
// scenario line is posted to a window that is gone. False when no new window could be made.
bool Reopen(std::unique_ptr<skypesim::TApiWindow>& window, skypesim::TScenarioRunner& runner,
            simkit::TInputQueue& queue, const skypesim::TApiMessages& messages, skypesim::TWin32Port& port,
            simkit::TInputThread& reader, simkit::TEventLog& log) {
  auto fresh = std::make_unique<skypesim::TApiWindow>(runner, queue, messages);
  if (fresh->Handle() == nullptr) return false;
  port.SetWindow(fresh->Handle());
  reader.Retarget(fresh->Handle());
  window->CloseForReopen();
  window = std::move(fresh);
  log.Write("READY", WindowText(window->Handle()));
  // Lines that arrived while the old window was closing were announced to it.
  PostMessageA(window->Handle(), skypesim::kInputMessage, 0, 0);
  runner.OnReopened();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace skypesim;
  if (argc > 2) {
    std::fprintf(stderr, "usage: skypesim [SCENARIO_FILE]\n");
    return kUsageError;
  }
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  const bool owns_input = argc == 2;
  if (owns_input) {
    input = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (input == INVALID_HANDLE_VALUE) {
      std::fprintf(stderr, "skypesim: cannot open %s (error %lu)\n", argv[1], GetLastError());
      return kUsageError;
    }
  }

  simkit::TEventLog log;
  const TApiMessages messages = RegisterApiMessages();
  TWin32Port port(log, messages);
  TScenarioRunner runner(port);
  auto queue = std::make_shared<simkit::TInputQueue>();
  auto window = std::make_unique<TApiWindow>(runner, *queue, messages);
  if (window->Handle() == nullptr) {
    std::fprintf(stderr, "skypesim: cannot create the API window (error %lu)\n", GetLastError());
    if (owns_input) CloseHandle(input);
    return 1;
  }
  port.SetWindow(window->Handle());
  log.Write("READY", WindowText(window->Handle()));

  simkit::TInputThread reader(input, owns_input, window->Handle(), kInputMessage, queue);
  MSG message;
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    if (message.hwnd == nullptr && message.message == kReopenMessage) {
      if (!Reopen(window, runner, *queue, messages, port, reader, log)) {
        std::fprintf(stderr, "skypesim: cannot open a new API window (error %lu)\n", GetLastError());
        return 1;
      }
      continue;
    }
    DispatchMessageA(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}
