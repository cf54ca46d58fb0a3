// The Skype handshake, command transport and deferred queries.
#include <gtest/gtest.h>

#include "bridge/skype_commands.h"
#include "fake_bridge_ports.h"

using Lines = std::vector<std::string>;

TEST(BridgeStart, DiscoversSkypeBeforeThePanelAndCreatesTheStoredRingTone) {
  BridgeFixture bridge(/*handsets=*/0);
  EXPECT_EQ(bridge.journal.lines, (Lines{"BROADCAST SkypeControlAPIDiscover",
                                         "BROADCAST TALVEKWiredUIDiscover", "REGISTRY RingTone 128"}));
  EXPECT_EQ(bridge.state().RingTone, 0);
  EXPECT_EQ(bridge.state().LastSentMode, std::nullopt);
}

TEST(BridgeStart, WithAHandsetRepliesBeforeDiscoveringAndStartsReadThreads) {
  BridgeFixture bridge(/*handsets=*/1);
  EXPECT_EQ(bridge.journal.lines,
            (Lines{"REPLY", "BROADCAST SkypeControlAPIDiscover", "READ THREADS",
                   "BROADCAST TALVEKWiredUIDiscover", "REGISTRY RingTone 128"}));
}

TEST(BridgeStart, StoredRingToneIsKeptButNotUsedUntilTheHandsetRings) {
  Journal journal;
  FakeBridgePorts ports(journal);
  ports.registry.values["RingTone"] = 0x83;
  TTalvekSkypeForm form(ports, 6);
  form.FormCreate(std::make_unique<FakeDeviceManager>(journal, 1));
  EXPECT_TRUE(journal.With("REGISTRY").empty());
  EXPECT_EQ(form.State().RingTone, 0);
}

TEST(BridgeStart, UnopenableRegistryLeavesRingToneZero) {
  Journal journal;
  FakeBridgePorts ports(journal);
  ports.registry.can_open = false;
  TTalvekSkypeForm form(ports, 6);
  form.FormCreate(std::make_unique<FakeDeviceManager>(journal, 0));
  EXPECT_EQ(form.State().RingTone, 0);
  EXPECT_TRUE(journal.With("REGISTRY").empty());
}

TEST(SkypeAttach, ApiAvailableDiscoversAgainAndSendsNothing) {
  BridgeFixture bridge(/*handsets=*/0);
  bridge.journal.Clear();
  EXPECT_EQ(bridge.form.OnSkypeAttach(FakeBridgePorts::kSkype, 0x8001), 0);
  EXPECT_EQ(bridge.journal.lines, (Lines{"REPLY", "BROADCAST SkypeControlAPIDiscover"}));
  EXPECT_EQ(bridge.state().SkypeWnd, 0u);
}

TEST(SkypeAttach, SuccessStoresSkypeAndAsksTheThreeQueriesInOrder) {
  BridgeFixture bridge(/*handsets=*/1);
  bridge.journal.Clear();
  EXPECT_EQ(bridge.form.OnSkypeAttach(FakeBridgePorts::kSkype, 0), 1);
  EXPECT_EQ(bridge.state().SkypeWnd, FakeBridgePorts::kSkype);
  EXPECT_EQ(bridge.journal.lines,
            (Lines{"SKYPE SEARCH ACTIVECALLS", "SKYPE GET MUTE", "SKYPE GET USERSTATUS"}));
}

TEST(SkypeAttach, OtherStatusChangesNothingButStillTellsWhetherAHandsetIsOpen) {
  BridgeFixture with_handset(/*handsets=*/1);
  with_handset.journal.Clear();
  EXPECT_EQ(with_handset.form.OnSkypeAttach(FakeBridgePorts::kSkype, 2), 1);
  EXPECT_TRUE(with_handset.journal.lines.empty());
  EXPECT_EQ(with_handset.state().SkypeWnd, 0u);

  BridgeFixture without(/*handsets=*/0);
  EXPECT_EQ(without.form.OnSkypeAttach(FakeBridgePorts::kSkype, 2), 0);
}

TEST(SkypeAttach, StatusIsTheWholeMessageParameterNotItsLow32Bits) {
  // On 64-bit Windows the status arrives in a 64-bit lParam; one that is 0 only in its low
  // half is no success.
  if constexpr (sizeof(std::intptr_t) > 4) {
    BridgeFixture bridge(/*handsets=*/1);
    bridge.journal.Clear();
    const std::intptr_t not_success = std::intptr_t{1} << 32;
    EXPECT_EQ(bridge.form.OnSkypeAttach(FakeBridgePorts::kSkype, not_success), 1);
    EXPECT_TRUE(bridge.journal.lines.empty());
    EXPECT_EQ(bridge.state().SkypeWnd, 0u);
  }
}

TEST(SendToSkype, DropsCommandsWhileSkypeIsGone) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  bridge.ports.live_windows = {};  // Skype closed
  EXPECT_FALSE(bridge.form.SendToSkype("FOCUS"));
  EXPECT_TRUE(bridge.journal.lines.empty());  // no ERROR, no discovery
}

TEST(SendToSkype, RefusalNotesOneErrorAndDiscoversOnce) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  bridge.ports.skype_result = 0;
  EXPECT_FALSE(bridge.form.SendToSkype("FOCUS"));
  EXPECT_EQ(bridge.journal.lines,
            (Lines{"SKYPE FOCUS", "ERROR", "REPLY", "BROADCAST SkypeControlAPIDiscover"}));
  EXPECT_EQ(bridge.state().SkypeWnd, FakeBridgePorts::kSkype);
}

