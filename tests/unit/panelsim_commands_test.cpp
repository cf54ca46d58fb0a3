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
  EXPECT_EQ(parsePanelCommand("send-timeout 5000").kind, PanelCommandKind::SendTimeout);
  EXPECT_EQ(parsePanelCommand("  # note").kind, PanelCommandKind::Nothing);
  for (const char* bad : {"post 1 2", "post -1 0 0", "freeze -3", "auto-attach maybe", "attach now", "hello"}) {
    EXPECT_EQ(parsePanelCommand(bad).kind, PanelCommandKind::Invalid) << bad;
  }
}

TEST(PanelsimCommands, AttachNamingAWindowTextAndPostToAClass) {
  EXPECT_EQ(parsePanelCommand("attach").window, 0u);
  const PanelCommand rogue = parsePanelCommand("attach 0x1003a");
  EXPECT_EQ(rogue.kind, PanelCommandKind::Attach);
  EXPECT_EQ(rogue.window, 0x1003Au);
  const PanelCommand text = parsePanelCommand("send-text AUDIO_OUT  x ");
  EXPECT_EQ(text.kind, PanelCommandKind::SendText);
  EXPECT_EQ(text.text, "AUDIO_OUT  x ");
  const PanelCommand post = parsePanelCommand("post-to THidControlWindow 0x2b1 7 0");
  EXPECT_EQ(post.kind, PanelCommandKind::PostTo);
  EXPECT_EQ(post.windowClass, "THidControlWindow");
  EXPECT_EQ(post.message, 0x2B1u);
  EXPECT_EQ(post.wParam, 7);
  for (const char* bad : {"attach 0", "attach 1 2", "send-text", "post-to Class 1 2", "post-to 1 2 3"}) {
    EXPECT_EQ(parsePanelCommand(bad).kind, PanelCommandKind::Invalid) << bad;
  }
}
