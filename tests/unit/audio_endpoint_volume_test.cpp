// The handset's volume and mute over the audio endpoints: the search, the stored values,
// the user's changes, changes made elsewhere, the keys, "Default", and endpoints that fail
// or go.
#include <gtest/gtest.h>

#include "audio/endpoint_scaling.h"
#include "audio/handset_endpoint_volume.h"
#include "fake_endpoints.h"

namespace {

constexpr THandsetSide kSpeaker = THandsetSide::Speaker;
constexpr THandsetSide kMic = THandsetSide::Microphone;
const std::string kSpeakerName = "Speaker (USB Phone)";
const std::string kMicName = "Microphone (USB Phone)";

std::string Level(int volume, const std::string& name) {
  char text[64];
  std::snprintf(text, sizeof text, "level %.6f ", VolumeToScalar(volume));
  return text + name;
}

TSideView View(int volume, bool mute, bool level_enabled, bool mute_enabled) {
  return TSideView{volume, mute, level_enabled, mute_enabled};
}

// A Windows 7 machine: onboard sound, a webcam's microphone, and the handset.
struct EndpointBench {
  EndpointBench() : volume(port, view, "USB") {
    port.Add(TEndpointFlow::Render, "Speakers (Onboard Audio)");
    port.Add(TEndpointFlow::Render, kSpeakerName);
    port.Add(TEndpointFlow::Capture, "Microphone (USB Camera)");
    port.Add(TEndpointFlow::Capture, kMicName);
  }
  bool Find(TSideValues speaker = {40000, true}, TSideValues mic = {1000, false}) {
    const bool found = volume.FindHandset(speaker, mic);
    port.journal.clear();
    view.show_count = 0;
    return found;
  }
  const std::string& Id(const std::string& name) { return port.Named(name).id; }

  FakeEndpointPort port;
  FakeVolumeView view;
  THandsetEndpointVolume volume;
};

}  // namespace

TEST(HandsetEndpointVolume, FoundHandsetGetsTheStoredValuesAndShowsThem) {
  EndpointBench bench;
  ASSERT_TRUE(bench.volume.FindHandset({40000, true}, {70000, false}));
  EXPECT_EQ(bench.port.journal, (std::vector<std::string>{Level(40000, kSpeakerName), "mute on " + kSpeakerName,
                                                          Level(65535, kMicName), "mute off " + kMicName}));
  EXPECT_EQ(bench.view.shown[kSpeaker], View(40000, true, true, true));
  EXPECT_EQ(bench.view.shown[kMic], View(65535, false, true, true));
  EXPECT_TRUE(bench.volume.Found());
  EXPECT_EQ(bench.port.open, (std::set<std::string>{bench.Id(kSpeakerName), bench.Id(kMicName)}));
}

TEST(HandsetEndpointVolume, NotFoundWithoutBothEndpointsAndNothingHeldOrWritten) {
  EndpointBench bench;
  bench.port.Unplug(kMicName);
  // The webcam's "USB" microphone is no handset's when the handset's speaker is there but
  // its microphone is not: it is taken, as the wave search takes the first "USB" device.
  EXPECT_TRUE(bench.volume.FindHandset({}, {}));
  bench.volume.Release();
  bench.port.Unplug("Microphone (USB Camera)");
  bench.port.journal.clear();
  EXPECT_FALSE(bench.volume.FindHandset({}, {}));
  EXPECT_TRUE(bench.port.journal.empty());
  EXPECT_TRUE(bench.port.open.empty());
  EXPECT_FALSE(bench.volume.Found());
}

TEST(HandsetEndpointVolume, UserChangeReachesTheEndpointAtOnceOnlyForWhatChanged) {
  EndpointBench bench;
  ASSERT_TRUE(bench.Find());
  bench.volume.Change(kSpeaker, {1234, true});
  bench.volume.Change(kMic, {1000, true});
  EXPECT_EQ(bench.port.journal, (std::vector<std::string>{Level(1234, kSpeakerName), "mute on " + kMicName}));
  EXPECT_EQ(bench.view.shown[kSpeaker], View(1234, true, true, true));
  EXPECT_EQ(bench.view.shown[kMic], View(1000, true, true, true));
}

TEST(HandsetEndpointVolume, ChangeFromElsewhereIsShownWithoutEcho) {
  EndpointBench bench;
  ASSERT_TRUE(bench.Find());
  bench.volume.OnEndpointVolume(bench.Id(kSpeakerName), 0.25f, false, false);
  EXPECT_EQ(bench.view.shown[kSpeaker], View(16384, false, true, true));
  EXPECT_EQ(bench.view.show_count, 1);
  // Nothing goes back to the endpoint, and the same values again show nothing.
  bench.volume.OnEndpointVolume(bench.Id(kSpeakerName), 0.25f, false, false);
  EXPECT_EQ(bench.view.show_count, 1);
  EXPECT_TRUE(bench.port.journal.empty());

  // The notice of the program's own earlier change, arriving after a later one, is not
  // shown: the slider stays where the user left it.
  bench.volume.Change(kSpeaker, {30000, false});
  bench.volume.Change(kSpeaker, {31000, false});
  bench.volume.OnEndpointVolume(bench.Id(kSpeakerName), VolumeToScalar(30000), false, true);
  EXPECT_EQ(bench.view.shown[kSpeaker].volume, 31000);
  EXPECT_EQ(bench.volume.Side(kSpeaker).volume, 31000);

  // A notice of an endpoint that is not the handset's changes nothing.
  bench.volume.OnEndpointVolume(bench.Id("Speakers (Onboard Audio)"), 0.9f, true, false);
  bench.volume.OnEndpointVolume(bench.Id(kMicName), 1.0f, true, false);
  EXPECT_EQ(bench.view.shown[kSpeaker], View(31000, false, true, true));
  EXPECT_EQ(bench.view.shown[kMic], View(65535, true, true, true));
  EXPECT_EQ(bench.port.journal.size(), 2u);
}

