#include <gtest/gtest.h>

#include "tools/panelsim/panel_commands.h"

using namespace panelsim;

TEST(PanelsimCommands, RequestsKeepTheirTextVerbatim) {
  const TPanelCommand request = ParsePanelCommand("request SET AUDIO_OUT  Speakers (USB) ");
  EXPECT_EQ(request.kind, TPanelCommandKind::Request);
  EXPECT_EQ(request.text, "SET AUDIO_OUT  Speakers (USB) ");
  EXPECT_EQ(ParsePanelCommand("request").kind, TPanelCommandKind::Invalid);
}

TEST(PanelsimCommands, NumbersAndSwitches) {
  const TPanelCommand post = ParsePanelCommand("post 1124 0x1b -1");
  EXPECT_EQ(post.kind, TPanelCommandKind::Post);
  EXPECT_EQ(post.message, 1124u);
  EXPECT_EQ(post.wparam, 27);
  EXPECT_EQ(post.lparam, -1);
  EXPECT_FALSE(ParsePanelCommand("auto-attach off").on);
  EXPECT_EQ(ParsePanelCommand("freeze 8000").milliseconds, 8000u);
  EXPECT_EQ(ParsePanelCommand("send-timeout 5000").kind, TPanelCommandKind::SendTimeout);
  EXPECT_EQ(ParsePanelCommand("  # note").kind, TPanelCommandKind::Nothing);
  for (const char* bad : {"post 1 2", "post -1 0 0", "freeze -3", "auto-attach maybe", "attach now", "hello"}) {
    EXPECT_EQ(ParsePanelCommand(bad).kind, TPanelCommandKind::Invalid) << bad;
  }
}

TEST(PanelsimCommands, AttachNamingAWindowTextAndPostToAClass) {
  EXPECT_EQ(ParsePanelCommand("attach").window, 0u);
  const TPanelCommand rogue = ParsePanelCommand("attach 0x1003a");
  EXPECT_EQ(rogue.kind, TPanelCommandKind::Attach);
  EXPECT_EQ(rogue.window, 0x1003Au);
  const TPanelCommand text = ParsePanelCommand("send-text AUDIO_OUT  x ");
  EXPECT_EQ(text.kind, TPanelCommandKind::SendText);
  EXPECT_EQ(text.text, "AUDIO_OUT  x ");
  const TPanelCommand post = ParsePanelCommand("post-to THidControlWindow 0x2b1 7 0");
  EXPECT_EQ(post.kind, TPanelCommandKind::PostTo);
  EXPECT_EQ(post.window_class, "THidControlWindow");
  EXPECT_EQ(post.message, 0x2B1u);
  EXPECT_EQ(post.wparam, 7);
  for (const char* bad : {"attach 0", "attach 1 2", "send-text", "post-to Class 1 2", "post-to 1 2 3"}) {
    EXPECT_EQ(ParsePanelCommand(bad).kind, TPanelCommandKind::Invalid) << bad;
  }
}
