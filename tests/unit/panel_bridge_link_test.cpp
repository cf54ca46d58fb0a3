// The panel's link to the bridge: discovery, reports, the watch, relayed answers and the
// commands it sends.
#include <gtest/gtest.h>

#include <cstring>

#include "fake_panel.h"
#include "panel/device_reply.h"
#include "panel/instance_names.h"

namespace {
constexpr WindowHandle kOtherBridge = 0x200;
}  // namespace

TEST(Discovery, AnswersByPostAndTakesTheBridge) {
  PanelFixture panel;
  panel.Discover();
  EXPECT_EQ(panel.journal.With("POST"), Lines{"POST 0x100 ATTACH 0x500 0"});
  EXPECT_EQ(panel.state().FBridgeWnd, PanelFixture::kBridge);
  EXPECT_EQ(panel.state().FLastBridgeWnd, PanelFixture::kBridge);
  EXPECT_TRUE(panel.ports.Running(TPanelTimer::DrvCheck));
}

TEST(Discovery, WhileABridgeIsKnownPostsToTheOldWindowFirstEvenWhenItIsTheSame) {
  PanelFixture panel;
  panel.Discover();
  panel.journal.Clear();
  panel.Discover(kOtherBridge);
  EXPECT_EQ(panel.journal.With("POST"),
            (Lines{"POST 0x100 ATTACH 0x500 0", "POST 0x200 ATTACH 0x500 0"}));
  EXPECT_EQ(panel.state().FBridgeWnd, kOtherBridge);

  panel.journal.Clear();
  panel.Discover(kOtherBridge);
  EXPECT_EQ(panel.journal.With("POST"),
            (Lines{"POST 0x200 ATTACH 0x500 0", "POST 0x200 ATTACH 0x500 0"}));
}

TEST(Discovery, ClearsSearchMode) {
  PanelFixture panel(2, TStartSwitch::SearchMode);
  panel.Discover();
  EXPECT_FALSE(panel.state().FSearchMode);
}

TEST(StatusReport, RepliesFirstAndStoresBothWords) {
  PanelFixture panel;
  panel.Discover();
  panel.journal.Clear();
  panel.Report(0x0101, 6);
  ASSERT_FALSE(panel.journal.lines.empty());
  EXPECT_EQ(panel.journal.lines.front(), "REPLY");
  EXPECT_EQ(panel.state().FLinkStatus, 0x0101u);
  EXPECT_EQ(panel.state().FLinkInfo, 0x060000FFu);
}

TEST(StatusReport, HandsetAndSkypeEnableDefaultAndTheSkypeGroupAndLightTheIcon) {
  PanelFixture panel;
  panel.Link(0x0101);
  EXPECT_TRUE(panel.controls.default_button.Enabled());
  EXPECT_TRUE(panel.controls.skype_group.Enabled());
  EXPECT_EQ(panel.ports.tray_index, 1);
  // The handset's sound devices are not found (no device search yet): the group stays off.
  EXPECT_FALSE(panel.controls.volume_group.Enabled());
}

TEST(StatusReport, HandsetWithoutSkype) {
  PanelFixture panel;
  panel.Link(0x0101);
  panel.Report(0x0100);
  EXPECT_FALSE(panel.controls.default_button.Enabled());
  EXPECT_FALSE(panel.controls.skype_group.Enabled());
  EXPECT_EQ(panel.ports.tray_index, 1);
}

TEST(StatusReport, SkypeWithoutHandset) {
  PanelFixture panel;
  panel.Link(0x0001);
  EXPECT_FALSE(panel.controls.default_button.Enabled());
  EXPECT_TRUE(panel.controls.skype_group.Enabled());
  EXPECT_EQ(panel.ports.tray_index, 0);
}

TEST(StatusReport, TheSkypeGroupComingOnRefillsTheListsAndAsksForSkypesDevices) {
  PanelFixture panel;
  panel.Discover();
  panel.controls.skype_in.AddItem("stale");
  panel.controls.skype_in.SetItemIndex(1);
  panel.journal.Clear();
  panel.Report(0x0001);
  for (FakeComboBox* list : {&panel.controls.skype_out, &panel.controls.skype_in, &panel.controls.skype_ring}) {
    EXPECT_EQ(list->items, Lines{"Windows default sound device"});
    EXPECT_EQ(list->ItemIndex(), 0);
  }
  EXPECT_EQ(panel.journal.With("COPYDATA"),
            (Lines{"COPYDATA 0x100 !GET AUDIO_OUT", "COPYDATA 0x100 !GET AUDIO_IN",
                   "COPYDATA 0x100 !GET RINGER"}));
  EXPECT_TRUE(panel.form.SkypeDevices().ResyncPending());

  // Still attached: nothing is rebuilt, and the next report consumes the resync.
  panel.journal.Clear();
  panel.Report(0x0001);
  EXPECT_EQ(panel.journal.With("COPYDATA"), Lines{});
  EXPECT_FALSE(panel.form.SkypeDevices().ResyncPending());
}

