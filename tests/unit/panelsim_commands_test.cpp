#include "tools/panelsim/panel_commands.h"

#include <gtest/gtest.h>

using namespace panelsim;

TEST(PanelsimCommands, RequestsKeepTheirTextVerbatim) {
  const PanelCommand request = parsePanelCommand("request SET AUDIO_OUT  Speakers (USB) ");
  EXPECT_EQ(request.kind, PanelCommandKind::Request);
  EXPECT_EQ(request.text, "SET AUDIO_OUT  Speakers (USB) ");
  EXPECT_EQ(parsePanelCommand("request").kind, PanelCommandKind::Invalid);
}

TEST(PanelsimCommands, NumbersAndSwitches) {
  const PanelCommand post = parsePanelCommand("post 1124 0x1b -1");
  EXPECT_EQ(post.kind, PanelCommandKind::Post);
  EXPECT_EQ(post.message, 1124u);
  EXPECT_EQ(post.wParam, 27);
  EXPECT_EQ(post.lParam, -1);
  EXPECT_FALSE(parsePanelCommand("auto-attach off").on);
  EXPECT_EQ(parsePanelCommand("freeze 8000").milliseconds, 8000u);
  EXPECT_EQ(parsePanelCommand("  # note").kind, PanelCommandKind::Nothing);
  for (const char* bad : {"post 1 2", "post -1 0 0", "freeze -3", "auto-attach maybe", "attach now", "hello"}) {
    EXPECT_EQ(parsePanelCommand(bad).kind, PanelCommandKind::Invalid) << bad;
  }
}

TEST(PanelsimCommands, StatusReportShowsTheBytesFromTheLowest) {
  EXPECT_EQ(statusReportText(0x0101, 0x060000FF), "0x0101 ff 00 00 06");
  EXPECT_EQ(statusReportText(0, 0x01000011), "0x0000 11 00 00 01");
}
