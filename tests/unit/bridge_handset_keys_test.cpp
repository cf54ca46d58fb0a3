// The handset keys in each handset mode: the commands they send and the dial buffer.
#include <gtest/gtest.h>

#include "common/handset_key_values.h"
#include "fake_bridge_ports.h"

using Lines = std::vector<std::string>;

namespace {

using namespace handset_key;

constexpr THandsetMode kAllModes[] = {THandsetMode::Standby, THandsetMode::Buzzer, THandsetMode::Mute,
                                      THandsetMode::CallOut, THandsetMode::Talking};

// One handset, Skype attached, no panel, in the given mode with call 1201 up (or ringing,
// or called), journal empty.
struct KeyBridge : BridgeFixture {
  explicit KeyBridge(THandsetMode mode = THandsetMode::Standby) {
    AttachSkype();
    switch (mode) {
      case THandsetMode::Buzzer:
        Notify("CALL 1201 TYPE INCOMING_P2P");
        break;
      case THandsetMode::Mute:
        Notify("CALL 1201 STATUS INPROGRESS");
        Notify("MUTE ON");
        break;
      case THandsetMode::CallOut:
        Notify("CALL 1201 TYPE OUTGOING_P2P");
        break;
      case THandsetMode::Talking:
        Notify("CALL 1201 STATUS INPROGRESS");
        break;
      default:
        break;
    }
    EXPECT_EQ(state().HandsetMode, mode);
    journal.Clear();
  }
  Lines Press(std::uint8_t key) {
    journal.Clear();
    Key(key);
    return journal.lines;
  }
};

std::string ModeName(THandsetMode mode) { return "mode " + std::to_string(ModeByte(mode)); }

}  // namespace

TEST(HandsetKeys, UpAndDownNavigateInEveryMode) {
  for (const THandsetMode mode : kAllModes) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge bridge(mode);
    EXPECT_EQ(bridge.Press(kUp), (Lines{"SKYPE FOCUS", "SKYPE btn_released up"}));
    EXPECT_EQ(bridge.Press(kDown), (Lines{"SKYPE FOCUS", "SKYPE btn_released down"}));
  }
}

TEST(HandsetKeys, DiallingKeysTypeOutsideTalkingAndSendTonesWhileTalking) {
  struct DialKey {
    std::uint8_t key;
    char c;
  };
  const DialKey keys[] = {{0x12, '#'}, {0x13, '8'}, {0x14, '4'}, {0x17, '0'}, {0x18, '7'}, {0x19, '3'},
                          {0x1D, '6'}, {0x1E, '2'}, {0x21, '9'}, {0x22, '5'}, {0x23, '1'}};
  for (const THandsetMode mode : kAllModes) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge bridge(mode);
    std::string typed;
    for (const DialKey& k : keys) {
      const std::string c(1, k.c);
      if (mode == THandsetMode::Talking) {
        EXPECT_EQ(bridge.Press(k.key), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 DTMF " + c}));
      } else {
        EXPECT_EQ(bridge.Press(k.key), (Lines{"SKYPE FOCUS", "SKYPE btn_released " + c}));
        typed += c;
      }
    }
    EXPECT_EQ(bridge.state().DialString, typed);
    EXPECT_EQ(bridge.state().DialCount, static_cast<std::int32_t>(typed.size()));
  }
}

