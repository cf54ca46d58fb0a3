// The Skype device lists: their contents, what is sent for a choice, how Skype's answers
// are checked, and the retries through the suffixes to the fall-back.
#include <gtest/gtest.h>

#include <optional>

#include "fake_audio.h"
#include "fake_panel.h"
#include "panel/os_kind.h"
#include "panel/skype_device_group.h"

namespace {

struct DeviceChoiceBench final : ISkypeCommands, IWindowsDefaultDevices {
  explicit DeviceChoiceBench(std::uint8_t os_kind = kOsNt51) {
    devices.outs = {"Speakers", "USB Phone"};
    devices.ins = {"Microphone", "USB Phone"};
    choice.emplace(TSkypeDeviceControls{group, out, in, ring}, devices, code_page, *this, *this, os_kind,
                   HandsetPatternFor(os_kind));
    choice->FillDeviceLists();
    ConsumeResync();
  }
  void SendToSkype(const std::string& command) override { sent.push_back(command); }
  TDefaultDeviceNames DefaultDevices() override { return defaults; }
  // What the next status report sends.
  Lines Report() {
    sent.clear();
    choice->ApplySavedDevices();
    return sent;
  }
  // A report with nothing saved: only the pending resync goes.
  void ConsumeResync() {
    ASSERT_EQ(choice->SavedNames().SkypeOutName + choice->SavedNames().SkypeInName, "");
    Report();
    sent.clear();
  }
  void Save(const std::string& out_name, const std::string& in_name, const std::string& ring_name) {
    choice->Load({out_name, in_name, ring_name});
    choice->RequestResync();
  }
  const TSkypeDeviceNames& saved() const { return choice->SavedNames(); }

  FakeGroupBox group;
  FakeComboBox out;
  FakeComboBox in;
  FakeComboBox ring;
  FakeWaveDevices devices;
  FakeCodePage code_page;
  TDefaultDeviceNames defaults{"Speakers", "Microphone"};
  Lines sent;
  std::optional<TSkypeDeviceGroup> choice;
};

}  // namespace

TEST(DeviceLists, ItemZeroIsTheWindowsDefaultThenTheDevicesAndSkypeIsAsked) {
  DeviceChoiceBench bench;
  bench.out.SetItemIndex(2);
  bench.choice->FillDeviceLists();
  EXPECT_EQ(bench.out.items, (Lines{"Windows default sound device", "Speakers", "USB Phone"}));
  EXPECT_EQ(bench.ring.items, bench.out.items);
  EXPECT_EQ(bench.in.items, (Lines{"Windows default sound device", "Microphone", "USB Phone"}));
  for (FakeComboBox* list : {&bench.out, &bench.in, &bench.ring}) EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(bench.sent, (Lines{"GET AUDIO_OUT", "GET AUDIO_IN", "GET RINGER"}));
}

TEST(ApplySavedDevices, SavedChoicesAreSelectedAndSentOncePerPendingResync) {
  DeviceChoiceBench bench;
  bench.Save("USB Phone", "Gone", "-1");
  EXPECT_EQ(bench.Report(),
            (Lines{"SET AUDIO_OUT USB Phone", "GET AUDIO_OUT", "SET RINGER Speakers", "GET RINGER"}));
  EXPECT_EQ(bench.out.ItemIndex(), 2);
  EXPECT_EQ(bench.in.ItemIndex(), 0);  // a saved device no longer listed: nothing selected or sent
  EXPECT_EQ(bench.saved().SkypeInName, "Gone");
  EXPECT_FALSE(bench.choice->ResyncPending());
  EXPECT_TRUE(bench.Report().empty());
}

TEST(SendDeviceChoice, TheSuffixFollowsTheTagExceptOnNt60) {
  DeviceChoiceBench xp;
  xp.out.SetItemIndex(2);
  xp.out.SetTag(0x0105);
  xp.choice->SendDeviceChoice(xp.out);
  xp.out.SetTag(0x0100);
  xp.choice->SendDeviceChoice(xp.out);
  EXPECT_EQ(xp.sent, (Lines{"SET AUDIO_OUT USB Phone (1)", "GET AUDIO_OUT", "SET AUDIO_OUT USB Phone", "GET AUDIO_OUT"}));
  EXPECT_EQ(xp.saved().SkypeOutName, "USB Phone");

  DeviceChoiceBench vista(kOsNt60);
  vista.in.SetItemIndex(2);
  vista.in.SetTag(0x0305);
  vista.choice->SendDeviceChoice(vista.in);
  EXPECT_EQ(vista.sent, (Lines{"SET AUDIO_IN USB Phone", "GET AUDIO_IN"}));
}

TEST(SendDeviceChoice, ItemZeroSendsTheWindowsDefaultDeviceAndIsSavedAsMinusOne) {
  DeviceChoiceBench bench;
  bench.out.SetItemIndex(0);
  bench.out.SetTag(0x0203);
  bench.choice->suiComboBoxSkypeOutChange(bench.out);
  bench.in.SetItemIndex(0);
  bench.choice->suiComboBoxSkypeOutChange(bench.in);
  EXPECT_EQ(bench.sent,
            (Lines{"SET AUDIO_OUT Speakers", "GET AUDIO_OUT", "SET AUDIO_IN Microphone", "GET AUDIO_IN"}));
  EXPECT_EQ(bench.saved().SkypeOutName, "-1");
  EXPECT_EQ(bench.out.Tag(), 0);
}

TEST(SendDeviceChoice, NothingIsSentWhileTheGroupIsDisabled) {
  DeviceChoiceBench bench;
  bench.group.SetEnabled(false);
  bench.out.SetItemIndex(1);
  bench.choice->suiComboBoxSkypeOutChange(bench.out);
  EXPECT_TRUE(bench.sent.empty());
  EXPECT_EQ(bench.saved().SkypeOutName, "");
}

