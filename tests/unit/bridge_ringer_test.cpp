// The handset's mode writes, the ring tone and the one-second watch.
#include <gtest/gtest.h>

#include "fake_bridge_ports.h"

using Lines = std::vector<std::string>;

namespace {

constexpr std::uint8_t kRingToneKey = 0x1A;

// The ring tone as the bridge holds it after one ring that loaded `stored` from the registry,
// back in standby; journal empty.
void LoadToneByRinging(BridgeFixture& bridge, std::uint32_t stored) {
  bridge.ports.registry.values["RingTone"] = stored;
  bridge.form.SetHandsetMode(THandsetMode::Buzzer);
  bridge.form.SetHandsetMode(THandsetMode::Standby);
  bridge.journal.Clear();
}

}  // namespace

TEST(SetHandsetMode, WritesOnlyWhenTheModeChanges) {
  BridgeFixture bridge;
  bridge.journal.Clear();
  bridge.form.SetHandsetMode(THandsetMode::Standby);  // nothing written yet: written whatever it is
  bridge.form.SetHandsetMode(THandsetMode::Standby);
  bridge.form.SetHandsetMode(THandsetMode::Talking);
  bridge.form.SetHandsetMode(THandsetMode::Talking);
  bridge.form.SetHandsetMode(THandsetMode::Mute);
  bridge.form.SetHandsetMode(THandsetMode::Talking);
  EXPECT_EQ(bridge.journal.lines, (Lines{"MODE 0 00", "MODE 6 00", "MODE 2 00", "MODE 6 00"}));
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Talking);
  EXPECT_EQ(bridge.state().LastSentMode, THandsetMode::Talking);
}

TEST(SetHandsetMode, BuzzerAndCallOutAreWrittenTwice) {
  BridgeFixture bridge;
  bridge.form.HandleNotification("RINGER USB PHONE");
  bridge.journal.Clear();
  bridge.form.SetHandsetMode(THandsetMode::Buzzer);
  EXPECT_EQ(bridge.journal.With("MODE"), (Lines{"MODE 1 80", "MODE 1 80"}));
  bridge.journal.Clear();
  bridge.form.SetHandsetMode(THandsetMode::Buzzer);
  EXPECT_EQ(bridge.journal.With("MODE"), Lines{});
  bridge.form.SetHandsetMode(THandsetMode::CallOut);
  bridge.form.SetHandsetMode(THandsetMode::CallOut);
  EXPECT_EQ(bridge.journal.With("MODE"), (Lines{"MODE 4 80", "MODE 4 80"}));
}

TEST(SetHandsetMode, BuzzerOnlyWhereSkypeRingsOnTheHandsetAndTheUserAllowsIt) {
  struct Case {
    const char* ringer;      // Skype's answer about its ringing device, or none
    const char* userstatus;  // the user's status
    THandsetMode written;
  };
  const Case cases[] = {
      {nullptr, "USERSTATUS ONLINE", THandsetMode::CallOut},
      {"RINGER Speakers", "USERSTATUS ONLINE", THandsetMode::CallOut},
      {"RINGER USB PHONE", "USERSTATUS DND", THandsetMode::CallOut},
      {"RINGER USB PHONE", "USERSTATUS ONLINE", THandsetMode::Buzzer},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ringer ? c.ringer : "no ringer answer") + ", " + c.userstatus);
    BridgeFixture bridge;
    if (c.ringer) bridge.form.HandleNotification(c.ringer);
    bridge.form.HandleNotification(c.userstatus);
    bridge.journal.Clear();
    bridge.form.SetHandsetMode(THandsetMode::Buzzer);
    const std::string line = "MODE " + std::to_string(ModeByte(c.written)) + " 80";
    EXPECT_EQ(bridge.journal.lines, (Lines{line, line}));
    EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Buzzer);
    EXPECT_EQ(bridge.state().LastSentMode, c.written);
  }
}

TEST(SetHandsetMode, WithoutHandsetRecordsTheWriteAndANewHandsetGetsTheNextMode) {
  BridgeFixture bridge(/*handsets=*/0);
  bridge.form.SetHandsetMode(THandsetMode::Talking);
  EXPECT_EQ(bridge.state().LastSentMode, THandsetMode::Talking);
  EXPECT_TRUE(bridge.journal.With("MODE").empty());
  bridge.devices->SetCount(1);
  EXPECT_EQ(bridge.state().LastSentMode, std::nullopt);
  bridge.journal.Clear();
  bridge.form.SetHandsetMode(THandsetMode::Talking);
  EXPECT_EQ(bridge.journal.lines, Lines{"MODE 6 00"});
}

