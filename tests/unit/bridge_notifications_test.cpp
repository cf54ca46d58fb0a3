// Skype's texts: how they are split into words and what each rule does to the call state.
#include <gtest/gtest.h>

#include "bridge/notification_text.h"
#include "fake_bridge_ports.h"

using Lines = std::vector<std::string>;

namespace {

// A bridge with one handset, attached to Skype, no panel, journal empty.
struct AttachedBridge : BridgeFixture {
  explicit AttachedBridge(int windows_major = 6) : BridgeFixture(1, windows_major) { AttachSkype(); }
};

}  // namespace

TEST(SplitWords, SplitsAtSingleBlanksAndStopsAtTheFirstEmptyWord) {
  EXPECT_EQ(SplitWords("CALL 1201 STATUS RINGING"), (Lines{"CALL", "1201", "STATUS", "RINGING"}));
  EXPECT_EQ(SplitWords(""), Lines{});
  EXPECT_EQ(SplitWords(" CALL 1201"), Lines{});
  EXPECT_EQ(SplitWords("CALL 1201  STATUS INPROGRESS"), (Lines{"CALL", "1201"}));
  EXPECT_EQ(SplitWords("CALLS "), Lines{"CALLS"});
  EXPECT_EQ(SplitWords("CALLS 1, 2"), (Lines{"CALLS", "1,", "2"}));
}

TEST(SplitWords, TrimsControlCharactersAtTheEdgesOfEachWordOnly) {
  EXPECT_EQ(SplitWords("\tMUTE\r ON\r\n"), (Lines{"MUTE", "ON"}));
  // Only the blank separates words; a tab inside a word stays.
  EXPECT_EQ(SplitWords("A\tB C"), (Lines{"A\tB", "C"}));
  // A word of nothing but control characters counts as empty and ends the split.
  EXPECT_EQ(SplitWords("CALL \t\n STATUS"), Lines{"CALL"});
  // Bytes above 127 are text, not control characters (a signed char would say otherwise).
  EXPECT_EQ(SplitWords("\xA0Name\xFF x"), (Lines{"\xA0Name\xFF", "x"}));
}

TEST(SplitWords, KeepsAtMostElevenWordsAndTheEleventhEndsAtTheNextBlank) {
  EXPECT_EQ(SplitWords("1 2 3 4 5 6 7 8 9 10 11 12 13"),
            (Lines{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}));
  EXPECT_EQ(SplitWords("1 2 3 4 5 6 7 8 9 10 eleven"),
            (Lines{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "eleven"}));
}

TEST(RelayRule, PassesThePanelsDeviceRequestsToSkypeExactly) {
  AttachedBridge bridge;
  for (const std::string request :
       {"GET AUDIO_OUT", "GET AUDIO_IN", "GET RINGER", "SET AUDIO_OUT USB Audio Device",
        "SET AUDIO_IN USB Audio Device", "SET RINGER Speakers (Realtek)", "SET AUDIO_OUT  two  blanks"}) {
    SCOPED_TRACE(request);
    bridge.journal.Clear();
    bridge.Notify("!" + request);
    EXPECT_EQ(bridge.journal.lines, Lines{"SKYPE " + request});
  }
}

TEST(RelayRule, DropsEverythingElseAndAppliesNoOtherRule) {
  AttachedBridge bridge;
  for (const std::string text :
       {"!", "!get ringer", "!Get Audio_Out", "!GET RINGER ", "! GET RINGER", "!GET AUDIO_OUTX",
        "!SET AUDIO_OUT", "!SET RINGER", "!set audio_in X", "!SET CALL 1201 STATUS FINISHED",
        "!SET MUTE ON", "!MUTE ON", "!CALL 1201 STATUS INPROGRESS", "!RINGER USB PHONE",
        "!CALLS 1201", "!FOCUS"}) {
    SCOPED_TRACE(text);
    bridge.Notify(text);
  }
  EXPECT_EQ(bridge.journal.lines, Lines{});
  EXPECT_FALSE(bridge.state().Muted);
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Standby);
  EXPECT_EQ(bridge.state().SkypeRingerIsHandset, kRingerUndetermined);
  EXPECT_EQ(bridge.state().ActiveCallId, "");
}

