// The tray icon: clicks with the single-click timer, the menu's items, showing, hiding and
// closing the window, and the icon's place in the notification area.
#include <gtest/gtest.h>

#include "fake_panel.h"
#include "panel/tray_icon_state.h"

TEST(TrayClicks, ASingleLeftClickOpensTheMenuWhenTheTimerFiresAtTheClicksPosition) {
  PanelFixture panel;
  panel.ports.cursor = {40, 50};
  panel.form.TrayIconStsMouseUp(TMouseButton::Left, 40, 50);
  EXPECT_TRUE(panel.ports.Running(TPanelTimer::MouseUp));
  EXPECT_EQ(panel.journal.With("MENU"), Lines{});

  panel.ports.cursor = {300, 300};  // the mouse moved on meanwhile
  panel.form.TimerMouseUpTimer();
  EXPECT_EQ(panel.journal.With("MENU"), Lines{"MENU 40,50"});
  EXPECT_FALSE(panel.ports.Running(TPanelTimer::MouseUp));
}

TEST(TrayClicks, ADoubleClickOpensTheWindowAndNoMenu) {
  PanelFixture panel;
  // The shell reports up, double click, up.
  panel.form.TrayIconStsMouseUp(TMouseButton::Left, 1, 1);
  panel.form.ShowPanel();
  panel.form.TrayIconStsMouseUp(TMouseButton::Left, 1, 1);
  EXPECT_FALSE(panel.ports.Running(TPanelTimer::MouseUp));
  EXPECT_TRUE(panel.ports.main_window_visible);
  EXPECT_EQ(panel.journal.With("MENU"), Lines{});
}

TEST(TrayClicks, ARightClickOpensTheMenuAtOnceAndCancelsAPendingLeftClick) {
  PanelFixture panel;
  panel.form.TrayIconStsMouseUp(TMouseButton::Left, 5, 5);
  panel.form.TrayIconStsMouseUp(TMouseButton::Right, 7, 8);
  EXPECT_EQ(panel.journal.With("MENU"), Lines{"MENU 7,8"});
  EXPECT_FALSE(panel.ports.Running(TPanelTimer::MouseUp));
}

TEST(TrayClicks, TheMiddleButtonDoesNothing) {
  PanelFixture panel;
  panel.ports.cursor = {9, 9};
  panel.form.TrayIconStsMouseUp(TMouseButton::Middle, 9, 9);
  EXPECT_EQ(panel.journal.lines, Lines{});
  EXPECT_EQ(panel.state().FMenuPos.x, 100);  // still the position at creation
}

TEST(TrayMenu, AboutOpensOnTheAboutPageWithoutDefaultAndHidingReturnsToSetup) {
  PanelFixture panel;
  panel.form.ItemAboutClick();
  EXPECT_EQ(panel.controls.page_control.ActivePageIndex(), kAboutPage);
  EXPECT_FALSE(panel.controls.default_button.Visible());
  EXPECT_TRUE(panel.ports.main_window_visible);

  EXPECT_FALSE(panel.form.FormClose());
  EXPECT_FALSE(panel.ports.main_window_visible);
  EXPECT_EQ(panel.controls.page_control.ActivePageIndex(), kSetupPage);
  EXPECT_TRUE(panel.controls.default_button.Visible());
}

TEST(TrayMenu, ShowingTheWindowResyncsAndAsksForSkypesDevicesThenComesToTheFront) {
  PanelFixture panel;
  panel.Link(0x0001);
  panel.Report(0x0001);  // consumes the pending resync
  panel.journal.Clear();
  panel.form.ItemSetupClick();
  EXPECT_TRUE(panel.form.SkypeDevices().ResyncPending());
  EXPECT_EQ(panel.journal.lines,
            (Lines{"SHOW", "COPYDATA 0x100 !GET AUDIO_OUT", "COPYDATA 0x100 !GET AUDIO_IN",
                   "COPYDATA 0x100 !GET RINGER", "FOREGROUND"}));
}

TEST(TrayMenu, ExitReallyCloses) {
  PanelFixture panel;
  panel.form.ItemExitClick();
  EXPECT_TRUE(panel.state().FExiting);
  EXPECT_EQ(panel.journal.lines, Lines{"CLOSE"});
  EXPECT_TRUE(panel.form.FormClose());
  EXPECT_EQ(panel.journal.With("HIDE"), Lines{});
}

TEST(SoundControlPanel, TheSetupButtonStartsItForTheWindowsVersion) {
  PanelFixture panel(3);
  panel.form.suiButtonSysAudioOutClick();
  panel.form.suiButtonSysAudioOutClick();
  EXPECT_EQ(panel.journal.lines, (Lines{"SOUND PANEL 3", "SOUND PANEL 3"}));
}

TEST(TrayIconState, AnIconRefusedForWantOfAShellComesBackWithTheChosenImage) {
  TTrayIconState icon;
  EXPECT_EQ(icon.AddResult(false, false), TTrayAddOutcome::WaitForShell);
  EXPECT_FALSE(icon.SetIconIndex(1));  // nothing to change in the notification area yet
  EXPECT_TRUE(icon.TaskbarCreated());
  EXPECT_EQ(icon.AddResult(true, true), TTrayAddOutcome::Added);
  EXPECT_EQ(icon.IconIndex(), 1);
  EXPECT_TRUE(icon.SetIconIndex(0));
  EXPECT_FALSE(icon.SetIconIndex(0));
}

TEST(TrayIconState, OnlyTheFirstRefusalByAPresentShellIsFatal) {
  TTrayIconState refused;
  EXPECT_EQ(refused.AddResult(false, true), TTrayAddOutcome::Failed);

  TTrayIconState restarted;
  EXPECT_EQ(restarted.AddResult(true, true), TTrayAddOutcome::Added);
  // Explorer restarted: the icon is added again; a refusal now waits for the next chance.
  EXPECT_TRUE(restarted.TaskbarCreated());
  EXPECT_EQ(restarted.AddResult(false, true), TTrayAddOutcome::WaitForShell);
  EXPECT_FALSE(restarted.InNotificationArea());
}

TEST(TrayIconState, ARemovedIconStaysAway) {
  TTrayIconState icon;
  icon.AddResult(true, true);
  icon.Removed();
  EXPECT_FALSE(icon.TaskbarCreated());
  EXPECT_FALSE(icon.SetIconIndex(1));
}