TEST(HandsetKeys, StarIsAToneWhileTalkingNothingWhileMutedAndTypedOtherwise) {
  for (const THandsetMode mode : kAllModes) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge bridge(mode);
    const Lines lines = bridge.Press(kStar);
    if (mode == THandsetMode::Talking) {
      EXPECT_EQ(lines, (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 DTMF *"}));
      EXPECT_EQ(bridge.state().DialString, "");
    } else if (mode == THandsetMode::Mute) {
      EXPECT_EQ(lines, Lines{"SKYPE FOCUS"});
      EXPECT_EQ(bridge.state().DialString, "");
    } else {
      EXPECT_EQ(lines, (Lines{"SKYPE FOCUS", "SKYPE btn_released *"}));
      EXPECT_EQ(bridge.state().DialString, "*");
      EXPECT_EQ(bridge.state().DialCount, 1);
    }
  }
}

TEST(HandsetKeys, TheTwentyFirstCharacterIsNeitherTypedNorStored) {
  KeyBridge bridge;
  for (int i = 0; i < 19; ++i) bridge.Key(kOne);
  EXPECT_EQ(bridge.Press(kStar), (Lines{"SKYPE FOCUS", "SKYPE btn_released *"}));
  EXPECT_EQ(bridge.state().DialCount, 20);
  EXPECT_EQ(bridge.Press(kTwo), Lines{"SKYPE FOCUS"});
  EXPECT_EQ(bridge.Press(kStar), Lines{"SKYPE FOCUS"});
  EXPECT_EQ(bridge.state().DialCount, 20);
  EXPECT_EQ(bridge.state().DialString, std::string(19, '1') + "*");

  // Tones while talking are not typing and have no limit.
  KeyBridge talking(THandsetMode::Talking);
  for (int i = 0; i < 25; ++i) talking.Key(kFive);
  EXPECT_EQ(talking.journal.With("SKYPE SET CALL").size(), 25u);
  EXPECT_EQ(talking.state().DialCount, 0);
}

TEST(HandsetKeys, MuteTogglesSkypesMuteOnlyDuringACall) {
  for (const THandsetMode mode : kAllModes) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge bridge(mode);
    const Lines lines = bridge.Press(kMute);
    if (mode == THandsetMode::Talking) {
      EXPECT_EQ(lines, (Lines{"SKYPE FOCUS", "SKYPE SET MUTE ON"}));
    } else if (mode == THandsetMode::Mute) {
      EXPECT_EQ(lines, (Lines{"SKYPE FOCUS", "SKYPE SET MUTE OFF"}));
    } else {
      EXPECT_EQ(lines, Lines{"SKYPE FOCUS"});
    }
  }
  // The command follows Skype's mute, not the mode: talking again while still muted.
  KeyBridge bridge(THandsetMode::Mute);
  bridge.Notify("CALL 1201 STATUS INPROGRESS");
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Talking);
  EXPECT_EQ(bridge.Press(kMute), (Lines{"SKYPE FOCUS", "SKYPE SET MUTE OFF"}));
}

