// handsetlink: the hidden bridge between the USB handsets and Skype.
#include <windows.h>

#include "bridge/win32/bridge_window.h"

namespace {
constexpr char kSingleInstanceSemaphore[] = "TALVEK_Wired_Skype";
constexpr int kAlreadyRunning = 1;
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // One bridge per desktop session. The handle stays open for the life of the process.
  HANDLE instance_guard = CreateSemaphoreA(nullptr, 1, 1, kSingleInstanceSemaphore);
  if (GetLastError() == ERROR_ALREADY_EXISTS) return kAlreadyRunning;
  (void)instance_guard;

  TBridgeWindow window;
  if (!window.Create()) return 2;

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