TEST(SendToSkype, OnlyAResultOfExactlyOneCountsAsAccepted) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  bridge.ports.skype_result = 2;
  EXPECT_FALSE(bridge.form.SendToSkype("FOCUS"));
  EXPECT_TRUE(bridge.journal.With("ERROR").empty());
}

TEST(SkypeCopyData, AlwaysAnswersOneWhateverTheText) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  EXPECT_EQ(bridge.form.WMCopyData(nullptr, 0), 1);
  const std::string not_a_number = "CALL abc STATUS RINGING";
  EXPECT_EQ(bridge.form.WMCopyData(not_a_number.c_str(), not_a_number.size() + 1), 1);
  EXPECT_TRUE(bridge.ports.queries.empty());
  const std::string huge(1 << 20, 'A');
  EXPECT_EQ(bridge.form.WMCopyData(huge.data(), huge.size()), 1);
}

TEST(SkypeCopyData, TextWithoutZeroByteIsCutAtTheGivenSize) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  // "MUTE ON" cut after "MUTE O" is no mute notification at all.
  const std::string text = "MUTE ONxx";
  bridge.form.WMCopyData(text.data(), 6);
  EXPECT_FALSE(bridge.state().Muted);
  bridge.form.WMCopyData(text.data(), 7);
  EXPECT_TRUE(bridge.state().Muted);
}

TEST(SkypeQuery, TableOfDeferredQueries) {
  EXPECT_EQ(SkypeQueryCommand(0, -5), "GET CALL -5 TYPE");
  EXPECT_EQ(SkypeQueryCommand(0, 1201), "GET CALL 1201 TYPE");
  EXPECT_EQ(SkypeQueryCommand(1, 0), "SEARCH ACTIVECALLS");
  EXPECT_FALSE(SkypeQueryCommand(2, 0).has_value());
  EXPECT_FALSE(SkypeQueryCommand(-1, 0).has_value());
}

TEST(SkypeQuery, SentOnlyWhenHandled) {
  BridgeFixture bridge;
  bridge.AttachSkype();
  bridge.form.WMSkypeQuery(0, -5);
  bridge.form.WMSkypeQuery(7, 3);
  EXPECT_EQ(bridge.journal.lines, (Lines{"SKYPE GET CALL -5 TYPE"}));
}

TEST(HandsetChanges, EveryChangeRediscoversAndANewHandsetGetsTheNextModeEvenIfUnchanged) {
  BridgeFixture bridge(/*handsets=*/0);
  bridge.AttachSkype();
  bridge.Notify("CALLS ");
  EXPECT_EQ(bridge.journal.With("MODE"), (Lines{}));  // no handset: written nowhere
  bridge.devices->SetCount(1);
  EXPECT_EQ(bridge.journal.With("BROADCAST"), (Lines{"BROADCAST SkypeControlAPIDiscover"}));
  bridge.journal.Clear();
  bridge.Notify("CALLS ");
  EXPECT_EQ(bridge.journal.With("MODE"), (Lines{"MODE 0 00"}));
}

TEST(HandsetChanges, ReadThreadsOnlyPostToTheWindowAndShareTheModeAndDialCount) {
  BridgeFixture bridge(/*handsets=*/1);
  const THandsetCallbacks& thread = bridge.devices->read_thread;
  ASSERT_TRUE(thread.on_event && thread.context && thread.store_last_key);
  bridge.AttachSkype();
  bridge.Notify("CALL 7 STATUS INPROGRESS");
  bridge.journal.Clear();

  thread.on_event({THandsetKeyEvent::Kind::Key, 0x1B});
  thread.on_event({THandsetKeyEvent::Kind::ClearDialBuffer, 0});
  EXPECT_EQ(bridge.journal.lines, (Lines{"KEY 27", "DIAL RESET"}));
  EXPECT_EQ(thread.context().handset_mode, THandsetMode::Talking);
  thread.store_last_key(0x1F);
  EXPECT_EQ(bridge.state().LastKey, 0x1Fu);
}

TEST(BridgeEnd, StandbyAtEndOfSessionAndAtExitWithoutTouchingTheModeState) {
  BridgeFixture bridge(/*handsets=*/1);
  bridge.AttachSkype();
  bridge.Notify("CALL 1 STATUS INPROGRESS");
  bridge.journal.Clear();
  bridge.form.WMEndSession();
  EXPECT_EQ(bridge.journal.lines, (Lines{"MODE 0 00"}));
  EXPECT_EQ(bridge.state().HandsetMode, THandsetMode::Talking);
  EXPECT_EQ(bridge.state().LastSentMode, THandsetMode::Talking);
  bridge.form.FormDestroy();
  EXPECT_EQ(bridge.journal.lines, (Lines{"MODE 0 00", "MODE 0 00"}));
}

TEST(BridgeEnd, StandbyCarriesTheCurrentRingTone) {
  BridgeFixture bridge(/*handsets=*/1);
  bridge.Key(0x1A);  // the ring-tone key, idle: the second tone
  ASSERT_EQ(bridge.state().RingTone, 1);
  bridge.journal.Clear();
  bridge.form.WMEndSession();
  bridge.form.FormDestroy();
  EXPECT_EQ(bridge.journal.With("MODE"), (Lines{"MODE 0 01", "MODE 0 01"}));
}
