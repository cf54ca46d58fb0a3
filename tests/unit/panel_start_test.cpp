// The panel's start and end: switches, Windows version class, construction, OnCreate and
// OnDestroy.
#include <gtest/gtest.h>

#include "common/window_messages.h"
#include "fake_panel.h"
#include "panel/os_kind.h"
#include "panel/start_switches.h"

TEST(StartSwitches, OnlyASingleExactParameterCounts) {
  EXPECT_EQ(StartSwitchOf({"ZunSearchMode"}), TStartSwitch::SearchMode);
  EXPECT_EQ(StartSwitchOf({"ZunDestroyMode"}), TStartSwitch::DestroyMode);
  EXPECT_EQ(StartSwitchOf({}), TStartSwitch::None);
  EXPECT_EQ(StartSwitchOf({"zundestroymode"}), TStartSwitch::None);
  EXPECT_EQ(StartSwitchOf({"ZunDestroyMode "}), TStartSwitch::None);
  EXPECT_EQ(StartSwitchOf({"ZunDestroyMode", "now"}), TStartSwitch::None);
  EXPECT_EQ(StartSwitchOf({"ZunSearchMode", "ZunSearchMode"}), TStartSwitch::None);
}

TEST(StartSwitches, ASecondStartEndsTheRunningCopyOnlyForDestroyMode) {
  EXPECT_EQ(SecondStartMessage(TStartSwitch::DestroyMode), msg::WM_PANELEXIT);
  EXPECT_EQ(SecondStartMessage(TStartSwitch::SearchMode), msg::WM_PANELRESTORE);
  EXPECT_EQ(SecondStartMessage(TStartSwitch::None), msg::WM_PANELRESTORE);
  // With a second parameter the switch is no switch: the running panel is shown instead.
  EXPECT_EQ(SecondStartMessage(StartSwitchOf({"ZunDestroyMode", "x"})), msg::WM_PANELRESTORE);
}

TEST(OsKind, OnlyNt50To60HaveAClassOfTheirOwn) {
  EXPECT_EQ(OsKindOf(2, 5, 0), 1);
  EXPECT_EQ(OsKindOf(2, 5, 1), 2);
  EXPECT_EQ(OsKindOf(2, 6, 0), 3);
  EXPECT_EQ(OsKindOf(2, 5, 2), 0);
  EXPECT_EQ(OsKindOf(2, 6, 1), 0);
  EXPECT_EQ(OsKindOf(2, 10, 0), 0);
  EXPECT_EQ(OsKindOf(1, 5, 1), 0);  // not the NT platform
  EXPECT_EQ(OsKindOf(0, 0, 0), 0);  // the version query failed

  EXPECT_EQ(HandsetPatternFor(2), "USB Phone");
  EXPECT_EQ(HandsetPatternFor(3), "USB Phone");
  EXPECT_EQ(HandsetPatternFor(1), "USB");
  EXPECT_EQ(HandsetPatternFor(0), "USB");
}

TEST(PanelConstruction, EndsWithTheGroupsOffAndTheAnnouncementToEveryWindow) {
  PanelJournal journal;
  FakePanelPorts ports(journal);
  FakeSettingsFile settings(journal);
  settings.stored.SpeakerVolume = 70000;  // shown clamped, but kept as read
  FakePanelControls controls;
  FakePanelAudio audio;
  TPanelForm form(ports, settings, controls.Refs(), audio.Refs(), 2);
  form.Construct();

  ASSERT_FALSE(journal.lines.empty());
  EXPECT_EQ(journal.lines.front(), "TEXTS");
  EXPECT_EQ(journal.lines.back(), "SEND 0xffff ATTACH 0x500 0x8001");
  EXPECT_EQ(journal.With("SETTINGS"), Lines{"SETTINGS LOAD"});
  EXPECT_EQ(form.Volume().Values().SpeakerVolume, 70000);
  EXPECT_TRUE(form.SkypeDevices().ResyncPending());

  EXPECT_FALSE(controls.volume_group.Enabled());
  EXPECT_FALSE(controls.skype_group.Enabled());
  EXPECT_EQ(controls.speaker.Position(), 0);
  EXPECT_EQ(controls.microphone.Position(), 0);
  EXPECT_FALSE(controls.speaker.ShowTick());
  EXPECT_EQ(controls.skype_out.Text(), "Windows default sound device");
  EXPECT_EQ(controls.page_control.ActivePageIndex(), kSetupPage);
  EXPECT_EQ(ports.tray_index, 0);
  EXPECT_TRUE(ports.Running(TPanelTimer::DrvCheck));
  // No bridge is known yet: the device requests of the emptied lists go nowhere.
  EXPECT_EQ(journal.With("COPYDATA"), Lines{});
}