TEST(HandsetKeys, YesByMode) {
  // Ringing: answers the incoming call, even when another call is the active one.
  KeyBridge ringing(THandsetMode::Buzzer);
  ringing.Notify("CALL 1202 TYPE INCOMING_P2P");
  ringing.Notify("CALLS 1201");
  ASSERT_EQ(ringing.state().ActiveCallId, "1201");
  EXPECT_EQ(ringing.Press(kYes), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1202 STATUS INPROGRESS"}));
  EXPECT_FALSE(ringing.state().IncomingPending);

  // In a single call: hold, then resume.
  for (const THandsetMode mode : {THandsetMode::Talking, THandsetMode::Mute}) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge bridge(mode);
    EXPECT_EQ(bridge.Press(kYes), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 STATUS ONHOLD"}));
    EXPECT_TRUE(bridge.state().HeldByHandset);
    EXPECT_EQ(bridge.Press(kYes), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 STATUS INPROGRESS"}));
    EXPECT_FALSE(bridge.state().HeldByHandset);
  }

  // Idle or calling out: Skype's own Yes, and the number typed so far is gone.
  for (const THandsetMode mode : {THandsetMode::Standby, THandsetMode::CallOut}) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge bridge(mode);
    bridge.Key(kOne);
    EXPECT_EQ(bridge.Press(kYes), (Lines{"SKYPE FOCUS", "SKYPE btn_released yes"}));
    EXPECT_EQ(bridge.state().DialCount, 0);
    EXPECT_EQ(bridge.state().DialString, "");
  }
}

TEST(HandsetKeys, YesWhileRingingForgetsAnEarlierHoldFromTheHandset) {
  KeyBridge bridge(THandsetMode::Talking);
  bridge.Key(kYes);  // call 1201 held from the handset
  bridge.Notify("MUTE ON");
  bridge.Notify("CALL 1202 TYPE INCOMING_P2P");
  ASSERT_EQ(bridge.state().HandsetMode, THandsetMode::Buzzer);
  ASSERT_TRUE(bridge.state().HeldByHandset);
  bridge.Key(kYes);
  EXPECT_FALSE(bridge.state().HeldByHandset);
  // The answered call is the one talking now: the next Yes holds it rather than resuming.
  bridge.Notify("CALL 1202 STATUS INPROGRESS");
  bridge.Notify("MUTE OFF");
  ASSERT_EQ(bridge.state().HandsetMode, THandsetMode::Talking);
  EXPECT_EQ(bridge.Press(kYes), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1202 STATUS ONHOLD"}));
}

TEST(HandsetKeys, YesWithTwoCallsHoldsTheOtherAndTakesTheWaitingOne) {
  KeyBridge bridge(THandsetMode::Talking);
  bridge.Key(kYes);  // the first call held from the handset
  bridge.Notify("CALL 1202 TYPE INCOMING_P2P");
  bridge.Notify("CALLS 1201, 1202");
  bridge.Notify("MUTE ON");
  ASSERT_EQ(bridge.state().HandsetMode, THandsetMode::Mute);
  ASSERT_TRUE(bridge.state().HeldByHandset);
  EXPECT_EQ(bridge.Press(kYes), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 STATUS ONHOLD",
                                       "SKYPE SET CALL 1202 STATUS INPROGRESS"}));
  EXPECT_FALSE(bridge.state().HeldByHandset);
  EXPECT_FALSE(bridge.state().IncomingPending);
}

TEST(HandsetKeys, NoByModeWithoutFocus) {
  KeyBridge idle;
  EXPECT_EQ(idle.Press(kNo), (Lines{"SKYPE btn_released no", "SKYPE MINIMIZE"}));
  idle.Key(kOne);
  idle.Key(kTwo);
  EXPECT_EQ(idle.Press(kNo), Lines{"SKYPE btn_released no"});
  EXPECT_EQ(idle.state().DialCount, 0);
  EXPECT_EQ(idle.state().DialString, "");

  for (const THandsetMode mode :
       {THandsetMode::Buzzer, THandsetMode::Mute, THandsetMode::CallOut, THandsetMode::Talking}) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge single(mode);
    EXPECT_EQ(single.Press(kNo), Lines{"SKYPE btn_released no"});
    EXPECT_FALSE(single.state().HeldByHandset);

    KeyBridge several(mode);
    several.Notify("CALLS 1201, 1202");
    // A list of calls would make calling out talk: the outgoing type comes after it.
    if (mode == THandsetMode::CallOut) several.Notify("CALL 1203 TYPE OUTGOING_P2P");
    ASSERT_EQ(several.state().HandsetMode, mode);
    EXPECT_EQ(several.Press(kNo), Lines{"SKYPE SET CALL 1202 STATUS FINISHED"});
    EXPECT_TRUE(several.state().HeldByHandset);
  }
}

TEST(HandsetKeys, SkypeKeyInEveryModeEmptiesTheDialBufferWithoutFocus) {
  for (const THandsetMode mode : kAllModes) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge bridge(mode);
    bridge.Key(kStar);
    bridge.Key(kOne);
    EXPECT_EQ(bridge.Press(kSkype), Lines{"SKYPE btn_released skype"});
    EXPECT_EQ(bridge.state().DialCount, 0);
    EXPECT_EQ(bridge.state().DialString, "");
  }
}