TEST(KeyReport, WithoutAHandsetOnlyRestoresTheLinkAndStoresTheWords) {
  PanelFixture panel;
  panel.Link(0x0001);
  panel.form.TimerDrvCheckTimer();
  panel.journal.Clear();
  panel.Report(0x0001, 6, 0x11);
  EXPECT_EQ(panel.state().FBridgeWnd, PanelFixture::kBridge);
  EXPECT_EQ(panel.state().FLinkInfo, 0x06000011u);
  EXPECT_EQ(panel.form.Volume().CurrentKey(), 0);
  EXPECT_FALSE(panel.ports.Running(TPanelTimer::KeyRepeat));
  EXPECT_TRUE(panel.ports.Running(TPanelTimer::DrvCheck));
  // A key report is no status report: the groups keep their state.
  EXPECT_FALSE(panel.controls.skype_group.Enabled());
}

TEST(BridgeWatch, ExpiryDropsTheBridgeAndALaterReportRestoresTheLastOne) {
  PanelFixture panel;
  panel.Link(0x0101);
  panel.form.TimerDrvCheckTimer();
  EXPECT_EQ(panel.state().FBridgeWnd, 0u);
  EXPECT_EQ(panel.state().FLastBridgeWnd, PanelFixture::kBridge);
  EXPECT_FALSE(panel.controls.skype_group.Enabled());
  EXPECT_FALSE(panel.controls.volume_group.Enabled());
  EXPECT_FALSE(panel.controls.default_button.Enabled());
  EXPECT_EQ(panel.ports.tray_index, 0);
  EXPECT_FALSE(panel.ports.Running(TPanelTimer::DrvCheck));
  EXPECT_FALSE(panel.state().FExiting);

  panel.journal.Clear();
  panel.form.RequestRinger();
  EXPECT_EQ(panel.journal.With("COPYDATA"), Lines{});

  panel.Report(0x0001);
  EXPECT_TRUE(panel.ports.Running(TPanelTimer::DrvCheck));
  panel.journal.Clear();
  panel.form.RequestRinger();
  EXPECT_EQ(panel.journal.With("COPYDATA"), Lines{"COPYDATA 0x100 !GET RINGER"});
}

TEST(Commands, RequestRingerSendsTwelveBytes) {
  PanelFixture panel;
  panel.Link(0x0001);
  panel.form.RequestRinger();
  const std::vector<char>& data = panel.ports.last_copy_data;
  ASSERT_EQ(data.size(), 12u);
  EXPECT_EQ(std::string(data.data(), 11), "!GET RINGER");
  EXPECT_EQ(data[11], '\0');
}

TEST(Commands, NothingIsSentWithoutABridgeOrForAnEmptyText) {
  PanelFixture panel;
  panel.form.RequestAudioOut();
  panel.Link(0x0001);
  panel.form.SendToBridge("");
  EXPECT_EQ(panel.journal.With("COPYDATA"), Lines{});
}

TEST(ReplyRouting, TheKindIsFoundBySubstringWithItsBlank) {
  EXPECT_EQ(DeviceReplyKind("AUDIO_OUT Speakers (USB Phone)"), TDeviceKind::Output);
  EXPECT_EQ(DeviceReplyKind("AUDIO_IN Microphone"), TDeviceKind::Input);
  EXPECT_EQ(DeviceReplyKind("RINGER Speakers"), TDeviceKind::Ringer);
  EXPECT_EQ(DeviceReplyKind("xyz AUDIO_IN after other text"), TDeviceKind::Input);
  // AUDIO_IN is looked for first, whatever comes earlier in the text.
  EXPECT_EQ(DeviceReplyKind("AUDIO_OUT a AUDIO_IN b"), TDeviceKind::Input);
  EXPECT_EQ(DeviceReplyKind("ERROR 7 AUDIO_OUT"), std::nullopt);
  EXPECT_EQ(DeviceReplyKind("audio_out speakers"), std::nullopt);
  EXPECT_EQ(DeviceReplyKind("RINGER"), std::nullopt);
}

