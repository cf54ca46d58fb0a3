// The command line and directory of the Windows sound control panel.
#include <gtest/gtest.h>

#include "audio/sound_panel_launch.h"

TEST(SoundPanelLaunch, ThePageFollowsTheWindowsVersionClass) {
  const std::string system = "C:\\WINDOWS\\system32";
  const TSoundPanelLaunch xp = SoundPanelLaunchFor(2, system);
  EXPECT_EQ(xp.command_line,
            "C:\\WINDOWS\\system32\\rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl,,2");
  EXPECT_EQ(xp.current_directory, system);
  EXPECT_EQ(SoundPanelLaunchFor(1, system).command_line.substr(system.size()),
            "\\rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl,,1");
  for (std::uint8_t other : {0, 3}) {
    EXPECT_EQ(SoundPanelLaunchFor(other, system).command_line.back(), '0') << int(other);
  }
}

TEST(SoundPanelLaunch, WithoutASystemDirectoryTheCommandIsBare) {
  const TSoundPanelLaunch bare = SoundPanelLaunchFor(0, "");
  EXPECT_EQ(bare.command_line, "rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl,,0");
  EXPECT_EQ(bare.current_directory, "");
}