TEST(HandsetKeys, RingToneKeyStepsTheToneOnlyInStandby) {
  for (const THandsetMode mode : kAllModes) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge bridge(mode);
    const std::uint8_t tone = bridge.state().RingTone;
    const Lines lines = bridge.Press(kRingTone);
    if (mode == THandsetMode::Standby) {
      EXPECT_EQ(lines, (Lines{"SKYPE FOCUS", "MODE 0 01", "REGISTRY RingTone 1"}));
    } else {
      EXPECT_EQ(lines, Lines{"SKYPE FOCUS"});
      EXPECT_EQ(bridge.state().RingTone, tone);
      EXPECT_EQ(bridge.state().HandsetMode, mode);
    }
  }
}

TEST(HandsetKeys, HeldZeroStartsAnInternationalNumberExceptWhileTalking) {
  for (const THandsetMode mode :
       {THandsetMode::Standby, THandsetMode::Buzzer, THandsetMode::Mute, THandsetMode::CallOut}) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge bridge(mode);
    bridge.Key(kOne);
    bridge.Key(kTwo);
    EXPECT_EQ(bridge.Press(kZero), (Lines{"SKYPE FOCUS", "SKYPE btn_released 0"}));
    EXPECT_EQ(bridge.Press(kZeroHeld),
              (Lines{"SKYPE FOCUS", "SKYPE btn_released no", "SKYPE btn_released +"}));
    EXPECT_EQ(bridge.state().DialString, "+");
    EXPECT_EQ(bridge.state().DialCount, 1);
  }

  KeyBridge talking(THandsetMode::Talking);
  EXPECT_EQ(talking.Press(kZero), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 DTMF 0"}));
  EXPECT_EQ(talking.Press(kZeroHeld), Lines{"SKYPE FOCUS"});
  EXPECT_EQ(talking.state().DialString, "");
  EXPECT_EQ(talking.state().DialCount, 0);

  // A full buffer starts again from "+".
  KeyBridge full;
  for (int i = 0; i < 20; ++i) full.Key(kOne);
  full.Key(kZeroHeld);
  EXPECT_EQ(full.Press(kTwo), (Lines{"SKYPE FOCUS", "SKYPE btn_released 2"}));
  EXPECT_EQ(full.state().DialString, "+2");
}

TEST(HandsetKeys, ClearTakesBackTheLastCharacterByRetypingTheRest) {
  KeyBridge bridge;
  bridge.Key(kOne);
  bridge.Key(kTwo);
  EXPECT_EQ(bridge.Press(kClear), (Lines{"SKYPE FOCUS", "SKYPE btn_released no", "SKYPE btn_released 1"}));
  EXPECT_EQ(bridge.state().DialString, "1");
  EXPECT_EQ(bridge.state().DialCount, 1);

  KeyBridge star;
  star.Key(kOne);
  star.Key(kStar);
  star.Key(kTwo);
  EXPECT_EQ(star.Press(kClear), (Lines{"SKYPE FOCUS", "SKYPE btn_released no", "SKYPE btn_released 1",
                                       "SKYPE btn_released *"}));
  EXPECT_EQ(star.state().DialString, "1*");

  // Down to nothing, and past it: the count never goes below 0.
  EXPECT_EQ(star.Press(kClear), (Lines{"SKYPE FOCUS", "SKYPE btn_released no", "SKYPE btn_released 1"}));
  EXPECT_EQ(star.Press(kClear), (Lines{"SKYPE FOCUS", "SKYPE btn_released no"}));
  EXPECT_EQ(star.Press(kClear), (Lines{"SKYPE FOCUS", "SKYPE btn_released no"}));
  EXPECT_EQ(star.state().DialCount, 0);
  EXPECT_EQ(star.state().DialString, "");

  // After the 21st digit was refused, Clear removes the 20th.
  KeyBridge full;
  for (int i = 0; i < 21; ++i) full.Key(i < 19 ? kOne : kTwo);
  full.Key(kClear);
  EXPECT_EQ(full.state().DialString, std::string(19, '1'));
  EXPECT_EQ(full.state().DialCount, 19);
}

