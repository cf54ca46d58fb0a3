// panelsim: stands in for the control panel on the bridge link, for tests. It reads
// commands from standard input and logs every event on standard output.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "tools/panelsim/win32/panel_window.h"
#include "tools/simkit/log_format.h"

int main() {
  using namespace panelsim;
  simkit::TEventLog log;
  auto queue = std::make_shared<simkit::TInputQueue>();
  TPanelWindow window(log, *queue);
  if (!window.Create()) {
    std::fprintf(stderr, "panelsim: cannot create its window (error %lu)\n", GetLastError());
    return 1;
  }
  log.Write("READY", simkit::HexValue(reinterpret_cast<UINT_PTR>(window.Handle())));

  simkit::TInputThread reader(GetStdHandle(STD_INPUT_HANDLE), false, window.Handle(), kInputMessage, queue);
  MSG message;
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) DispatchMessageA(&message);
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}