TEST(RelayRule, CutsTheRequestTo255Characters) {
  AttachedBridge bridge;
  const std::string request = "SET AUDIO_OUT " + std::string(300 - 14, 'x');
  ASSERT_EQ(request.size(), 300u);
  bridge.Notify("!" + request);
  EXPECT_EQ(bridge.journal.lines, Lines{"SKYPE " + request.substr(0, 255)});

  // The cut comes before the check: a 255-character "GET RINGER" prefix is no request.
  bridge.journal.Clear();
  bridge.Notify("!GET RINGER" + std::string(300, ' '));
  EXPECT_EQ(bridge.journal.lines, Lines{});
}

TEST(RelayRule, TextStartingWithABlankIsNoRequestAndSkypeAbsentDropsIt) {
  AttachedBridge bridge;
  bridge.Notify(" !GET RINGER");
  EXPECT_EQ(bridge.journal.lines, Lines{});

  BridgeFixture detached;
  detached.journal.Clear();
  detached.Notify("!GET RINGER");
  EXPECT_EQ(detached.journal.lines, Lines{});
}

TEST(DeviceAnswerRule, ForwardsTheWholeTextByCaseSensitivePrefixAndChangesNoCall) {
  AttachedBridge bridge;
  bridge.AttachPanel();
  bridge.Notify("AUDIO_OUT USB Audio Device");
  bridge.Notify("AUDIO_IN  double  blanks and 1 2 3 4 5 6 7 8 9 10 11 12 words");
  bridge.Notify("audio_out USB Audio Device");
  bridge.Notify("Ringer Speakers");
  EXPECT_EQ(bridge.journal.lines,
            (Lines{"PANEL AUDIO_OUT USB Audio Device",
                   "PANEL AUDIO_IN  double  blanks and 1 2 3 4 5 6 7 8 9 10 11 12 words"}));
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Standby);
  EXPECT_EQ(bridge.state().ActiveCallId, "");
  // "Ringer" is not forwarded, yet the keyword rule, which ignores case, still reads it.
  EXPECT_EQ(bridge.state().SkypeRingerIsHandset, 0u);
}

TEST(DeviceAnswerRule, RingerAnswerIsForwardedAndThenSetsTheRingingDevice) {
  AttachedBridge bridge;
  bridge.AttachPanel();
  bridge.Notify("RINGER USB PHONE");
  EXPECT_EQ(bridge.journal.lines, Lines{"PANEL RINGER USB PHONE"});
  EXPECT_EQ(bridge.state().SkypeRingerIsHandset, 1u);
}

TEST(CallStatusRule, InProgressMakesTheCallActiveAndTalks) {
  AttachedBridge bridge;
  bridge.Notify("CALL 1201 STATUS INPROGRESS");
  EXPECT_EQ(bridge.journal.lines, Lines{"MODE 6 00"});
  EXPECT_EQ(bridge.state().ActiveCallId, "1201");
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Talking);

  // The keyword ignores case; extra words after the status do not matter.
  AttachedBridge lower;
  lower.Notify("call 77 STATUS INPROGRESS now");
  EXPECT_EQ(lower.state().ActiveCallId, "77");
  EXPECT_EQ(lower.journal.lines, Lines{"MODE 6 00"});
}

TEST(CallStatusRule, CaseSensitiveWordsAndDoubleBlanksFallThroughToNothing) {
  AttachedBridge bridge;
  bridge.Notify("CALL 1201 status INPROGRESS");
  bridge.Notify("CALL 1201 Status RINGING");
  bridge.Notify("CALL 1201  STATUS INPROGRESS");
  bridge.Notify("CALL 1201 STATUS");
  EXPECT_EQ(bridge.journal.lines, Lines{});
  EXPECT_EQ(bridge.state().ActiveCallId, "");
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Standby);
}

TEST(CallStatusRule, LowerCaseStatusValueCountsAsSomeOtherStatus) {
  AttachedBridge bridge;
  bridge.Notify("CALL 1201 STATUS inprogress");
  bridge.Notify("CALL 1201 STATUS ringing");
  EXPECT_EQ(bridge.journal.lines, (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS", "QUERY 1 0",
                                         "SKYPE SEARCH ACTIVECALLS"}));
  EXPECT_EQ(bridge.state().ActiveCallId, "");
}

TEST(CallStatusRule, RingingPostsTheTypeQueryWhichIsSentOnlyWhenHandled) {
  AttachedBridge bridge;
  const std::string text = "CALL 1201 STATUS RINGING";
  EXPECT_EQ(bridge.form.WMCopyData(text.c_str(), text.size() + 1), 1);
  EXPECT_EQ(bridge.journal.lines, Lines{"QUERY 0 1201"});
  bridge.DeliverQueries();
  EXPECT_EQ(bridge.journal.lines, (Lines{"QUERY 0 1201", "SKYPE GET CALL 1201 TYPE"}));

  bridge.journal.Clear();
  bridge.Notify("CALL -5 STATUS RINGING");
  EXPECT_EQ(bridge.journal.lines, (Lines{"QUERY 0 -5", "SKYPE GET CALL -5 TYPE"}));
}

