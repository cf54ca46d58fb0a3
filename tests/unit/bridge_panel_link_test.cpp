// The control panel's link: its attach, the answers forwarded to it and the reports posted to it.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/bridge_status.h"
#include "fake_bridge_ports.h"

using Lines = std::vector<std::string>;

TEST(PanelAttach, PanelStartRepliesThenAnnouncesTheBridgeOnce) {
  BridgeFixture bridge;
  bridge.journal.Clear();
  EXPECT_EQ(bridge.form.OnPanelAttach(FakeBridgePorts::kPanel, 0x8001), 0);
  EXPECT_EQ(bridge.journal.lines, (Lines{"REPLY", "BROADCAST TALVEKWiredUIDiscover"}));
  EXPECT_EQ(bridge.state().PanelWnd, 0u);  // the panel names its window by the attach that follows
}

TEST(PanelAttach, StatusZeroStoresOrReplacesTheWindowAndZeroWindowForgetsIt) {
  BridgeFixture bridge;
  bridge.journal.Clear();
  EXPECT_EQ(bridge.form.OnPanelAttach(FakeBridgePorts::kPanel, 0), 0);
  EXPECT_EQ(bridge.state().PanelWnd, FakeBridgePorts::kPanel);
  EXPECT_EQ(bridge.journal.lines, Lines{});

  const WindowHandle second_panel = 0x301;
  bridge.ports.live_windows.push_back(second_panel);
  bridge.form.OnPanelAttach(second_panel, 0);
  EXPECT_EQ(bridge.state().PanelWnd, second_panel);

  bridge.form.OnPanelAttach(0, 0);
  EXPECT_EQ(bridge.state().PanelWnd, 0u);
  bridge.form.CheckTalkingTimerTimer();
  bridge.Key(0x11);
  bridge.Notify("AUDIO_OUT USB Audio Device");
  EXPECT_EQ(bridge.journal.With("STATUS"), Lines{});
  EXPECT_EQ(bridge.journal.With("PANEL"), Lines{});
}

TEST(PanelAttach, OtherStatusesAreIgnored) {
  BridgeFixture bridge;
  bridge.AttachPanel();
  for (const long status : {5L, 1L, 0x8002L, -1L}) {
    SCOPED_TRACE(status);
    EXPECT_EQ(bridge.form.OnPanelAttach(0, status), 0);
    EXPECT_EQ(bridge.form.OnPanelAttach(0x999, status), 0);
  }
  EXPECT_EQ(bridge.state().PanelWnd, FakeBridgePorts::kPanel);
  EXPECT_EQ(bridge.journal.lines, Lines{});
}

TEST(PanelForwarding, DeviceAnswersReachOnlyALivePanel) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  bridge.Notify("AUDIO_OUT USB Audio Device");  // no panel attached yet
  EXPECT_EQ(bridge.journal.lines, Lines{});

  bridge.AttachPanel();
  bridge.Notify("AUDIO_OUT USB Audio Device");
  bridge.Notify("AUDIO_IN USB Audio Device");
  bridge.Notify("RINGER USB Audio Device");
  bridge.Notify("CALLS ");
  bridge.Notify("MUTE ON");
  EXPECT_EQ(bridge.journal.With("PANEL"),
            (Lines{"PANEL AUDIO_OUT USB Audio Device", "PANEL AUDIO_IN USB Audio Device",
                   "PANEL RINGER USB Audio Device"}));

  // The panel ended without saying goodbye: its stale window gets nothing, yet the
  // ringer answer still counts for the bridge.
  bridge.ports.live_windows = {FakeBridgePorts::kSkype};
  bridge.journal.Clear();
  bridge.Notify("RINGER USB PHONE");
  EXPECT_EQ(bridge.journal.lines, Lines{});
  EXPECT_EQ(bridge.state().SkypeRingerIsHandset, 1u);
}

TEST(PanelForwarding, RequestAndAnswerRoundTrip) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  bridge.AttachPanel();
  const std::string request = "!GET RINGER";
  EXPECT_EQ(bridge.form.WMCopyData(request.c_str(), request.size() + 1), 1);
  bridge.Notify("RINGER USB PHONE");
  EXPECT_EQ(bridge.journal.lines, (Lines{"SKYPE GET RINGER", "PANEL RINGER USB PHONE"}));

  // Skype not attached: the panel still gets 1, and nothing goes anywhere.
  BridgeFixture detached;
  detached.AttachPanel();
  EXPECT_EQ(detached.form.WMCopyData(request.c_str(), request.size() + 1), 1);
  EXPECT_EQ(detached.journal.lines, Lines{});
}