TEST(PanelCreate, SwitchesOfTheOnlyCopy) {
  PanelFixture plain;
  EXPECT_FALSE(plain.state().FSearchMode);

  PanelFixture search(2, TStartSwitch::SearchMode);
  EXPECT_TRUE(search.state().FSearchMode);

  PanelJournal journal;
  FakePanelPorts ports(journal);
  FakeSettingsFile settings(journal);
  FakePanelControls controls;
  FakePanelAudio audio;
  TPanelForm form(ports, settings, controls.Refs(), audio.Refs(), 2);
  form.Construct();
  journal.Clear();
  form.FormCreate(TStartSwitch::DestroyMode);
  EXPECT_EQ(journal.lines, (Lines{"PROPERTY SET", "TERMINATE"}));
}

TEST(PanelDestroy, SavesThenSaysFarewellThenDropsTheProperty) {
  PanelFixture panel;
  panel.Link(0x0001);
  panel.form.FormDestroy();
  EXPECT_EQ(panel.journal.lines,
            (Lines{"SETTINGS SAVE", "SEND 0x100 ATTACH 0 0", "PROPERTY REMOVED"}));
}

TEST(PanelDestroy, WithoutABridgeTheValuesReadAreWrittenBackAndNoFarewellGoesOut) {
  PanelJournal journal;
  FakePanelPorts ports(journal);
  FakeSettingsFile settings(journal);
  settings.stored.SkypeOutName = "USB Phone Speaker";
  settings.stored.SkypeRingName = "-1";
  settings.stored.MicVolume = 1234;
  settings.stored.SpeakerMute = true;
  FakePanelControls controls;
  FakePanelAudio audio;
  TPanelForm form(ports, settings, controls.Refs(), audio.Refs(), 2);
  form.Construct();
  form.FormCreate(TStartSwitch::DestroyMode);
  settings.stored = TPanelSettings{};
  form.FormDestroy();

  EXPECT_EQ(settings.stored.SkypeOutName, "USB Phone Speaker");
  EXPECT_EQ(settings.stored.SkypeRingName, "-1");
  EXPECT_EQ(settings.stored.MicVolume, 1234);
  EXPECT_EQ(settings.stored.SpeakerVolume, kHandsetVolumeDefault);
  EXPECT_TRUE(settings.stored.SpeakerMute);
  EXPECT_EQ(journal.With("SEND 0x100"), Lines{});
}

TEST(SearchMode, EndsAtTheFirstWatchUnlessABridgeWasDiscovered) {
  PanelFixture alone(2, TStartSwitch::SearchMode);
  alone.form.TimerDrvCheckTimer();
  EXPECT_TRUE(alone.state().FExiting);
  EXPECT_EQ(alone.journal.With("CLOSE"), Lines{"CLOSE"});

  PanelFixture found(2, TStartSwitch::SearchMode);
  found.Discover();
  found.form.TimerDrvCheckTimer();
  EXPECT_FALSE(found.state().FExiting);
  EXPECT_EQ(found.journal.With("CLOSE"), Lines{});
}

TEST(SearchMode, ADiscoveryThatAnswersTheAnnouncementBeforeOnCreateCountsToo) {
  PanelJournal journal;
  FakePanelPorts ports(journal);
  FakeSettingsFile settings(journal);
  FakePanelControls controls;
  FakePanelAudio audio;
  TPanelForm form(ports, settings, controls.Refs(), audio.Refs(), 2);
  form.Construct();
  form.WMPanelDiscover(PanelFixture::kBridge);
  form.FormCreate(TStartSwitch::SearchMode);
  EXPECT_FALSE(form.State().FSearchMode);
  form.TimerDrvCheckTimer();
  EXPECT_FALSE(form.State().FExiting);
}
