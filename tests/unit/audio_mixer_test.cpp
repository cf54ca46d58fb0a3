// TAudioMixer against fake mixers: which mixers open, the model of the open one, the
// volume and mute rules, the MIXER/MUX fall-backs and the change notices.
#include <gtest/gtest.h>

#include "audio/audio_mixer.h"
#include "fake_audio.h"

using namespace mixer_api;

namespace {

// A mixer of one destination whose line holds `controls`.
FakeMixer OneLine(std::vector<TMixerControl> controls, std::uint32_t channels = 2) {
  FakeMixer mixer;
  mixer.destinations = {FakeLine{100, channels, std::move(controls)}};
  return mixer;
}

struct MixerBench {
  explicit MixerBench(std::vector<FakeMixer> mixers) : port(journal) { port.mixers = std::move(mixers); }
  // The mixer component, built once the fake mixers are set up; the journal emptied.
  TAudioMixer& Build() {
    mixer = std::make_unique<TAudioMixer>(port);
    journal.clear();
    return *mixer;
  }
  AudioLines journal;
  FakeMixerPort port;
  std::unique_ptr<TAudioMixer> mixer;
};

}  // namespace

TEST(MixerDevices, WithoutAnyMixerNothingOpensAndNothingIsTried) {
  MixerBench bench({});
  TAudioMixer& mixer = bench.Build();
  EXPECT_EQ(mixer.DeviceCount(), 0);
  EXPECT_EQ(mixer.MixerID(), -1);
  mixer.SetMixerId(0);
  mixer.SetMixerId(-1);
  EXPECT_EQ(mixer.MixerID(), -1);
  EXPECT_TRUE(bench.journal.empty());
  EXPECT_EQ(mixer.Destinations(), nullptr);
}

TEST(MixerDevices, OnlyMixersThatOpenAreCountedAndTheCountBoundsTheIds) {
  FakeMixer failing = HandsetMixer();
  failing.open_fails = true;
  MixerBench bench({failing, HandsetMixer()});
  TAudioMixer& mixer = bench.Build();
  EXPECT_EQ(mixer.DeviceCount(), 1);
  EXPECT_EQ(mixer.MixerID(), -1);  // mixer 0 failed to open at construction
  // Mixer 1 is beyond the count of openable mixers: not even tried.
  mixer.SetMixerId(1);
  EXPECT_EQ(mixer.MixerID(), -1);
  EXPECT_TRUE(bench.journal.empty());
  EXPECT_EQ(bench.port.open_handles, 0);
}

TEST(MixerDevices, OpeningClosesThePreviousMixerAndAnIdBeyondTheCountChangesNothing) {
  MixerBench bench({HandsetMixer(), OneLine({Volume(11)})});
  TAudioMixer& mixer = bench.Build();
  EXPECT_EQ(mixer.DeviceCount(), 2);
  ASSERT_EQ(mixer.MixerID(), 0);
  EXPECT_EQ(mixer.DestinationCount(), 2u);

  mixer.SetMixerId(5);
  EXPECT_EQ(mixer.MixerID(), 0);
  mixer.SetMixerId(1);
  EXPECT_EQ(mixer.MixerID(), 1);
  EXPECT_EQ(mixer.DestinationCount(), 1u);
  EXPECT_EQ(bench.journal, (AudioLines{"CLOSE 0", "OPEN 1"}));

  mixer.GetMixerNumDevs();
  EXPECT_EQ(mixer.MixerID(), -1);
  EXPECT_EQ(mixer.Destinations(), nullptr);
  EXPECT_EQ(bench.port.open_handles, 0);
  mixer.SetMixerId(0);
  bench.mixer.reset();
  EXPECT_EQ(bench.port.open_handles, 0);
}