TEST(CallStatusRule, RingingWithAnIdThatIsNoNumberPostsNothing) {
  AttachedBridge bridge;
  for (const std::string text : {"CALL abc STATUS RINGING", "CALL 12a STATUS RINGING",
                                 "CALL - STATUS RINGING", "CALL 2147483648 STATUS RINGING",
                                 "CALL 99999999999999999999 STATUS RINGING",
                                 // 2^64 + 1: would come out as 1 if the digits wrapped round.
                                 "CALL 18446744073709551617 STATUS RINGING"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(bridge.form.WMCopyData(text.c_str(), text.size() + 1), 1);
  }
  EXPECT_TRUE(bridge.ports.queries.empty());
  EXPECT_EQ(bridge.journal.lines, Lines{});

  // The limits of a 32-bit id still work.
  bridge.Notify("CALL 2147483647 STATUS RINGING");
  bridge.Notify("CALL -2147483648 STATUS RINGING");
  EXPECT_EQ(bridge.journal.With("SKYPE"),
            (Lines{"SKYPE GET CALL 2147483647 TYPE", "SKYPE GET CALL -2147483648 TYPE"}));
}

TEST(CallStatusRule, RoutingDoesNothingAndAnyOtherStatusAsksForTheActiveCalls) {
  AttachedBridge bridge;
  bridge.Notify("CALL 1201 STATUS ROUTING");
  EXPECT_EQ(bridge.journal.lines, Lines{});
  for (const std::string status : {"ONHOLD", "FINISHED", "EARLYMEDIA", "REFUSED"}) {
    SCOPED_TRACE(status);
    bridge.journal.Clear();
    const std::string text = "CALL 1201 STATUS " + status;
    bridge.form.WMCopyData(text.c_str(), text.size() + 1);
    EXPECT_EQ(bridge.journal.lines, Lines{"QUERY 1 0"});  // posted, not yet sent
    bridge.DeliverQueries();
    EXPECT_EQ(bridge.journal.lines, (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS"}));
  }
}

TEST(CallTypeRule, IncomingRecordsTheCallAndRingsUnlessTalking) {
  AttachedBridge bridge;
  bridge.Notify("CALL 1201 TYPE incoming_pstn");
  EXPECT_EQ(bridge.state().IncomingCallId, "1201");
  EXPECT_EQ(bridge.state().ActiveCallId, "1201");
  EXPECT_TRUE(bridge.state().IncomingPending);
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Buzzer);
  // The ringing device is not known yet: call out, twice.
  EXPECT_EQ(bridge.journal.With("MODE"), (Lines{"MODE 4 80", "MODE 4 80"}));

  AttachedBridge talking;
  talking.Notify("CALL 1201 STATUS INPROGRESS");
  talking.journal.Clear();
  talking.Notify("CALL 1202 TYPE INCOMING_P2P");
  EXPECT_EQ(talking.state().IncomingCallId, "1202");
  EXPECT_EQ(talking.state().ActiveCallId, "1202");
  EXPECT_TRUE(talking.state().IncomingPending);
  EXPECT_EQ(talking.state().HandsetMode, THandsetMode::Talking);
  EXPECT_EQ(talking.journal.lines, Lines{});

  AttachedBridge muted;
  muted.Notify("CALL 1201 STATUS INPROGRESS");
  muted.Notify("MUTE ON");
  muted.Notify("CALL 1202 TYPE INCOMING_PSTN");
  EXPECT_EQ(muted.state().HandsetMode, THandsetMode::Buzzer);
}

TEST(CallTypeRule, OutgoingCallsOutAndOtherTypesOrLowerCaseTypeWordDoNothing) {
  AttachedBridge bridge;
  bridge.Notify("CALL 1300 TYPE outgoing_p2p");
  EXPECT_EQ(bridge.journal.lines, (Lines{"MODE 4 00", "MODE 4 00"}));
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::CallOut);
  EXPECT_EQ(bridge.state().ActiveCallId, "");
  EXPECT_EQ(bridge.state().IncomingCallId, "");

  AttachedBridge other;
  other.Notify("CALL 1300 TYPE UNKNOWN");
  other.Notify("CALL 1300 type INCOMING_P2P");
  other.Notify("CALL 1300 Type OUTGOING_P2P");
  EXPECT_EQ(other.journal.lines, Lines{});
  EXPECT_FALSE(other.state().IncomingPending);
  EXPECT_EQ(other.state().HandsetMode, THandsetMode::Standby);
}

TEST(CallSubjectRule, ThreeWordSubjectCallsOutAnyOtherLengthDoesNot) {
  AttachedBridge bridge;
  bridge.Notify("CALL 1300 SUBJECT Hello");
  bridge.Notify("CALL 1300");
  EXPECT_EQ(bridge.journal.lines, Lines{});
  bridge.Notify("CALL 1300 subject");
  EXPECT_EQ(bridge.journal.lines, (Lines{"MODE 4 00", "MODE 4 00"}));
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::CallOut);

  AttachedBridge within;
  within.Notify("CALL 1300 XSUBJECTX");
  EXPECT_EQ(within.state().HandsetMode, THandsetMode::CallOut);
}

