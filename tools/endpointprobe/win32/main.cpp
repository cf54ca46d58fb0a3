// endpointprobe: the audio endpoint glue under test. Reads commands from standard input,
// logs every event on standard output, and lets go of every endpoint interface before COM
// ends.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "audio/win32/com_apartment.h"
#include "audio/win32/endpoint_volume_window.h"
#include "tools/endpointprobe/win32/probe_window.h"

int main() {
  using namespace endpointprobe;
  simkit::TEventLog log;
  int code = 1;
  {
    TComApartment com;
    TEndpointVolumeWindow endpoints;
    auto queue = std::make_shared<simkit::TInputQueue>();
    TProbeWindow window(log, *queue, endpoints);
    if (!window.Create()) {
      std::fprintf(stderr, "endpointprobe: cannot create its window (error %lu)\n", GetLastError());
      return 1;
    }
    log.Write("READY", std::string("com=") + (com.Ready() ? "ok" : "failed") +
                           " endpoints=" + (endpoints.Available() ? "available" : "unavailable"));
    simkit::TInputThread reader(GetStdHandle(STD_INPUT_HANDLE), false, window.Handle(), kInputMessage, queue);
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) DispatchMessageA(&message);
    code = got == 0 ? static_cast<int>(message.wParam) : 1;
  }
  // Only now: the probe's volume, the port and COM have all gone.
  log.Write("QUIT", "");
  return code;
}