TEST(MixerModel, LinesThatCannotBeReadAreLeftOutAndTheNextTakesTheirIndex) {
  FakeMixer mixer;
  FakeLine unreadable{100, 2, {Volume(1)}};
  unreadable.info_fails = true;
  FakeLine playback{200, 2, {Volume(2)}, {FakeLine{201, 2, {Volume(3)}}, FakeLine{202, 2, {Volume(4)}}}};
  playback.sources[0].info_fails = true;
  mixer.destinations = {unreadable, playback};
  MixerBench bench({mixer});
  bench.port.values = {{2, {20, 20}}, {4, {40, 40}}};
  TAudioMixer& audio = bench.Build();

  ASSERT_EQ(audio.DestinationCount(), 1u);
  EXPECT_EQ(audio.Destinations()->Items[0].Line.dwLineID, 200u);
  EXPECT_EQ(audio.GetVolume(0, -1)->left, 20);
  EXPECT_EQ(audio.GetVolume(0, 0)->left, 40);
  EXPECT_FALSE(audio.GetVolume(0, 1));
  EXPECT_FALSE(audio.GetVolume(1, -1));
}

TEST(MixerModel, ALineWhoseControlsCannotBeListedHasNone) {
  FakeMixer mixer = OneLine({Volume(1), Mute(2)});
  mixer.destinations[0].controls_fail = true;
  MixerBench bench({mixer});
  TAudioMixer& audio = bench.Build();

  const std::optional<TLineVolume> volume = audio.GetVolume(0, -1);
  ASSERT_TRUE(volume);
  EXPECT_EQ(volume->left, -1);
  EXPECT_EQ(volume->mute, -1);
  EXPECT_TRUE(volume->volume_unavailable);
  EXPECT_TRUE(volume->mute_unavailable);
  EXPECT_TRUE(audio.SetVolume(0, -1, 1000, -1, 1));
  EXPECT_TRUE(bench.journal.empty());
}

TEST(MixerModel, DestinationAndConnectionCountsNoRealMixerHasAreTakenAsFailures) {
  constexpr std::uint32_t kHuge = 1000000;
  FakeMixer lying_destinations = HandsetMixer();
  lying_destinations.reported_destinations = kHuge;
  MixerBench destinations({lying_destinations});
  EXPECT_EQ(destinations.Build().DestinationCount(), 0u);
  EXPECT_EQ(destinations.port.line_queries, 0);

  FakeMixer lying_connections = HandsetMixer();
  lying_connections.destinations[0].reported_connections = kHuge;
  MixerBench connections({lying_connections});
  connections.port.values = {{1, {10, 10}}, {8, {80}}};
  TAudioMixer& audio = connections.Build();
  // Two opens (counting, then mixer 0): each asks two destinations and the recording's source.
  EXPECT_EQ(connections.port.line_queries, 2 * 3);
  ASSERT_EQ(audio.DestinationCount(), 2u);
  EXPECT_EQ(audio.GetVolume(0, -1)->left, 10);
  EXPECT_FALSE(audio.GetVolume(0, 0));
  EXPECT_EQ(audio.GetVolume(1, 0)->left, 80);
}

TEST(MixerVolume, AUniformControlGivesOneValueAStereoOneBothAndRightDefaultsToLeft) {
  FakeMixer mixer = OneLine({Volume(1, kControlUniform), Mute(2)});
  mixer.destinations.push_back(FakeLine{200, 2, {Volume(3), Mute(4)}});
  MixerBench bench({mixer});
  bench.port.values = {{1, {12345}}, {2, {1, 1}}, {3, {100, 200}}, {4, {0, 0}}};
  TAudioMixer& audio = bench.Build();

  const TLineVolume uniform = *audio.GetVolume(0, -1);
  EXPECT_EQ(uniform.left, 12345);
  EXPECT_EQ(uniform.right, -1);
  EXPECT_EQ(uniform.mute, 1);
  EXPECT_EQ(bench.port.last_read[1].cChannels, 1u);
  const TLineVolume stereo = *audio.GetVolume(1, -1);
  EXPECT_EQ(stereo.left, 100);
  EXPECT_EQ(stereo.right, 200);
  EXPECT_EQ(stereo.mute, 0);
  EXPECT_FALSE(stereo.volume_unavailable || stereo.mute_unavailable);

  audio.SetVolume(0, -1, 30000, -1, -1);
  audio.SetVolume(1, -1, 300, 400, -1);
  audio.SetVolume(1, -1, 500, -1, -1);
  EXPECT_EQ(bench.journal, (AudioLines{"SET 1 30000", "SET 3 300 400", "SET 3 500 500"}));
}