TEST(HandsetEndpointVolume, UnplugOfTheSpeakerDuringAChange) {
  EndpointBench bench;
  ASSERT_TRUE(bench.Find());
  bench.port.Unplug(kSpeakerName);
  bench.volume.Change(kSpeaker, {5000, true});
  // The failed level lets go of the endpoint at once: its mute is not tried, both its
  // controls go off with the last values in effect, and the group is told to look again.
  EXPECT_EQ(bench.port.journal, (std::vector<std::string>{Level(5000, kSpeakerName), "close " + kSpeakerName}));
  EXPECT_EQ(bench.view.shown[kSpeaker], View(40000, true, false, false));
  EXPECT_EQ(bench.view.looks_again, 1);
  EXPECT_FALSE(bench.volume.Found());

  // Nothing more reaches the gone endpoint; the microphone still works.
  bench.port.journal.clear();
  bench.volume.Change(kSpeaker, {6000, false});
  bench.volume.OnEndpointVolume(bench.Id(kSpeakerName), 0.1f, false, false);
  bench.volume.Change(kMic, {2000, false});
  EXPECT_EQ(bench.port.journal, (std::vector<std::string>{Level(2000, kMicName)}));
  EXPECT_TRUE(bench.port.calls_when_closed.empty());
  EXPECT_EQ(bench.view.looks_again, 1);

  // Plugged in again: found anew, with the values kept.
  bench.port.Named(kSpeakerName).gone = false;
  ASSERT_TRUE(bench.volume.FindHandset({40000, true}, {2000, false}));
  EXPECT_EQ(bench.view.shown[kSpeaker], View(40000, true, true, true));
  EXPECT_EQ(bench.port.journal.back(), "mute off " + kMicName);
}

TEST(HandsetEndpointVolume, DeviceNoticeLetsGoOfAGoneEndpointAndAsksToLookAgain) {
  EndpointBench bench;
  ASSERT_TRUE(bench.Find());
  bench.port.Unplug(kMicName);
  bench.volume.OnEndpointDevicesChanged();
  EXPECT_EQ(bench.port.journal, (std::vector<std::string>{"close " + kMicName}));
  EXPECT_EQ(bench.view.shown[kMic], View(1000, false, false, false));
  EXPECT_EQ(bench.view.looks_again, 1);
  bench.volume.Change(kMic, {3000, true});
  EXPECT_TRUE(bench.port.calls_when_closed.empty());
  // A notice that leaves the handset alone keeps it.
  bench.port.Named(kMicName).gone = false;
  ASSERT_TRUE(bench.Find());
  bench.volume.OnEndpointDevicesChanged();
  EXPECT_TRUE(bench.volume.Found());
  EXPECT_TRUE(bench.port.journal.empty());
}

TEST(HandsetEndpointVolume, FailingLevelWithAWorkingMute) {
  EndpointBench bench;
  bench.port.Named(kSpeakerName).level_fails = true;
  ASSERT_TRUE(bench.Find({40000, false}));
  // The track bar is off, showing the stored value that is kept; the mute box works.
  EXPECT_EQ(bench.volume.Side(kSpeaker), View(40000, false, false, true));
  bench.volume.Change(kSpeaker, {40000, true});
  EXPECT_EQ(bench.port.journal, (std::vector<std::string>{"mute on " + kSpeakerName}));
  EXPECT_TRUE(bench.port.Named(kSpeakerName).mute);
  EXPECT_EQ(bench.view.shown[kSpeaker], View(40000, true, false, true));
  // A change made elsewhere brings the mute only.
  bench.volume.OnEndpointVolume(bench.Id(kSpeakerName), 0.1f, false, false);
  EXPECT_EQ(bench.view.shown[kSpeaker], View(40000, false, false, true));
  // "Default" is kept (and so saved) for the level it cannot set, which is not tried.
  bench.port.journal.clear();
  bench.volume.Change(kSpeaker, {kHandsetVolumeDefault, false});
  EXPECT_TRUE(bench.port.journal.empty());
  EXPECT_EQ(bench.view.shown[kSpeaker], View(32767, false, false, true));
}

TEST(HandsetEndpointVolume, MuteThatStartsFailingIsSwitchedOffAndTheLevelStillWorks) {
  EndpointBench bench;
  ASSERT_TRUE(bench.Find());
  bench.port.Named(kMicName).mute_fails = true;
  bench.volume.Change(kMic, {1000, true});
  EXPECT_EQ(bench.view.shown[kMic], View(1000, false, true, false));
  bench.volume.Change(kMic, {3000, true});
  EXPECT_EQ(bench.port.journal, (std::vector<std::string>{"mute on " + kMicName, Level(3000, kMicName)}));
  EXPECT_EQ(bench.view.looks_again, 0);
}

TEST(HandsetEndpointVolume, ReleaseLetsGoOfBothAndNothingIsUsedAfterwards) {
  EndpointBench bench;
  ASSERT_TRUE(bench.Find());
  bench.volume.Release();
  EXPECT_TRUE(bench.port.open.empty());
  bench.volume.Change(kSpeaker, {1, true});
  bench.volume.OnEndpointVolume(bench.Id(kMicName), 0.5f, true, false);
  bench.volume.OnEndpointDevicesChanged();
  EXPECT_EQ(bench.port.journal, (std::vector<std::string>{"close " + kSpeakerName, "close " + kMicName}));
  EXPECT_TRUE(bench.port.calls_when_closed.empty());
}
