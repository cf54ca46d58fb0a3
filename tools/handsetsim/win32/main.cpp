// handsetsim: simulated USB handsets for the bridge, served as named pipes that the stand-in
// hid.dll and SetupApi.dll enumerate and open. Usage: handsetsim [SCENARIO_FILE]; without a
// file the commands come from standard input. Every event is logged on standard output.
// The environment variable HANDSETSIM_PIPE names the pipes (default "handsetsim").
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tools/handsetsim/device_config.h"
#include "tools/handsetsim/scenario_runner.h"
#include "tools/handsetsim/simulator.h"
#include "tools/handsetsim/win32/pipe_server.h"
#include "tools/handsetsim/win32/sim_window.h"
#include "tools/handsetsim/win32/win32_port.h"
#include "tools/simkit/win32/event_log.h"
#include "tools/simkit/win32/input_thread.h"

namespace {

constexpr int kUsageError = 2;

// Another simulator serving the same names would share the clients. Wine ignores
// FILE_FLAG_FIRST_PIPE_INSTANCE, so look for a server first.
bool PipeTaken(const std::string& path) {
  HANDLE pipe = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (pipe != INVALID_HANDLE_VALUE) {
    CloseHandle(pipe);
    return true;
  }
  return GetLastError() == ERROR_PIPE_BUSY;
}

// Messages, timers, client connections and pipe completions, until the scenario quits.
int RunLoop(handsetsim::TPipeServer& pipes) {
  for (;;) {
    const std::vector<HANDLE> handles = pipes.WaitHandles();
    const DWORD count = static_cast<DWORD>(handles.size());
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(count, handles.data(), INFINITE, QS_ALLINPUT, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
    if (woken == WAIT_IO_COMPLETION) continue;
    if (woken == WAIT_FAILED) return 1;
    if (woken < WAIT_OBJECT_0 + count) {
      pipes.OnSignaled(handles[woken - WAIT_OBJECT_0]);
      continue;
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
      DispatchMessageA(&message);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace handsetsim;
  if (argc > 2) {
    std::fprintf(stderr, "usage: handsetsim [SCENARIO_FILE]\n");
    return kUsageError;
  }
  const char* base = std::getenv("HANDSETSIM_PIPE");
  const std::string pipe_base = base != nullptr && *base != '\0' ? base : std::string(kDefaultPipeBase);
  if (!ValidPipeBase(pipe_base)) {
    std::fprintf(stderr, "handsetsim: HANDSETSIM_PIPE may hold only letters, digits, '.', '_' and '-'\n");
    return kUsageError;
  }
  if (PipeTaken(ControlPipePath(pipe_base))) {
    std::fprintf(stderr, "handsetsim: another simulator serves %s\n", ControlPipePath(pipe_base).c_str());
    return 1;
  }
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  const bool owns_input = argc == 2;
  if (owns_input) {
    input = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (input == INVALID_HANDLE_VALUE) {
      std::fprintf(stderr, "handsetsim: cannot open %s (error %lu)\n", argv[1], GetLastError());
      return kUsageError;
    }
  }

  simkit::TEventLog log;
  auto queue = std::make_shared<simkit::TInputQueue>();
  TSimWindow window(*queue);
  if (!window.Create()) {
    std::fprintf(stderr, "handsetsim: cannot create its window (error %lu)\n", GetLastError());
    if (owns_input) CloseHandle(input);
    return 1;
  }
  TWin32Port port(log, window.Handle());
  TSimulator simulator(port, pipe_base);
  TPipeServer pipes(simulator);
  port.SetPipes(&pipes);
  TScenarioRunner runner(port, simulator);
  window.SetRunner(&runner);
  if (!simulator.Start()) {
    if (owns_input) CloseHandle(input);
    return 1;
  }

  simkit::TInputThread reader(input, owns_input, window.Handle(), kInputMessage, queue);
  const int status = RunLoop(pipes);
  pipes.CloseAll();
  return status;
}