TEST(ActiveCallsRule, NoCallClearsEveryFlagAndGoesToStandby) {
  AttachedBridge bridge;
  bridge.Notify("CALL 1201 STATUS INPROGRESS");
  bridge.Notify("CALL 1202 TYPE INCOMING_P2P");
  bridge.Notify("CALLS 1201, 1202");
  bridge.Notify("MUTE ON");
  bridge.Key(0x16);  // No with two calls: finishes the active one and marks it held
  ASSERT_TRUE(bridge.state().Muted);
  ASSERT_TRUE(bridge.state().SeveralCalls);
  ASSERT_TRUE(bridge.state().HeldByHandset);
  ASSERT_TRUE(bridge.state().IncomingPending);
  bridge.journal.Clear();

  bridge.Notify("CALLS ");
  EXPECT_EQ(bridge.journal.lines, Lines{"MODE 0 00"});
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Standby);
  EXPECT_FALSE(bridge.state().Muted);
  EXPECT_FALSE(bridge.state().SeveralCalls);
  EXPECT_FALSE(bridge.state().HeldByHandset);
  EXPECT_FALSE(bridge.state().IncomingPending);
}

TEST(ActiveCallsRule, OneCallTalksOrMutesButLeavesRingingAlone) {
  AttachedBridge bridge;
  bridge.Notify("calls 1201");
  EXPECT_EQ(bridge.journal.lines, Lines{"MODE 6 00"});
  EXPECT_EQ(bridge.state().ActiveCallId, "1201");
  EXPECT_FALSE(bridge.state().SeveralCalls);

  bridge.Notify("MUTE ON");
  bridge.journal.Clear();
  bridge.Notify("CALLS 1201");
  EXPECT_EQ(bridge.journal.lines, Lines{});
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Mute);

  AttachedBridge ringing;
  ringing.Notify("RINGER USB PHONE");
  ringing.Notify("CALL 1202 TYPE INCOMING_P2P");
  ringing.journal.Clear();
  ringing.Notify("CALLS 1203");
  EXPECT_EQ(ringing.journal.lines, Lines{});
  EXPECT_EQ(ringing.state().HandsetMode, THandsetMode::Buzzer);
  EXPECT_EQ(ringing.state().ActiveCallId, "1203");
}

TEST(ActiveCallsRule, SeveralCallsTakeTheLastTwoIds) {
  AttachedBridge two;
  two.Notify("CALLS 1201, 1202");
  EXPECT_TRUE(two.state().SeveralCalls);
  EXPECT_EQ(two.state().OtherCallId, "1201");
  EXPECT_EQ(two.state().ActiveCallId, "1202");
  EXPECT_EQ(two.journal.lines, Lines{"MODE 6 00"});

  AttachedBridge three;
  three.Notify("CALLS 1201, 1202, 1203");
  EXPECT_EQ(three.state().OtherCallId, "1202");
  EXPECT_EQ(three.state().ActiveCallId, "1203");

  // One call again: SeveralCalls drops, the other id is simply left behind.
  three.Notify("CALLS 1203");
  EXPECT_FALSE(three.state().SeveralCalls);
  EXPECT_EQ(three.state().ActiveCallId, "1203");
}