TEST(HandsetKeys, ClearDoesNothingAtAllOutsideStandby) {
  for (const THandsetMode mode :
       {THandsetMode::Buzzer, THandsetMode::Mute, THandsetMode::CallOut, THandsetMode::Talking}) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge bridge(mode);
    bridge.Key(kStar);
    const std::string before = bridge.state().DialString;
    EXPECT_EQ(bridge.Press(kClear), Lines{});
    EXPECT_EQ(bridge.state().DialString, before);
  }
}

TEST(HandsetKeys, KeysWithoutAnActionOnlyFocus) {
  for (const std::uint8_t key : {0x01, 0x10, 0x24, 0x7F, 0xE1, 0xF0, 0xFF}) {
    SCOPED_TRACE(static_cast<int>(key));
    KeyBridge bridge;
    EXPECT_EQ(bridge.Press(key), Lines{"SKYPE FOCUS"});
    EXPECT_EQ(bridge.state().DialCount, 0);
  }
}

TEST(HandsetKeys, ReleasePostsTheStatusReportAndNothingElse) {
  for (const THandsetMode mode : kAllModes) {
    SCOPED_TRACE(ModeName(mode));
    KeyBridge bridge(mode);
    bridge.AttachPanel();
    char report[32];
    std::snprintf(report, sizeof report, "STATUS 0101 %02x000000", static_cast<unsigned>(mode));
    EXPECT_EQ(bridge.Press(0), Lines{report});
  }
  KeyBridge no_panel;
  EXPECT_EQ(no_panel.Press(0), Lines{});
}

TEST(HandsetKeys, KeyReportGoesFirstWithTheReadThreadsKeyLinkStatusAndTheRequestedMode) {
  KeyBridge talking(THandsetMode::Talking);
  talking.AttachPanel();
  const THandsetCallbacks& thread = talking.devices->read_thread;
  thread.store_last_key(kUp);
  EXPECT_EQ(talking.Press(kUp), (Lines{"STATUS 0101 06000011", "SKYPE FOCUS", "SKYPE btn_released up"}));
  thread.store_last_key(0);
  EXPECT_EQ(talking.Press(0), Lines{"STATUS 0101 06000000"});
  EXPECT_EQ(talking.state().LinkStatus, 0x0101);

  // A held "0" is reported as the key that is down, not as the value it was turned into.
  thread.store_last_key(kZero);
  EXPECT_EQ(talking.Press(kZeroHeld), (Lines{"STATUS 0101 06000017", "SKYPE FOCUS"}));

  // Ringing with call out written in place of the buzzer: the report says ringing.
  KeyBridge ringing(THandsetMode::Buzzer);
  ringing.AttachPanel();
  ringing.devices->read_thread.store_last_key(kYes);
  EXPECT_EQ(ringing.Press(kYes).front(), "STATUS 0101 0100001b");

  // Skype gone, handset unplugged: the link status follows at once.
  KeyBridge bridge(THandsetMode::Talking);
  bridge.AttachPanel();
  bridge.ports.live_windows = {FakeBridgePorts::kPanel};
  bridge.devices->SetCount(0);
  EXPECT_EQ(bridge.Press(kNo), Lines{"STATUS 0000 06000000"});
  EXPECT_EQ(bridge.state().LinkStatus, 0x0000);
}

TEST(HandsetKeys, HeldClearEmptiesTheBufferBeforeItsClearArrives) {
  KeyBridge bridge;
  bridge.Key(kOne);
  bridge.Key(kTwo);
  bridge.form.WMHandsetDialReset();
  EXPECT_EQ(bridge.state().DialCount, 0);
  EXPECT_EQ(bridge.Press(kClear), (Lines{"SKYPE FOCUS", "SKYPE btn_released no"}));
  EXPECT_EQ(bridge.state().DialString, "");
}