TEST(MixerVolume, TheFirstEnabledReadableControlOfEachKindWins) {
  MixerBench bench({OneLine({Volume(1, kControlDisabled), Mute(2, kControlDisabled), Volume(3), Mute(4), Volume(5)})});
  bench.port.values = {{1, {111, 111}}, {2, {1, 1}}, {3, {333, 333}}, {4, {0, 0}}, {5, {555, 555}}};
  TAudioMixer& audio = bench.Build();
  const TLineVolume volume = *audio.GetVolume(0, -1);
  EXPECT_EQ(volume.left, 333);
  EXPECT_FALSE(volume.volume_unavailable);
  EXPECT_EQ(volume.mute, 0);

  // An unreadable control is passed over the same way.
  bench.port.unreadable = {3};
  EXPECT_EQ(audio.GetVolume(0, -1)->left, 555);
}

TEST(MixerVolume, WritesGoToEveryControlOfAGivenKindUntilBothKindsAreApplied) {
  MixerBench bench({OneLine({Volume(1), Volume(2), Mute(3), Volume(4)})});
  TAudioMixer& audio = bench.Build();

  EXPECT_TRUE(audio.SetVolume(0, -1, 30000, -1, 1));
  EXPECT_EQ(bench.journal, (AudioLines{"SET 1 30000 30000", "SET 2 30000 30000", "SET 3 1 1"}));

  // A kind given as -1 counts as applied: the other kind stops at its first control.
  bench.journal.clear();
  audio.SetVolume(0, -1, -1, -1, 0);
  EXPECT_EQ(bench.journal, (AudioLines{"SET 3 0 0"}));
  bench.journal.clear();
  audio.SetVolume(0, -1, 7, -1, -1);
  EXPECT_EQ(bench.journal, (AudioLines{"SET 1 7 7"}));
}

TEST(MixerVolume, NoMixerOrNoSuchLineGivesFalse) {
  MixerBench bench({HandsetMixer()});
  TAudioMixer& audio = bench.Build();
  EXPECT_FALSE(audio.SetVolume(2, -1, 1, -1, -1));
  EXPECT_FALSE(audio.SetVolume(0, 1, 1, -1, -1));
  EXPECT_FALSE(audio.SetVolume(-1, -1, 1, -1, -1));
  audio.CloseMixer();
  EXPECT_FALSE(audio.GetVolume(0, -1));
  EXPECT_FALSE(audio.SetVolume(0, -1, 1, -1, -1));
  EXPECT_EQ(bench.journal, (AudioLines{"CLOSE 0"}));
}

TEST(MixerControlIds, OnlyTheLinesOwnSingleVolumeAndMuteControlsMatch) {
  FakeMixer mixer = HandsetMixer();
  mixer.destinations[0].controls.push_back(Control(9, kControlTypeVolume, kControlMultiple, 2));
  MixerBench bench({mixer});
  TAudioMixer& audio = bench.Build();

  EXPECT_TRUE(audio.CheckCtrlID(0, -1, 1));
  EXPECT_TRUE(audio.CheckCtrlID(0, -1, 2));
  EXPECT_FALSE(audio.CheckCtrlID(0, -1, 3));  // the source's, not the line's
  EXPECT_TRUE(audio.CheckCtrlID(0, 0, 3));
  EXPECT_FALSE(audio.CheckCtrlID(0, -1, 9));  // MULTIPLE
  EXPECT_FALSE(audio.CheckCtrlID(1, -1, 7));  // the selector
  EXPECT_FALSE(audio.CheckCtrlID(0, 1, 3));   // no such connection
  audio.CloseMixer();
  EXPECT_FALSE(audio.CheckCtrlID(0, -1, 1));
}