TEST(ActiveCallsRule, SeveralCallsWhileRingingAskForTheBuzzerAgain) {
  AttachedBridge bridge;
  bridge.Notify("CALL 1202 TYPE INCOMING_P2P");  // ringer unknown: call out
  bridge.Notify("RINGER USB PHONE");             // known now, but that alone changes nothing
  bridge.journal.Clear();
  bridge.Notify("CALLS 1201, 1202");
  EXPECT_EQ(bridge.journal.lines, (Lines{"MODE 1 80", "MODE 1 80"}));
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Buzzer);
}

TEST(MuteRule, OnMutesAtOnceOffAsksForTheActiveCalls) {
  AttachedBridge bridge;
  bridge.Notify("mute on");
  EXPECT_TRUE(bridge.state().Muted);
  EXPECT_EQ(bridge.journal.lines, Lines{"MODE 2 00"});

  bridge.journal.Clear();
  const std::string off = "MUTE OFF";
  bridge.form.WMCopyData(off.c_str(), off.size() + 1);
  EXPECT_FALSE(bridge.state().Muted);
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Mute);  // until the answer says otherwise
  EXPECT_EQ(bridge.journal.lines, Lines{"QUERY 1 0"});
  bridge.DeliverQueries();
  bridge.Notify("CALLS ");
  EXPECT_EQ(bridge.journal.lines, (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS", "MODE 0 00"}));

  bridge.journal.Clear();
  bridge.Notify("MUTE");
  bridge.Notify("MUTE MAYBE");
  EXPECT_EQ(bridge.journal.lines, Lines{});
}

TEST(UserStatusRule, DoNotDisturbFollowsTheStatusAndReRingsOnlyWhileRinging) {
  AttachedBridge bridge;
  bridge.Notify("userstatus dnd");
  EXPECT_TRUE(bridge.state().DoNotDisturb);
  bridge.Notify("USERSTATUS ONLINE");
  EXPECT_FALSE(bridge.state().DoNotDisturb);
  bridge.Notify("USERSTATUS DND");
  EXPECT_TRUE(bridge.state().DoNotDisturb);
  bridge.Notify("USERSTATUS");
  EXPECT_FALSE(bridge.state().DoNotDisturb);
  EXPECT_EQ(bridge.journal.lines, Lines{});  // not ringing: no mode

  bridge.Notify("RINGER USB PHONE");
  bridge.Notify("CALL 1201 TYPE INCOMING_P2P");
  bridge.journal.Clear();
  bridge.Notify("USERSTATUS DND");
  EXPECT_EQ(bridge.journal.lines, (Lines{"MODE 4 80", "MODE 4 80"}));
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Buzzer);
}

TEST(RingerRule, UsbRingerIsTheHandsetByWindowsVersion) {
  struct Case {
    const char* text;
    int windows_major;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"RINGER USB Audio Device", 5, 1}, {"RINGER USB Audio Device", 6, 0},
      {"RINGER USB Audio Device", 10, 0}, {"RINGER USB PHONE", 5, 1},
      {"RINGER USB PHONE", 6, 1},         {"RINGER usb Phone", 10, 1},
      {"RINGER USB MyPhoneSet", 6, 1},    {"RINGER USB", 5, 1},
      {"RINGER USB", 6, 0},               {"RINGER Speakers", 5, 0},
      {"RINGER Speakers", 6, 0},          {"RINGER USBPHONE", 6, 0},
      {"RINGER", 5, 0},                   {"ringer USB PHONE", 6, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " on Windows " + std::to_string(c.windows_major));
    AttachedBridge bridge(c.windows_major);
    bridge.Notify(c.text);
    EXPECT_EQ(bridge.state().SkypeRingerIsHandset, c.expected);
  }
}

TEST(RingerRule, AKnownRingerIsOverwrittenByEachAnswer) {
  AttachedBridge bridge;
  bridge.Notify("RINGER USB PHONE");
  EXPECT_EQ(bridge.state().SkypeRingerIsHandset, 1u);
  bridge.Notify("RINGER Speakers");
  EXPECT_EQ(bridge.state().SkypeRingerIsHandset, 0u);
}

TEST(Notifications, UnknownOrEmptyTextsChangeNothing) {
  AttachedBridge bridge;
  for (const std::string text : {"", " ", "CALLSX 1201", "CALL", "USERSTATUSES DND", "MUTES ON",
                                 "\t\r\n", "OPEN 1201"}) {
    SCOPED_TRACE(text);
    bridge.Notify(text);
  }
  EXPECT_EQ(bridge.journal.lines, Lines{});
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Standby);
  EXPECT_FALSE(bridge.state().DoNotDisturb);
  EXPECT_FALSE(bridge.state().Muted);
}
