// trayconsole: the control panel of the USB handset, in the notification area.
#include <windows.h>

#include <commctrl.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "audio/win32/com_apartment.h"
#include "panel/start_switches.h"
#include "panel/win32/application_window.h"
#include "panel/win32/main_window.h"
#include "panel/win32/single_instance.h"

namespace {

std::vector<std::string> CommandLineParameters() {
  std::vector<std::string> parameters;
  for (int i = 1; i < __argc; ++i) parameters.emplace_back(__argv[i]);
  return parameters;
}

void InitCommonControlClasses() {
  INITCOMMONCONTROLSEX classes = {};
  classes.dwSize = sizeof(classes);
  classes.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_LINK_CLASS;
  InitCommonControlsEx(&classes);
}

int RunMessageLoop(TMainWindow& window) {
  MSG message;
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    if (window.TranslateWindowKeys(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const TStartSwitch start_switch = StartSwitchOf(CommandLineParameters());
  if (!CheckSingleInstance(start_switch)) return 0;

  InitCommonControlClasses();
  // COM for the audio endpoints, on this window thread; it outlives every window.
  TComApartment com;
  TApplicationWindow application;
  if (!application.Create()) return 0;
  TMainWindow window(application);
  if (!window.Create(start_switch)) return 0;
  return RunMessageLoop(window);
}
