// The Windows default sound devices: when they are reported, and how they are filled in
// by Windows version class.
#include <gtest/gtest.h>

#include "audio/default_devices.h"
#include "fake_audio.h"

namespace {

constexpr std::uint8_t kOther = 0;
constexpr std::uint8_t kNt50 = 1;
constexpr std::uint8_t kNt51 = 2;
constexpr std::uint8_t kNt60 = 3;

struct DefaultDeviceBench {
  DefaultDeviceBench() : registry(journal) {}
  std::string Recorded(const char* name) const {
    const auto found = registry.user.find(name);
    return found == registry.user.end() ? "(missing)" : std::get<std::string>(found->second);
  }
  void Settle(std::uint8_t os_kind, const std::string& pattern) {
    SettleDefaultDevices(registry, devices, os_kind, pattern);
  }
  AudioLines journal;
  FakeDefaultDeviceRegistry registry;
  FakeWaveDevices devices;
};

}  // namespace

TEST(ReadDefaultDevices, ReportedOnlyWhileTheHandsetMixerIsOpenAndDevicesOfBothKindsExist) {
  DefaultDeviceBench bench;
  bench.registry.user = {{"Playback", std::string("Speakers")}, {"Record", std::string("Line In")}};
  bench.devices.outs = {"Speakers"};
  bench.devices.ins = {"Line In"};

  TDefaultDeviceNames names = ReadDefaultDevices(bench.registry, bench.devices, true);
  EXPECT_EQ(names.playback, "Speakers");
  EXPECT_EQ(names.record, "Line In");

  names = ReadDefaultDevices(bench.registry, bench.devices, false);
  EXPECT_EQ(names.playback, "");
  EXPECT_EQ(names.record, "");

  bench.devices.ins.clear();
  names = ReadDefaultDevices(bench.registry, bench.devices, true);
  EXPECT_EQ(names.playback, "");
  EXPECT_EQ(names.record, "");
}

TEST(SettleDefaultDevices, XpTakesTheLastDeviceThatIsNotTheHandsetOthersTheFirst) {
  DefaultDeviceBench xp;
  xp.devices.outs = {"USB Phone", "Onboard", "Front Panel"};
  xp.devices.ins = {"USB Phone", "Line In", "Mic In"};
  xp.Settle(kNt51, "USB Phone");
  EXPECT_EQ(xp.Recorded("Playback"), "Front Panel");
  EXPECT_EQ(xp.Recorded("Record"), "Mic In");

  DefaultDeviceBench w2k;
  w2k.devices.outs = {"USB Audio Device", "Onboard", "Front Panel"};
  w2k.devices.ins = {"Line In", "USB Audio Device"};
  w2k.Settle(kNt50, "USB");
  EXPECT_EQ(w2k.Recorded("Playback"), "Onboard");
  EXPECT_EQ(w2k.Recorded("Record"), "Line In");
}

TEST(SettleDefaultDevices, WhenEveryDeviceIsTheHandsetsXpTakesTheLastOthersDeviceZero) {
  for (std::uint8_t os_kind : {kOther, kNt50, kNt51, kNt60}) {
    DefaultDeviceBench bench;
    bench.devices.outs = {"USB Phone A", "USB Phone B", "USB Phone C"};
    bench.devices.ins = {"USB Phone A", "USB Phone B"};
    bench.Settle(os_kind, "USB");
    const bool xp = os_kind == kNt51;
    EXPECT_EQ(bench.Recorded("Playback"), xp ? "USB Phone C" : "USB Phone A") << int(os_kind);
    EXPECT_EQ(bench.Recorded("Record"), xp ? "USB Phone B" : "USB Phone A") << int(os_kind);
  }
}

TEST(SettleDefaultDevices, AMissingValueIsFilledAndBothAreWrittenTogether) {
  DefaultDeviceBench bench;
  bench.registry.user = {{"Playback", std::string("Onboard")}, {"Record", std::string("")}};
  bench.devices.outs = {"Front Panel"};
  bench.devices.ins = {"USB Phone", "Line In"};
  bench.Settle(kNt51, "USB Phone");
  EXPECT_EQ(bench.journal, (AudioLines{"WRITE Playback=Onboard", "WRITE Record=Line In"}));

  // A device of a kind that does not exist leaves its value empty, written all the same.
  DefaultDeviceBench no_input;
  no_input.devices.outs = {"Onboard"};
  no_input.Settle(kNt51, "USB Phone");
  EXPECT_EQ(no_input.journal, (AudioLines{"WRITE Playback=Onboard", "WRITE Record="}));
}

TEST(SettleDefaultDevices, ANonStringValueCountsAsMissing) {
  DefaultDeviceBench bench;
  bench.registry.user = {{"Playback", std::uint32_t{7}}, {"Record", std::string("Line In")}};
  bench.devices.outs = {"Onboard"};
  bench.devices.ins = {"Line In"};
  bench.Settle(kNt50, "USB");
  EXPECT_EQ(bench.Recorded("Playback"), "Onboard");
}

TEST(SettleDefaultDevices, TheMachinesSetUpCountIsCopiedOnEveryCallWhenItCanBeRead) {
  DefaultDeviceBench bench;
  bench.registry.user = {{"Playback", std::string("Onboard")}, {"Record", std::string("Line In")}};
  bench.registry.machine = {{"SetupPreferredAudioDevicesCount", std::uint32_t{3}}};
  bench.devices.outs = {"Onboard"};
  bench.devices.ins = {"Line In"};
  bench.Settle(kNt51, "USB Phone");
  bench.Settle(kNt51, "USB Phone");
  EXPECT_EQ(bench.journal,
            (AudioLines{"WRITE SetupPreferredAudioDevicesCount=3", "WRITE SetupPreferredAudioDevicesCount=3"}));

  bench.journal.clear();
  bench.registry.machine_opens = false;
  bench.registry.user["SetupPreferredAudioDevicesCount"] = std::uint32_t{9};
  bench.Settle(kNt51, "USB Phone");
  EXPECT_TRUE(bench.journal.empty());
  EXPECT_EQ(std::get<std::uint32_t>(bench.registry.user["SetupPreferredAudioDevicesCount"]), 9u);
}

TEST(SettleDefaultDevices, AUserKeyThatCannotBeOpenedWritesNothing) {
  DefaultDeviceBench bench;
  bench.registry.user_opens = false;
  bench.registry.machine = {{"SetupPreferredAudioDevicesCount", std::uint32_t{3}}};
  bench.devices.outs = {"Onboard"};
  bench.devices.ins = {"Line In"};
  bench.Settle(kNt51, "USB Phone");
  EXPECT_TRUE(bench.journal.empty());
}