TEST(DeviceReplies, AnAnswerHoldingTheChoiceMatchesAndEnablesTheList) {
  DeviceChoiceBench bench;
  bench.out.SetItemIndex(2);
  bench.out.SetTag(0x0203);
  bench.out.SetEnabled(false);
  bench.choice->HandleDeviceReply("AUDIO_OUT USB Phone (2)", TDeviceKind::Output);
  EXPECT_EQ(bench.out.Tag(), 0);
  EXPECT_TRUE(bench.out.Enabled());
  EXPECT_FALSE(bench.choice->ResyncPending());

  // Item 0 is checked against the Windows default device of its kind.
  bench.in.SetItemIndex(0);
  bench.in.SetTag(5);
  bench.choice->HandleDeviceReply("AUDIO_IN Microphone", TDeviceKind::Input);
  EXPECT_EQ(bench.in.Tag(), 0);
}

TEST(DeviceReplies, AnotherDeviceThanTheHandsetsIsResentWithoutCountingOrFallBack) {
  DeviceChoiceBench bench;
  bench.out.SetItemIndex(1);  // "Speakers"
  for (int answer = 0; answer < 300; ++answer) {
    bench.ConsumeResync();
    bench.choice->HandleDeviceReply("AUDIO_OUT USB Phone", TDeviceKind::Output);
    ASSERT_TRUE(bench.choice->ResyncPending());
    ASSERT_EQ(bench.out.Tag(), 0);
  }
  EXPECT_EQ(bench.out.ItemIndex(), 1);
}

TEST(DeviceReplies, AHandsetChoiceSkypeKeepsRefusingGoesThroughEverySuffixToTheFallBack) {
  DeviceChoiceBench bench;
  bench.Save("USB Phone", "", "");
  // Status report, then Skype's answer naming another device, until nothing is pending.
  std::vector<std::pair<std::string, int>> runs;  // each command sent, with how often in a row
  for (int report = 0; report < 1000 && bench.choice->ResyncPending(); ++report) {
    const Lines sent = bench.Report();
    ASSERT_EQ(sent.size(), 2u);
    if (runs.empty() || runs.back().first != sent[0]) runs.emplace_back(sent[0], 0);
    ++runs.back().second;
    bench.choice->HandleDeviceReply("AUDIO_OUT Speakers", TDeviceKind::Output);
  }
  std::vector<std::pair<std::string, int>> expected = {{"SET AUDIO_OUT USB Phone", 13},
                                                       {"SET AUDIO_OUT USB Phone (1)", 11}};
  for (int n = 2; n <= 16; ++n) expected.emplace_back("SET AUDIO_OUT USB Phone (" + std::to_string(n) + ")", 12);
  EXPECT_EQ(runs, expected);
  // Given up: item 0 shown, nothing pending, the saved choice kept for the next time.
  EXPECT_EQ(bench.out.ItemIndex(), 0);
  EXPECT_EQ(bench.out.Tag(), 0);
  EXPECT_EQ(bench.saved().SkypeOutName, "USB Phone");
}

TEST(DeviceReplies, TheTwelfthFailureAtTheLastSuffixSelectsItemZero) {
  DeviceChoiceBench bench;
  bench.out.SetItemIndex(2);
  bench.out.SetTag(0x100A);
  bench.choice->HandleDeviceReply("AUDIO_OUT Speakers", TDeviceKind::Output);
  EXPECT_EQ(bench.out.Tag(), 0x100B);
  EXPECT_EQ(bench.out.ItemIndex(), 2);
  bench.ConsumeResync();
  bench.choice->HandleDeviceReply("AUDIO_OUT Speakers", TDeviceKind::Output);
  EXPECT_EQ(bench.out.Tag(), 0);
  EXPECT_EQ(bench.out.ItemIndex(), 0);
  EXPECT_FALSE(bench.choice->ResyncPending());
}

TEST(DeviceReplies, OnNt60TheTwelfthFailureGivesUpWithoutAnySuffix) {
  DeviceChoiceBench bench(kOsNt60);
  bench.Save("", "USB Phone", "");
  Lines commands;
  while (bench.choice->ResyncPending()) {
    const Lines sent = bench.Report();
    ASSERT_FALSE(sent.empty());
    commands.push_back(sent[0]);
    bench.choice->HandleDeviceReply("AUDIO_IN Microphone", TDeviceKind::Input);
    ASSERT_LT(commands.size(), 100u);
  }
  EXPECT_EQ(commands, Lines(12, "SET AUDIO_IN USB Phone"));
  EXPECT_EQ(bench.in.ItemIndex(), 0);
}

TEST(DeviceNameEncoding, CommandsGoOutInUtf8AndAnswersAreComparedInTheCodePage) {
  DeviceChoiceBench bench;
  bench.devices.outs = {"Lautsprecher (Ger\xE4t)"};
  bench.choice->FillDeviceLists();
  bench.sent.clear();
  bench.out.SetItemIndex(1);
  bench.choice->SendDeviceChoice(bench.out);
  EXPECT_EQ(bench.sent[0], "SET AUDIO_OUT Lautsprecher (Ger\xC3\xA4t)");

  bench.out.SetTag(3);
  bench.choice->HandleDeviceReply("AUDIO_OUT Lautsprecher (Ger\xC3\xA4t)", TDeviceKind::Output);
  EXPECT_EQ(bench.out.Tag(), 0);

  const int conversions = bench.code_page.conversions;
  bench.choice->HandleDeviceReply("", TDeviceKind::Output);
  EXPECT_EQ(bench.code_page.conversions, conversions);
}
