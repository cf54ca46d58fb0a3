#pragma once
// How the Windows sound control panel is started, opened at the page that suits the
// Windows version (`FOsKind`: 1 = NT 5.0, 2 = NT 5.1, 3 = NT 6.0, 0 = other).
#include <cstdint>
#include <string>

struct TSoundPanelLaunch {
  std::string command_line;
  // Empty: the caller's own.
  std::string current_directory;
};

// `system_directory` is empty when Windows could not tell it; the command is then bare.
TSoundPanelLaunch SoundPanelLaunchFor(std::uint8_t os_kind, const std::string& system_directory);
