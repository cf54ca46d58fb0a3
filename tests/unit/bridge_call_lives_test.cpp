// Whole calls as Skype and the handset play them: each step's exact commands and mode writes.
#include <gtest/gtest.h>

#include "common/handset_key_values.h"
#include "fake_bridge_ports.h"

using Lines = std::vector<std::string>;

namespace {

using namespace handset_key;


// One handset, Skype attached and ringing on the handset, no panel.
struct CallBridge : BridgeFixture {
  CallBridge() {
    AttachSkype();
    Notify("RINGER USB PHONE");
    journal.Clear();
  }
  // What one step did, and a clean journal for the next.
  Lines Step() {
    Lines lines = journal.lines;
    journal.Clear();
    return lines;
  }
  // One tick of the watch, the query it posted, and Skype's answer to that query.
  void Tick(const std::string& calls_answer) {
    form.CheckTalkingTimerTimer();
    DeliverQueries();
    Notify(calls_answer);
  }
};

}  // namespace

TEST(CallLife, IncomingCallTakenAtTheHandsetAndEnded) {
  CallBridge bridge;
  bridge.Notify("CALL 1201 STATUS RINGING");
  EXPECT_EQ(bridge.Step(), (Lines{"QUERY 0 1201", "SKYPE GET CALL 1201 TYPE"}));

  bridge.Notify("CALL 1201 TYPE INCOMING_P2P");
  EXPECT_EQ(bridge.Step(), (Lines{"MODE 1 80", "MODE 1 80"}));
  EXPECT_EQ(bridge.state().IncomingCallId, "1201");
  EXPECT_EQ(bridge.state().ActiveCallId, "1201");
  EXPECT_TRUE(bridge.state().IncomingPending);

  // The watch's poll while ringing leaves the buzzer alone.
  bridge.Tick("CALLS 1201");
  EXPECT_EQ(bridge.Step(), (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS"}));

  bridge.Key(kYes);
  EXPECT_EQ(bridge.Step(), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 STATUS INPROGRESS"}));
  EXPECT_FALSE(bridge.state().IncomingPending);
  EXPECT_FALSE(bridge.state().HeldByHandset);

  bridge.Notify("CALL 1201 STATUS INPROGRESS");
  EXPECT_EQ(bridge.Step(), Lines{"MODE 6 80"});

  bridge.Tick("CALLS 1201");
  EXPECT_EQ(bridge.Step(), (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS"}));

  bridge.Key(kNo);
  EXPECT_EQ(bridge.Step(), Lines{"SKYPE btn_released no"});

  bridge.Notify("CALL 1201 STATUS FINISHED");
  bridge.Notify("CALLS ");
  EXPECT_EQ(bridge.Step(), (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS", "MODE 0 80"}));
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Standby);

  // Idle again: the watch no longer polls.
  bridge.form.CheckTalkingTimerTimer();
  EXPECT_EQ(bridge.Step(), Lines{});
}

TEST(CallLife, IncomingCallRejectedOrGivenUp) {
  for (const char* end : {"REFUSED", "MISSED"}) {
    SCOPED_TRACE(end);
    CallBridge bridge;
    bridge.Notify("CALL 1201 STATUS RINGING");
    bridge.Notify("CALL 1201 TYPE INCOMING_PSTN");
    bridge.Step();
    if (std::string(end) == "REFUSED") {
      bridge.Key(kNo);
      EXPECT_EQ(bridge.Step(), Lines{"SKYPE btn_released no"});
      EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Buzzer);
    }
    bridge.Notify(std::string("CALL 1201 STATUS ") + end);
    bridge.Notify("CALLS ");
    EXPECT_EQ(bridge.Step(), (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS", "MODE 0 80"}));
    EXPECT_FALSE(bridge.state().IncomingPending);
  }
}

TEST(CallLife, OutgoingCallDialledAtTheHandset) {
  CallBridge bridge;
  bridge.Key(kOne);
  bridge.Key(kTwo);
  bridge.Key(kThree);
  bridge.Key(kYes);
  EXPECT_EQ(bridge.Step(), (Lines{"SKYPE FOCUS", "SKYPE btn_released 1", "SKYPE FOCUS",
                                  "SKYPE btn_released 2", "SKYPE FOCUS", "SKYPE btn_released 3",
                                  "SKYPE FOCUS", "SKYPE btn_released yes"}));
  EXPECT_EQ(bridge.state().DialCount, 0);
  EXPECT_EQ(bridge.state().DialString, "");

  bridge.Notify("CALL 1300 STATUS ROUTING");
  EXPECT_EQ(bridge.Step(), Lines{});
  bridge.Notify("CALL 1300 STATUS RINGING");
  bridge.Notify("CALL 1300 TYPE OUTGOING_PSTN");
  EXPECT_EQ(bridge.Step(),
            (Lines{"QUERY 0 1300", "SKYPE GET CALL 1300 TYPE", "MODE 4 00", "MODE 4 00"}));

  // Calling out is not watched, and the subject repeats a mode already written.
  bridge.form.CheckTalkingTimerTimer();
  bridge.Notify("CALL 1300 SUBJECT");
  EXPECT_EQ(bridge.Step(), Lines{});

  bridge.Notify("CALL 1300 STATUS EARLYMEDIA");
  bridge.Notify("CALLS 1300");
  EXPECT_EQ(bridge.Step(), (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS", "MODE 6 00"}));
  bridge.Notify("CALL 1300 STATUS INPROGRESS");
  EXPECT_EQ(bridge.Step(), Lines{});
  EXPECT_EQ(bridge.state().ActiveCallId, "1300");

  bridge.Key(kNo);
  bridge.Notify("CALL 1300 STATUS FINISHED");
  bridge.Notify("CALLS ");
  EXPECT_EQ(bridge.Step(), (Lines{"SKYPE btn_released no", "QUERY 1 0", "SKYPE SEARCH ACTIVECALLS",
                                  "MODE 0 00"}));
}

TEST(CallLife, SecondCallWaitingYesHoldsTheFirstAndTakesTheSecond) {
  CallBridge bridge;
  bridge.Notify("CALL 1201 STATUS INPROGRESS");
  bridge.Step();

  bridge.Notify("CALL 1202 STATUS RINGING");
  bridge.Notify("CALL 1202 TYPE INCOMING_P2P");
  EXPECT_EQ(bridge.Step(), (Lines{"QUERY 0 1202", "SKYPE GET CALL 1202 TYPE"}));  // no ringing
  bridge.Tick("CALLS 1201, 1202");
  EXPECT_EQ(bridge.Step(), (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS"}));
  EXPECT_TRUE(bridge.state().SeveralCalls);
  EXPECT_EQ(bridge.state().OtherCallId, "1201");
  EXPECT_EQ(bridge.state().ActiveCallId, "1202");
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Talking);

  bridge.Key(kYes);
  EXPECT_EQ(bridge.Step(), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 STATUS ONHOLD",
                                  "SKYPE SET CALL 1202 STATUS INPROGRESS"}));
  EXPECT_FALSE(bridge.state().IncomingPending);
  EXPECT_FALSE(bridge.state().HeldByHandset);

  // Two calls up, nothing waiting: Yes holds the other one and toggles the active one.
  bridge.Key(kYes);
  EXPECT_EQ(bridge.Step(), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 STATUS ONHOLD",
                                  "SKYPE SET CALL 1202 STATUS ONHOLD"}));
  EXPECT_TRUE(bridge.state().HeldByHandset);
  bridge.Key(kYes);
  EXPECT_EQ(bridge.Step(), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 STATUS ONHOLD",
                                  "SKYPE SET CALL 1202 STATUS INPROGRESS"}));
  EXPECT_FALSE(bridge.state().HeldByHandset);
}

TEST(CallLife, SecondCallNoFinishesTheActiveOneAndYesResumesTheOther) {
  CallBridge bridge;
  bridge.Notify("CALL 1201 STATUS INPROGRESS");
  bridge.Notify("CALL 1202 TYPE INCOMING_P2P");
  bridge.Notify("CALLS 1201, 1202");
  bridge.Key(kYes);
  bridge.Step();

  bridge.Key(kNo);
  EXPECT_EQ(bridge.Step(), Lines{"SKYPE SET CALL 1202 STATUS FINISHED"});
  EXPECT_TRUE(bridge.state().HeldByHandset);

  bridge.Notify("CALL 1202 STATUS FINISHED");
  bridge.Notify("CALLS 1201");
  EXPECT_EQ(bridge.Step(), (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS"}));
  EXPECT_FALSE(bridge.state().SeveralCalls);
  EXPECT_EQ(bridge.state().ActiveCallId, "1201");

  bridge.Key(kYes);
  EXPECT_EQ(bridge.Step(), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 STATUS INPROGRESS"}));
  EXPECT_FALSE(bridge.state().HeldByHandset);
}

TEST(CallLife, MuteOnAndOffDuringACall) {
  CallBridge bridge;
  bridge.Notify("CALL 1201 STATUS INPROGRESS");
  bridge.Step();

  bridge.Key(kMute);
  EXPECT_EQ(bridge.Step(), (Lines{"SKYPE FOCUS", "SKYPE SET MUTE ON"}));
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Talking);  // Skype's answer sets the mode
  bridge.Notify("MUTE ON");
  EXPECT_EQ(bridge.Step(), Lines{"MODE 2 00"});

  bridge.Tick("CALLS 1201");
  EXPECT_EQ(bridge.Step(), (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS"}));
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Mute);

  bridge.Key(kMute);
  EXPECT_EQ(bridge.Step(), (Lines{"SKYPE FOCUS", "SKYPE SET MUTE OFF"}));
  bridge.Notify("MUTE OFF");
  bridge.Notify("CALLS 1201");
  EXPECT_EQ(bridge.Step(), (Lines{"QUERY 1 0", "SKYPE SEARCH ACTIVECALLS", "MODE 6 00"}));
  EXPECT_FALSE(bridge.state().Muted);

  // Muted when the call ends: standby, and the mute is forgotten.
  bridge.Notify("MUTE ON");
  bridge.Notify("CALL 1201 STATUS FINISHED");
  bridge.Notify("CALLS ");
  EXPECT_EQ(bridge.journal.With("MODE"), (Lines{"MODE 2 00", "MODE 0 00"}));
  EXPECT_FALSE(bridge.state().Muted);
}

TEST(CallLife, DoNotDisturbRingsAsCallOutAndYesStillAnswers) {
  CallBridge bridge;
  bridge.Notify("USERSTATUS DND");
  bridge.Notify("CALL 1201 STATUS RINGING");
  bridge.Notify("CALL 1201 TYPE INCOMING_P2P");
  EXPECT_EQ(bridge.journal.With("MODE"), (Lines{"MODE 4 80", "MODE 4 80"}));
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Buzzer);
  bridge.Step();

  bridge.Key(kYes);
  EXPECT_EQ(bridge.Step(), (Lines{"SKYPE FOCUS", "SKYPE SET CALL 1201 STATUS INPROGRESS"}));
  bridge.Notify("CALL 1201 STATUS INPROGRESS");
  EXPECT_EQ(bridge.Step(), Lines{"MODE 6 80"});
}

TEST(CallLife, RingerDeviceNotYetKnownRingsAsCallOutUntilAskedAgain) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  bridge.Notify("CALL 1201 STATUS RINGING");
  bridge.Notify("CALL 1201 TYPE INCOMING_P2P");
  EXPECT_EQ(bridge.journal.lines, (Lines{"QUERY 0 1201", "SKYPE GET CALL 1201 TYPE", "MODE 4 80",
                                         "MODE 4 80"}));
  bridge.journal.Clear();

  bridge.form.CheckTalkingTimerTimer();
  bridge.DeliverQueries();
  EXPECT_EQ(bridge.journal.lines, (Lines{"SKYPE GET RINGER", "QUERY 1 0", "SKYPE SEARCH ACTIVECALLS"}));
  bridge.journal.Clear();

  // The answer alone changes nothing; a one-call poll does not ask for the buzzer again either.
  bridge.Notify("RINGER USB PHONE");
  bridge.Notify("CALLS 1201");
  EXPECT_EQ(bridge.journal.lines, Lines{});
  // The next request of the buzzer does.
  bridge.Notify("USERSTATUS ONLINE");
  EXPECT_EQ(bridge.journal.lines, (Lines{"MODE 1 80", "MODE 1 80"}));
}

TEST(CallLife, UserStatusChangeWhileRingingSwitchesBetweenBuzzerAndCallOut) {
  CallBridge bridge;
  bridge.Notify("USERSTATUS DND");
  bridge.Notify("CALL 1201 TYPE INCOMING_P2P");
  EXPECT_EQ(bridge.Step(), (Lines{"MODE 4 80", "MODE 4 80"}));

  bridge.Notify("USERSTATUS ONLINE");
  EXPECT_EQ(bridge.Step(), (Lines{"MODE 1 80", "MODE 1 80"}));
  bridge.Notify("USERSTATUS AWAY");
  EXPECT_EQ(bridge.Step(), Lines{});  // buzzer already written
  bridge.Notify("USERSTATUS DND");
  EXPECT_EQ(bridge.Step(), (Lines{"MODE 4 80", "MODE 4 80"}));

  // Once talking, the user status no longer touches the handset.
  bridge.Notify("CALL 1201 STATUS INPROGRESS");
  bridge.Step();
  bridge.Notify("USERSTATUS ONLINE");
  EXPECT_EQ(bridge.Step(), Lines{});
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Talking);
}
