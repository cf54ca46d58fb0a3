// What the panel says about the link: the tray hint's second line and the note that says
// why a group is grey, from the bridge's reports and the bridge watch.
#include <gtest/gtest.h>

#include "fake_panel.h"
#include "panel/link_state.h"

namespace {
constexpr char kTitle[] = "Corvane USB Talkpod Control Panel";
std::string Hint(const char* line) { return std::string(kTitle) + "\n" + line; }
}  // namespace

TEST(LinkState, EachReportMapsToOneLineInOrderOfWhatIsMissingFirst) {
  EXPECT_EQ(LinkStateOf(false, 0x0101, 6u << 24), TLinkState::NotRunning);
  EXPECT_EQ(LinkStateOf(true, 0x0000, 0), TLinkState::NoHandset);
  EXPECT_EQ(LinkStateOf(true, 0x0001, 6u << 24), TLinkState::NoHandset);
  EXPECT_EQ(LinkStateOf(true, 0x0100, 6u << 24), TLinkState::WaitingForSkype);
  EXPECT_EQ(LinkStateOf(true, 0x0101, 0xFF), TLinkState::Ready);
  // Talking and on hold are calls; ringing (7) is not yet.
  EXPECT_EQ(LinkStateOf(true, 0x0101, (6u << 24) | 0xFF), TLinkState::InCall);
  EXPECT_EQ(LinkStateOf(true, 0x0101, (2u << 24) | 0xFF), TLinkState::InCall);
  EXPECT_EQ(LinkStateOf(true, 0x0101, (7u << 24) | 0xFF), TLinkState::Ready);
  // Only bit 0 says Skype is attached.
  EXPECT_EQ(LinkStateOf(true, 0x0102, 0), TLinkState::WaitingForSkype);
}

TEST(LinkState, TheHintKeepsTheTitleAndStaysWithinTheTipEvenForALongTitle) {
  EXPECT_EQ(TrayHint(kTitle, TLinkState::WaitingForSkype), Hint("Waiting for Skype"));
  const std::string hint = TrayHint(std::string(200, 'T'), TLinkState::NotRunning);
  EXPECT_EQ(hint.size(), kTrayHintLimit);
  EXPECT_EQ(hint.substr(hint.size() - 25), "\nHandset link not running");
}

TEST(LinkState, TheNoteNamesTheReasonOfEachGreyGroupInTheHintsWords) {
  EXPECT_EQ(GreyGroupsNote(TLinkState::Ready, true, true, true), "");
  EXPECT_EQ(GreyGroupsNote(TLinkState::NotRunning, false, false, false), "Handset link not running");
  EXPECT_EQ(GreyGroupsNote(TLinkState::NoHandset, true, false, true), "No handset plugged in");
  EXPECT_EQ(GreyGroupsNote(TLinkState::NoHandset, false, false, false), "No handset plugged in; Waiting for Skype");
  EXPECT_EQ(GreyGroupsNote(TLinkState::WaitingForSkype, false, true, false), "Waiting for Skype");
  // A handset whose sound devices cannot be found leaves its group grey with Skype ready.
  EXPECT_EQ(GreyGroupsNote(TLinkState::Ready, true, false, true), "Handset sound devices not found");
}

TEST(LinkStateOfThePanel, FollowsTheReportsAndTheBridgeWatchAndShowsOnlyChanges) {
  PanelFixture panel;
  // From the start, before any bridge: not running, and both groups say so.
  EXPECT_EQ(panel.ports.tray_hint, Hint("Handset link not running"));
  EXPECT_EQ(panel.ports.grey_groups_note, "Handset link not running");

  panel.Discover();
  panel.Report(0x0001);
  EXPECT_EQ(panel.ports.tray_hint, Hint("No handset plugged in"));
  EXPECT_EQ(panel.ports.grey_groups_note, "No handset plugged in");
  panel.journal.Clear();
  panel.Report(0x0001);  // the same once a second: nothing to change
  EXPECT_EQ(panel.journal.With("LINK"), Lines{});

  panel.Report(0x0100);
  EXPECT_EQ(panel.ports.tray_hint, Hint("Waiting for Skype"));
  panel.Report(0x0101);
  EXPECT_EQ(panel.ports.tray_hint, Hint("Ready"));
  panel.Report(0x0101, 6);
  EXPECT_EQ(panel.ports.tray_hint, Hint("In a call"));

  panel.form.TimerDrvCheckTimer();  // the bridge stopped reporting
  EXPECT_EQ(panel.ports.tray_hint, Hint("Handset link not running"));
  EXPECT_EQ(panel.ports.grey_groups_note, "Handset link not running");
}

TEST(LinkStateOfThePanel, TheNoteShowsOnTheSetupPageOnly) {
  PanelFixture panel;
  panel.form.ItemAboutClick();
  EXPECT_EQ(panel.ports.grey_groups_note, "");
  EXPECT_EQ(panel.ports.tray_hint, Hint("Handset link not running"));
  panel.form.Minimize();  // back to Setup
  EXPECT_EQ(panel.ports.grey_groups_note, "Handset link not running");
}