TEST(RingToneLoad, EachBuzzerRequestReadsTheStoredToneLowByte) {
  BridgeFixture bridge;
  bridge.ports.registry.values["RingTone"] = 0x1F2;
  bridge.journal.Clear();
  bridge.form.SetHandsetMode(THandsetMode::Buzzer);
  EXPECT_EQ(bridge.state().RingTone, 0xF2);
  EXPECT_EQ(bridge.journal.lines, (Lines{"MODE 4 f2", "MODE 4 f2"}));

  // Other modes do not read it.
  bridge.ports.registry.values["RingTone"] = 0x03;
  bridge.form.SetHandsetMode(THandsetMode::Talking);
  EXPECT_EQ(bridge.state().RingTone, 0xF2);
  bridge.form.SetHandsetMode(THandsetMode::Buzzer);
  EXPECT_EQ(bridge.state().RingTone, 0x03);
}

TEST(RingToneLoad, MissingValueIsStoredAs128ButTheReportsCarryZero) {
  BridgeFixture bridge;
  LoadToneByRinging(bridge, 0x42);
  ASSERT_EQ(bridge.state().RingTone, 0x42);
  bridge.ports.registry.values.erase("RingTone");
  bridge.form.SetHandsetMode(THandsetMode::Buzzer);
  EXPECT_EQ(bridge.journal.lines, (Lines{"REGISTRY RingTone 128", "MODE 4 00", "MODE 4 00"}));
  EXPECT_EQ(bridge.state().RingTone, 0);
  EXPECT_EQ(bridge.ports.registry.values["RingTone"], 128u);
}

TEST(RingToneLoad, UnopenableKeyLeavesTheToneAsItWas) {
  BridgeFixture bridge;
  LoadToneByRinging(bridge, 0x42);
  bridge.ports.registry.can_open = false;
  bridge.form.SetHandsetMode(THandsetMode::Buzzer);
  EXPECT_EQ(bridge.journal.lines, (Lines{"MODE 4 42", "MODE 4 42"}));
  EXPECT_EQ(bridge.state().RingTone, 0x42);
}

TEST(RingToneStep, FromTheDefaultToneFourPressesComeRoundAgain) {
  BridgeFixture bridge;
  LoadToneByRinging(bridge, 0x80);
  for (int i = 0; i < 4; ++i) bridge.Key(kRingToneKey);
  // Skype is not attached, so only the handset and the registry see the steps.
  EXPECT_EQ(bridge.journal.lines,
            (Lines{"MODE 0 81", "REGISTRY RingTone 129", "MODE 0 82", "REGISTRY RingTone 130",
                   "MODE 0 83", "REGISTRY RingTone 131", "MODE 0 80", "REGISTRY RingTone 128"}));
  EXPECT_EQ(bridge.state().RingTone, 0x80);
  EXPECT_EQ(bridge.state().LastSentMode, THandsetMode::Standby);
}

TEST(RingToneStep, CarriesOnlyFromFifteenAndWrapsInEightBits) {
  struct Case {
    std::uint32_t from;
    std::uint8_t to;
  };
  const Case cases[] = {{0x0F, 0x10}, {0x0B, 0x00}, {0x07, 0x00}, {0xF3, 0xF0}, {0xFF, 0x00}, {0x00, 0x01}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    BridgeFixture bridge;
    LoadToneByRinging(bridge, c.from);
    bridge.Key(kRingToneKey);
    char mode_line[16];
    std::snprintf(mode_line, sizeof mode_line, "MODE 0 %02x", c.to);
    EXPECT_EQ(bridge.journal.lines, (Lines{mode_line, "REGISTRY RingTone " + std::to_string(c.to)}));
  }
}

TEST(RingToneStep, UnopenableKeyStillGivesTheHandsetTheNewTone) {
  BridgeFixture bridge;
  bridge.ports.registry.can_open = false;
  bridge.journal.Clear();
  bridge.Key(kRingToneKey);
  EXPECT_EQ(bridge.journal.lines, Lines{"MODE 0 01"});
  EXPECT_EQ(bridge.state().RingTone, 1);
}

