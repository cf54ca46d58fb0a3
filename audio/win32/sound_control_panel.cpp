#include "audio/win32/sound_control_panel.h"

#include <windows.h>

#include <string>
#include <vector>

#include "audio/sound_panel_launch.h"
#include "common/win32/scoped_handles.h"

namespace {

std::string SystemDirectory() {
  char directory[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(directory, length);
}

}  // namespace

void StartSoundControlPanel(std::uint8_t os_kind) {
  const TSoundPanelLaunch launch = SoundPanelLaunchFor(os_kind, SystemDirectory());
  // CreateProcessA may write into the command line: give it a copy of its own.
  std::vector<char> command_line(launch.command_line.begin(), launch.command_line.end());
  command_line.push_back('\0');

  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USEPOSITION;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  const char* directory = launch.current_directory.empty() ? nullptr : launch.current_directory.c_str();
  if (CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, TRUE,
                     CREATE_NEW_CONSOLE | HIGH_PRIORITY_CLASS, nullptr, directory, &startup, &process)) {
    // Not waited for and not kept.
    TKernelHandle(process.hThread).Close();
    TKernelHandle(process.hProcess).Close();
  }
}