TEST(ReplyRouting, RoutedAnswersReachTheirListAndOthersGetTheOrdinaryHandling) {
  PanelFixture panel;
  panel.Link(0x0001);
  for (FakeComboBox* list : {&panel.controls.skype_out, &panel.controls.skype_in, &panel.controls.skype_ring}) {
    list->SetEnabled(false);
  }
  EXPECT_TRUE(panel.Answer("AUDIO_OUT Speakers"));
  EXPECT_TRUE(panel.controls.skype_out.Enabled());
  EXPECT_FALSE(panel.controls.skype_in.Enabled());
  EXPECT_EQ(panel.journal.With("REPLY"), Lines{"REPLY"});

  EXPECT_FALSE(panel.Answer("GET AUDIO_OUT"));
  EXPECT_FALSE(panel.Answer("USERSTATUS ONLINE"));
  EXPECT_FALSE(panel.controls.skype_in.Enabled());
  EXPECT_FALSE(panel.controls.skype_ring.Enabled());

  EXPECT_TRUE(panel.Answer("RINGER Speakers"));
  EXPECT_TRUE(panel.controls.skype_ring.Enabled());
}

TEST(ReplyRouting, EmptyNegativeAndUnterminatedData) {
  PanelFixture panel;
  const char text[] = "AUDIO_IN Mic";
  EXPECT_FALSE(panel.CopyData(nullptr, 0));
  EXPECT_FALSE(panel.CopyData(text, 0));
  EXPECT_FALSE(panel.CopyData(text, 0x80000000u));
  panel.controls.skype_in.SetEnabled(false);
  // cbData without the zero byte: the text still ends where the data ends.
  EXPECT_TRUE(panel.CopyData(text, static_cast<std::uint32_t>(std::strlen(text))));
  EXPECT_TRUE(panel.controls.skype_in.Enabled());
}

TEST(SecondStartCommands, OnlyTheGenuineValuesAct) {
  PanelFixture panel;
  panel.form.WMPanelExit(panel_instance::kCommandWParam, 0);
  panel.form.WMPanelRestore(1, panel_instance::kCommandLParam);
  EXPECT_EQ(panel.journal.lines, (Lines{"REPLY", "REPLY"}));
  EXPECT_FALSE(panel.state().FExiting);

  panel.form.WMPanelRestore(panel_instance::kCommandWParam, panel_instance::kCommandLParam);
  EXPECT_TRUE(panel.ports.main_window_visible);
  panel.form.WMPanelExit(panel_instance::kCommandWParam, panel_instance::kCommandLParam);
  EXPECT_TRUE(panel.state().FExiting);
  EXPECT_EQ(panel.journal.With("CLOSE"), Lines{"CLOSE"});
}

TEST(DeviceChange, NoticesRestartTheTimerWhoseRunAsksForSkypesDevicesAgain) {
  PanelFixture panel;
  panel.Link(0x0001);
  panel.form.WMWinmmDeviceChange();
  EXPECT_TRUE(panel.ports.Running(TPanelTimer::DevChg));
  EXPECT_EQ(panel.journal.lines, Lines{"REPLY"});
  // Windows' own notice leaves the sender to Windows' handling.
  panel.form.TimerDevChgTimer();
  panel.journal.Clear();
  panel.form.WMDeviceChange();
  EXPECT_TRUE(panel.ports.Running(TPanelTimer::DevChg));
  EXPECT_EQ(panel.journal.lines, Lines{});

  panel.journal.Clear();
  panel.form.TimerDevChgTimer();
  EXPECT_FALSE(panel.ports.Running(TPanelTimer::DevChg));
  // The refill asks out, in, ringer; then the three go out again, input first.
  EXPECT_EQ(panel.journal.With("COPYDATA"),
            (Lines{"COPYDATA 0x100 !GET AUDIO_OUT", "COPYDATA 0x100 !GET AUDIO_IN",
                   "COPYDATA 0x100 !GET RINGER", "COPYDATA 0x100 !GET AUDIO_IN",
                   "COPYDATA 0x100 !GET AUDIO_OUT", "COPYDATA 0x100 !GET RINGER"}));
}

TEST(OtherMessages, AnAnnouncementIsHandledSilently) {
  PanelFixture panel;
  panel.form.WMPanelAttach();
  EXPECT_EQ(panel.journal.lines, Lines{"REPLY"});
}