TEST(MixerSelectorFallback, ASourceWithoutMuteReadsItsEntryOfTheDestinationsSelector) {
  FakeMixer mixer;
  mixer.destinations = {FakeLine{100, 1, {Volume(1), Mux(7, 2)}, {FakeLine{101, 1, {Volume(2)}}, FakeLine{102, 1, {Volume(3)}}}},
                        FakeLine{200, 1, {MixerSelect(8, 2)}, {FakeLine{201, 1, {}}, FakeLine{202, 1, {}}}}};
  MixerBench bench({mixer});
  bench.port.values = {{7, {0, 1}}, {8, {5, 0}}};
  TAudioMixer& audio = bench.Build();

  EXPECT_EQ(audio.GetVolume(0, 0)->mute, 0);
  EXPECT_EQ(audio.GetVolume(0, 1)->mute, 1);
  // The selector's value is taken as it is, not reduced to 0 or 1.
  EXPECT_EQ(audio.GetVolume(1, 0)->mute, 5);
  EXPECT_EQ(bench.port.last_read[7].cMultipleItems, 2u);
  // The destination line itself has no fall-back.
  EXPECT_TRUE(audio.GetVolume(0, -1)->mute_unavailable);
}

TEST(MixerSelectorFallback, AMuxWriteSelectsOnlyTheSourceAndAMixerWriteKeepsTheOthers) {
  FakeMixer mixer;
  mixer.destinations = {FakeLine{100, 1, {Mux(7, 3)}, {FakeLine{101, 1, {}}, FakeLine{102, 1, {}}, FakeLine{103, 1, {}}}},
                        FakeLine{200, 1, {MixerSelect(8, 2)}, {FakeLine{201, 1, {}}, FakeLine{202, 1, {}}}}};
  MixerBench bench({mixer});
  bench.port.values = {{7, {1, 0, 1}}, {8, {1, 1}}};
  TAudioMixer& audio = bench.Build();

  audio.SetVolume(0, 1, -1, -1, 1);
  audio.SetVolume(1, 0, -1, -1, 0);
  EXPECT_EQ(bench.journal, (AudioLines{"SET 7 0 1 0", "SET 8 0 1"}));
}

TEST(MixerSelectorFallback, TheBufferIsSizedFromTheControlAndAnIndexBeyondItIsIgnored) {
  // 40 sources: more than a fixed buffer of 31 values would hold.
  FakeLine destination{100, 2, {Mux(7, 40)}};
  for (std::uint32_t s = 0; s < 41; ++s) destination.sources.push_back(FakeLine{1000 + s, 2, {}});
  FakeMixer mixer;
  mixer.destinations = {destination};
  MixerBench bench({mixer});
  std::vector<std::uint32_t> selected(40, 0);
  selected[35] = 1;
  bench.port.values = {{7, selected}};
  TAudioMixer& audio = bench.Build();

  EXPECT_EQ(audio.GetVolume(0, 35)->mute, 1);
  EXPECT_EQ(bench.port.last_read[7].values.size(), 40u);
  EXPECT_EQ(bench.port.last_read[7].cChannels, 1u);

  // Source 40 has no entry in the selector: nothing is read for it and nothing written.
  EXPECT_TRUE(audio.GetVolume(0, 40)->mute_unavailable);
  audio.SetVolume(0, 40, -1, -1, 1);
  EXPECT_TRUE(bench.journal.empty());
}

TEST(MixerNotices, ChangesAreRaisedOnlyWhileAMixerIsOpen) {
  MixerBench bench({HandsetMixer()});
  TAudioMixer& audio = bench.Build();
  AudioLines events;
  audio.OnCtrlChange = [&](TAudioMixer& sender, MixerHandle handle, std::uint32_t id) {
    EXPECT_EQ(&sender, &audio);
    events.push_back("CONTROL " + std::to_string(handle) + " " + std::to_string(id));
  };
  audio.OnLineChange = [&](TAudioMixer&, MixerHandle, std::uint32_t id) {
    events.push_back("LINE " + std::to_string(id));
  };

  EXPECT_TRUE(audio.MixerCallBack(kControlChange, 0x1000, 5));
  EXPECT_TRUE(audio.MixerCallBack(kLineChange, 0x1000, 200));
  EXPECT_FALSE(audio.MixerCallBack(0x0010, 0, 0));  // WM_CLOSE: the window's own handling
  audio.CloseMixer();
  EXPECT_TRUE(audio.MixerCallBack(kControlChange, 0x1000, 5));
  EXPECT_EQ(events, (AudioLines{"CONTROL 4096 5", "LINE 200"}));
}
