// desktopsim: what surrounds the control panel on a desktop, for tests — the shell's
// notification area (it takes the panel's tray icon and clicks it), a bridge on the panel
// link, a look at the panel's window, and what an accessibility client hears of it. Commands
// come from standard input; every event is logged on standard output.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "tools/desktopsim/win32/desktop.h"
#include "tools/simkit/log_format.h"

int main() {
  using namespace desktopsim;
  simkit::TEventLog log;
  auto queue = std::make_shared<simkit::TInputQueue>();
  TDesktop desktop(log, *queue);
  if (!desktop.Create()) {
    std::fprintf(stderr, "desktopsim: cannot create its window (error %lu)\n", GetLastError());
    return 1;
  }
  log.Write("READY", simkit::HexValue(reinterpret_cast<UINT_PTR>(desktop.Handle())));

  simkit::TInputThread reader(GetStdHandle(STD_INPUT_HANDLE), false, desktop.Handle(), kInputMessage, queue);
  MSG message;
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) DispatchMessageA(&message);
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}