TEST(TalkingWatch, AsksForTheRingerWhileUndeterminedAndAttachedUntilAnswered) {
  BridgeFixture bridge;
  bridge.journal.Clear();
  bridge.form.CheckTalkingTimerTimer();  // Skype not attached: nothing to ask
  EXPECT_EQ(bridge.journal.lines, Lines{});

  bridge.AttachSkype();
  bridge.form.CheckTalkingTimerTimer();
  bridge.form.CheckTalkingTimerTimer();
  EXPECT_EQ(bridge.journal.lines, (Lines{"SKYPE GET RINGER", "SKYPE GET RINGER"}));

  bridge.Notify("RINGER Speakers");
  bridge.journal.Clear();
  bridge.form.CheckTalkingTimerTimer();
  EXPECT_EQ(bridge.journal.lines, Lines{});
}

TEST(TalkingWatch, SkypeGoneMakesTheRingerUndeterminedSoItIsAskedAfterTheNextAttach) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  bridge.Notify("RINGER USB PHONE");
  bridge.ports.live_windows = {FakeBridgePorts::kPanel};
  bridge.form.CheckTalkingTimerTimer();
  EXPECT_EQ(bridge.state().SkypeRingerIsHandset, kRingerUndetermined);
  EXPECT_EQ(bridge.state().LinkStatus, 0x0100);

  bridge.ports.live_windows = {FakeBridgePorts::kSkype, FakeBridgePorts::kPanel};
  bridge.AttachSkype();
  bridge.form.CheckTalkingTimerTimer();
  EXPECT_EQ(bridge.journal.lines, Lines{"SKYPE GET RINGER"});
  EXPECT_EQ(bridge.state().LinkStatus, 0x0101);
}

TEST(TalkingWatch, PollsTheActiveCallsOnlyWithAHandsetWhileRingingTalkingOrMuted) {
  const THandsetMode modes[] = {THandsetMode::Standby, THandsetMode::Buzzer, THandsetMode::Mute, THandsetMode::CallOut,
                                THandsetMode::Talking};
  for (const int handsets : {0, 1, 2}) {
    for (const THandsetMode mode : modes) {
      SCOPED_TRACE("handsets " + std::to_string(handsets) + ", mode " + std::to_string(ModeByte(mode)));
      BridgeFixture bridge(handsets);
      bridge.form.SetHandsetMode(mode);
      bridge.journal.Clear();
      bridge.form.CheckTalkingTimerTimer();
      const bool polls =
          handsets > 0 && (mode == THandsetMode::Buzzer || mode == THandsetMode::Mute || mode == THandsetMode::Talking);
      EXPECT_EQ(bridge.journal.lines, polls ? Lines{"QUERY 1 0"} : Lines{});
    }
  }
}

TEST(TalkingWatch, PeriodicReportCarriesFFAndTheRequestedModeAfterTheRingerQuestion) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  bridge.AttachPanel();
  bridge.form.CheckTalkingTimerTimer();
  EXPECT_EQ(bridge.journal.lines, (Lines{"SKYPE GET RINGER", "STATUS 0101 000000ff"}));
  bridge.Notify("RINGER Speakers");

  // Ringing, with call out written in place of the buzzer: the report says 1.
  bridge.Notify("CALL 1201 TYPE INCOMING_P2P");
  bridge.journal.Clear();
  bridge.form.CheckTalkingTimerTimer();
  EXPECT_EQ(bridge.journal.lines, (Lines{"STATUS 0101 010000ff", "QUERY 1 0"}));

  bridge.Notify("CALL 1201 STATUS INPROGRESS");
  bridge.ports.queries.clear();
  bridge.journal.Clear();
  bridge.form.CheckTalkingTimerTimer();
  EXPECT_EQ(bridge.journal.lines, (Lines{"STATUS 0101 060000ff", "QUERY 1 0"}));
}

TEST(TalkingWatch, ForgetsTheLastKeyOnlyOnceThePanelHasItsReport) {
  BridgeFixture bridge;
  const THandsetCallbacks& thread = bridge.devices->read_thread;
  thread.store_last_key(0x11);
  bridge.form.CheckTalkingTimerTimer();  // no panel: the key stays for the next report
  EXPECT_EQ(bridge.state().LastKey, 0x11u);

  bridge.AttachPanel();
  bridge.form.CheckTalkingTimerTimer();
  EXPECT_EQ(bridge.journal.lines, Lines{"STATUS 0100 000000ff"});  // about no key
  EXPECT_EQ(bridge.state().LastKey, 0u);
  bridge.Key(0x11);
  EXPECT_EQ(bridge.journal.With("STATUS").back(), "STATUS 0100 00000000");
}
