#include "audio/sound_panel_launch.h"

namespace {

// The sound control panel's pages differ between Windows versions.
char PageFor(std::uint8_t os_kind) {
  switch (os_kind) {
    case 1:
      return '1';
    case 2:
      return '2';
    default:
      return '0';
  }
}

}  // namespace

TSoundPanelLaunch SoundPanelLaunchFor(std::uint8_t os_kind, const std::string& system_directory) {
  std::string command = "rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl,,";
  command += PageFor(os_kind);
  TSoundPanelLaunch launch;
  launch.current_directory = system_directory;
  launch.command_line = system_directory.empty() ? command : system_directory + "\\" + command;
  return launch;
}