TEST(PanelReports, OnlyALivePanelGetsKeyAndPeriodicReports) {
  BridgeFixture bridge;
  bridge.AttachPanel();
  bridge.form.CheckTalkingTimerTimer();
  bridge.Key(0);
  EXPECT_EQ(bridge.journal.lines, (Lines{"STATUS 0100 000000ff", "STATUS 0100 00000000"}));

  bridge.ports.live_windows = {FakeBridgePorts::kSkype};
  bridge.journal.Clear();
  bridge.form.CheckTalkingTimerTimer();
  bridge.Key(0);
  EXPECT_EQ(bridge.journal.lines, Lines{});

  // Nothing was queued for later.
  bridge.ports.live_windows = {FakeBridgePorts::kSkype, FakeBridgePorts::kPanel};
  bridge.form.CheckTalkingTimerTimer();
  EXPECT_EQ(bridge.journal.lines, Lines{"STATUS 0100 000000ff"});
}

TEST(PanelReports, LinkStatusTellsSkypeAndHandsetApart) {
  struct Case {
    int handsets;
    bool skype;
    const char* status;
  };
  const Case cases[] = {{0, false, "STATUS 0000 000000ff"},
                        {0, true, "STATUS 0001 000000ff"},
                        {1, false, "STATUS 0100 000000ff"},
                        {1, true, "STATUS 0101 000000ff"},
                        {2, true, "STATUS 0101 000000ff"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status + std::string(" with ") + std::to_string(c.handsets) + " handsets");
    BridgeFixture bridge(c.handsets);
    if (c.skype) {
      bridge.AttachSkype();
      bridge.form.HandleNotification("RINGER Speakers");  // so the tick asks nothing
    }
    bridge.AttachPanel();
    bridge.form.CheckTalkingTimerTimer();
    EXPECT_EQ(bridge.journal.lines, Lines{c.status});
  }
}

TEST(PanelReports, ReportWordPutsTheKeyInTheLowByteAndTheModeInTheHighByte) {
  EXPECT_EQ(bridge_status::Report(THandsetMode::Talking, 0x11), 0x06000011u);
  EXPECT_EQ(bridge_status::Report(THandsetMode::Standby, 0xE0), 0x000000E0u);
  EXPECT_EQ(bridge_status::Report(THandsetMode::Buzzer, bridge_status::kPeriodicKey), 0x010000FFu);
  // A key value wider than a byte must not spill into bits 8 to 23.
  EXPECT_EQ(bridge_status::Report(THandsetMode::CallOut, 0x1F1), 0x040000F1u);
  EXPECT_EQ(bridge_status::ReportKey(0x06000011), 0x11);
  EXPECT_EQ(bridge_status::ReportMode(0x06000011), THandsetMode::Talking);
  EXPECT_EQ(ModeByte(bridge_status::ReportMode(0xFF0000FF)), 0xFF);
}

// A panel window of the bridge's own process would make every forward a same-thread send
// back into the bridge's own handler.
TEST(PanelSelfForwarding, OwnWindowsAreNotTakenAsThePanel) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  bridge.AttachPanel();
  const WindowHandle other_own_window = 0x101;
  bridge.ports.own_windows.push_back(other_own_window);
  bridge.ports.live_windows.push_back(FakeBridgePorts::kBridge);
  bridge.ports.live_windows.push_back(other_own_window);
  for (const WindowHandle own : {FakeBridgePorts::kBridge, other_own_window}) {
    EXPECT_EQ(bridge.form.OnPanelAttach(own, 0), 0);
    EXPECT_EQ(bridge.state().PanelWnd, FakeBridgePorts::kPanel);
  }
  bridge.Notify("AUDIO_OUT x");
  EXPECT_EQ(bridge.journal.lines, Lines{"PANEL AUDIO_OUT x"});
}

TEST(PanelSelfForwarding, ATextArrivingDuringAForwardIsNotForwardedAgain) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  bridge.AttachPanel();
  // The receiver sends every forwarded text straight back, as the bridge's own window would.
  int depth = 0;
  int deepest = 0;
  bridge.ports.on_panel_send = [&](const std::string& text) {
    ++depth;
    deepest = std::max(deepest, depth);
    if (depth < 100) bridge.form.WMCopyData(text.c_str(), text.size() + 1);
    --depth;
  };
  bridge.Notify("AUDIO_OUT x");
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(bridge.journal.lines, Lines{"PANEL AUDIO_OUT x"});

  // The guard is lifted afterwards: the next answer is forwarded as usual.
  bridge.ports.on_panel_send = nullptr;
  bridge.Notify("RINGER y");
  EXPECT_EQ(bridge.journal.With("PANEL"), (Lines{"PANEL AUDIO_OUT x", "PANEL RINGER y"}));
}
