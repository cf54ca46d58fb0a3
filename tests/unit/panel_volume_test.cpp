// The volume group against a fake handset mixer: the handset search, the controls and the
// mixer kept in step both ways, and the "Default" button.
#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "fake_audio.h"
#include "fake_panel.h"
#include "panel/os_kind.h"
#include "panel/mixer_volume_backend.h"
#include "panel/volume_group.h"

namespace {

// Control ids of HandsetMixer(): playback line volume 1, mute 2; its first source 3, 4;
// recording line 5, 6.
constexpr std::uint32_t kSpeakerVolume = 1;
constexpr std::uint32_t kSourceVolume = 3;
constexpr std::uint32_t kMicVolume = 5;

FakeMixer OnboardMixer() {
  FakeMixer mixer;
  mixer.destinations = {FakeLine{10, 2, {Volume(90), Mute(91)}}};
  return mixer;
}

struct VolumeBench {
  explicit VolumeBench(std::uint8_t os_kind = kOsNt51) : os_kind(os_kind), port(journal), registry(journal) {
    port.mixers = {OnboardMixer(), HandsetMixer()};
    devices.outs = {"Speakers", "USB Phone"};
    devices.out_mixers = {0, 1};
    devices.ins = {"Microphone", "USB Phone"};
    registry.user = {{"Playback", std::string("Speakers")}, {"Record", std::string("Microphone")}};
    // A change notice for every write, delivered when the test lets the message loop run.
    port.on_write = [this](MixerHandle handle, std::uint32_t id) { notices.emplace_back(handle, id); };
  }

  // The window: its mixer behind the backend, the volume group with the stored values, and
  // the controls' events.
  void Create() {
    mixer.emplace(port);
    backend.emplace(*mixer, devices);
    volume.emplace(TVolumeControls{group, label_out, label_in, speaker, microphone, speaker_mute, microphone_mute},
                   *backend, devices, registry, os_kind, HandsetPatternFor(os_kind));
    volume->Load(stored);
    volume->SetHandsetPresent(handset_present);
    speaker.SetOnChange([this] { volume->suiTrackBarVolOutChange(); });
    speaker_mute.SetOnClick([this] { volume->suiTrackBarVolOutChange(); });
    microphone.SetOnChange([this] { volume->suiTrackBarVolInChange(); });
    microphone_mute.SetOnClick([this] { volume->suiTrackBarVolInChange(); });
    // As the window does while it is created: the mixers counted, none open.
    volume->RefreshDevices();
    journal.clear();
  }
  // The handset found as at a status report; the journal and pending notices emptied.
  void Found() {
    Create();
    ASSERT_TRUE(volume->FindHandsetDevices().found);
    Settle();
  }
  // Lets the posted change notices arrive, also those they cause.
  void Settle() {
    for (int delivered = 0; !notices.empty(); ++delivered) {
      ASSERT_LT(delivered, 100) << "the mixer notices never stop";
      const auto [handle, id] = notices.front();
      notices.pop_front();
      mixer->MixerCallBack(mixer_api::kControlChange, handle, id);
    }
    journal.clear();
  }
  std::vector<std::uint32_t> Values(std::uint32_t id) { return port.values[id]; }
  const TVolumeValues& values() const { return volume->Values(); }

  std::uint8_t os_kind;
  TVolumeValues stored;
  bool handset_present = true;
  AudioLines journal;
  FakeMixerPort port;
  FakeWaveDevices devices;
  FakeDefaultDeviceRegistry registry;
  std::deque<std::pair<MixerHandle, std::uint32_t>> notices;
  FakeGroupBox group;
  FakeLabel label_out;
  FakeLabel label_in;
  FakeTrackBar speaker;
  FakeTrackBar microphone;
  FakeCheckBox speaker_mute;
  FakeCheckBox microphone_mute;
  std::optional<TAudioMixer> mixer;
  std::optional<TMixerVolumeBackend> backend;
  std::optional<TVolumeGroup> volume;
};

}  // namespace

TEST(HandsetSearch, TheHandsetsMixerIsOpenedAndTakesTheStoredVolumes) {
  VolumeBench bench;
  bench.stored.SpeakerVolume = 20000;
  bench.stored.SpeakerMute = true;
  bench.stored.MicVolume = 1000;
  bench.Create();

  const THandsetSearch search = bench.volume->FindHandsetDevices();
  EXPECT_TRUE(search.found);
  EXPECT_EQ(bench.mixer->MixerID(), 1);
  EXPECT_EQ(bench.journal, (AudioLines{"OPEN 1", "SET 1 20000 20000", "SET 2 1 1", "SET 5 1000", "SET 6 0"}));
  EXPECT_EQ(bench.speaker.Position(), 20000);
  EXPECT_TRUE(bench.speaker_mute.Checked());
  EXPECT_EQ(bench.microphone.Position(), 1000);
  EXPECT_EQ(bench.volume->HandsetOutName(), "USB Phone");
  EXPECT_EQ(bench.volume->HandsetInName(), "USB Phone");
  EXPECT_EQ(search.output + "/" + search.input, "USB Phone/USB Phone");
}

TEST(HandsetSearch, OnlyTheFirstMatchingDeviceIsTriedAndThreeDestinationsAreRefused) {
  VolumeBench bench;
  FakeMixer three = HandsetMixer();
  three.destinations.push_back(FakeLine{300, 1, {Volume(30)}});
  bench.port.mixers = {OnboardMixer(), three, HandsetMixer()};
  bench.devices.outs = {"Speakers", "USB Phone A", "USB Phone B"};
  bench.devices.out_mixers = {0, 1, 2};
  bench.Create();

  const THandsetSearch search = bench.volume->FindHandsetDevices();
  EXPECT_FALSE(search.found);
  EXPECT_EQ(bench.mixer->MixerID(), -1);
  EXPECT_EQ(bench.journal, (AudioLines{"OPEN 1", "CLOSE 1"}));
  EXPECT_EQ(bench.volume->HandsetOutName(), "");
  EXPECT_EQ(search.output, "");
  // The microphone was still looked for, and its name stays.
  EXPECT_EQ(bench.volume->HandsetInName(), "USB Phone");
  EXPECT_EQ(search.input, "USB Phone");
}

TEST(HandsetSearch, TheFirstMatchingMicrophoneIsTheHandsets) {
  VolumeBench bench;
  bench.devices.ins = {"Microphone", "USB Phone A", "USB Phone B"};
  bench.Create();
  EXPECT_TRUE(bench.volume->FindHandsetDevices().found);
  EXPECT_EQ(bench.volume->HandsetInName(), "USB Phone A");
}

TEST(HandsetSearch, NothingIsLookedForWithoutTheHandsetOrWithoutItsMicrophone) {
  VolumeBench absent;
  absent.handset_present = false;
  absent.Create();
  EXPECT_FALSE(absent.volume->FindHandsetDevices().found);
  EXPECT_TRUE(absent.journal.empty());

  VolumeBench no_microphone;
  no_microphone.devices.ins = {"Microphone"};
  no_microphone.Create();
  EXPECT_FALSE(no_microphone.volume->FindHandsetDevices().found);
  EXPECT_EQ(no_microphone.mixer->MixerID(), -1);
  EXPECT_EQ(no_microphone.volume->HandsetOutName(), "USB Phone");
}

TEST(HandsetSearch, AStoredVolumeAboveTheRangeReachesTheMixerThenTheMaximum) {
  VolumeBench bench;
  bench.stored.SpeakerVolume = 70000;
  bench.Create();
  bench.volume->FindHandsetDevices();
  EXPECT_EQ(AudioLines(bench.journal.begin() + 1, bench.journal.begin() + 4),
            (AudioLines{"SET 1 70000 70000", "SET 2 0 0", "SET 1 65535 65535"}));
  EXPECT_EQ(bench.speaker.Position(), 65535);
  EXPECT_EQ(bench.values().SpeakerVolume, 70000);  // kept until the user or the mixer changes it
}

TEST(HandsetSearch, OnlyNt50AndNt51SetTheHandsetsVolume) {
  for (std::uint8_t os_kind : {kOsOther, kOsNt60}) {
    VolumeBench bench(os_kind);
    bench.devices.outs = {"USB Phone"};
    bench.devices.out_mixers = {1};
    bench.devices.ins = {"USB Phone"};
    bench.Create();
    EXPECT_TRUE(bench.volume->FindHandsetDevices().found) << int(os_kind);
    EXPECT_EQ(bench.journal, (AudioLines{"OPEN 1"})) << int(os_kind);
  }
}

TEST(UserChanges, EachMoveAndClickGoesToThePlaybackOrRecordingLine) {
  VolumeBench bench;
  bench.Found();
  bench.speaker.SetPosition(40000);
  bench.microphone_mute.SetChecked(true);
  EXPECT_EQ(bench.journal, (AudioLines{"SET 1 40000 40000", "SET 2 0 0", "SET 5 32767", "SET 6 1"}));
  EXPECT_EQ(bench.values().SpeakerVolume, 40000);
  EXPECT_TRUE(bench.values().MicMute);
}

TEST(UserChanges, NothingReachesTheMixerOnOtherWindowsVersionsOrWithoutItsMixer) {
  for (std::uint8_t os_kind : {kOsOther, kOsNt60}) {
    VolumeBench bench(os_kind);
    bench.Found();
    bench.speaker.SetPosition(1000);  // as the volume keys move it, also when disabled
    EXPECT_TRUE(bench.journal.empty()) << int(os_kind);
    EXPECT_EQ(bench.values().SpeakerVolume, kHandsetVolumeDefault);
  }
  VolumeBench closed;
  closed.Found();
  closed.mixer->SetMixerId(-1);
  closed.journal.clear();
  closed.speaker.SetPosition(1000);
  EXPECT_EQ(closed.journal, AudioLines{});
}

TEST(MixerFeedback, APlaybackChangeIsCopiedToItsFirstSourceAndTheLoopEnds) {
  VolumeBench bench;
  bench.Found();
  bench.speaker.SetPosition(50000);
  EXPECT_EQ(bench.notices.size(), 2u);
  bench.Settle();
  EXPECT_EQ(bench.Values(kSourceVolume), (std::vector<std::uint32_t>{50000, 50000}));
  EXPECT_EQ(bench.Values(kSpeakerVolume), (std::vector<std::uint32_t>{50000, 50000}));
  EXPECT_EQ(bench.values().SpeakerVolume, bench.speaker.Position());
}

TEST(MixerFeedback, AChangeOfTheSourceFromOutsideIsCopiedToTheLineAndShown) {
  VolumeBench bench;
  bench.Found();
  bench.port.values[kSourceVolume] = {12000, 12000};
  bench.notices.emplace_back(FakeMixerPort::HandleOf(1), kSourceVolume);
  bench.Settle();
  EXPECT_EQ(bench.speaker.Position(), 12000);
  EXPECT_EQ(bench.Values(kSpeakerVolume), (std::vector<std::uint32_t>{12000, 12000}));
  EXPECT_EQ(bench.values().SpeakerVolume, 12000);

  // The microphone line is shown and stored, with nothing copied.
  bench.port.values[kMicVolume] = {777};
  bench.port.values[6] = {1};
  bench.notices.emplace_back(FakeMixerPort::HandleOf(1), kMicVolume);
  bench.Settle();
  EXPECT_EQ(bench.microphone.Position(), 777);
  EXPECT_TRUE(bench.microphone_mute.Checked());
  EXPECT_EQ(bench.values().MicVolume, 777);
  EXPECT_TRUE(bench.values().MicMute);
}

TEST(MixerFeedback, LinesThatAgreeLeaveTheStoredValuesAlone) {
  VolumeBench bench;
  bench.Found();
  bench.port.values[kSpeakerVolume] = {9000, 9000};
  bench.port.values[kSourceVolume] = {9000, 9000};
  bench.notices.emplace_back(FakeMixerPort::HandleOf(1), kSpeakerVolume);
  bench.Settle();
  EXPECT_EQ(bench.speaker.Position(), 9000);
  EXPECT_EQ(bench.values().SpeakerVolume, kHandsetVolumeDefault);
}

TEST(MixerFeedback, LinesThatDifferOnlyOnTheRightChannelAreBroughtInStep) {
  VolumeBench bench;
  bench.Found();
  bench.port.values[kSpeakerVolume] = {9000, 9000};
  bench.port.values[kSourceVolume] = {9000, 4000};
  bench.notices.emplace_back(FakeMixerPort::HandleOf(1), kSpeakerVolume);
  bench.Settle();
  // The line's level goes to both channels of the source.
  EXPECT_EQ(bench.Values(kSourceVolume), (std::vector<std::uint32_t>{9000, 9000}));
  EXPECT_EQ(bench.values().SpeakerVolume, 9000);
}

TEST(MixerFeedback, ALineWithoutUsableControlsDisablesThem) {
  VolumeBench bench;
  FakeMixer mixer = HandsetMixer();
  mixer.destinations[1].controls = {Volume(5, mixer_api::kControlDisabled), Mute(6, mixer_api::kControlDisabled)};
  bench.port.mixers[1] = mixer;
  bench.port.values[5] = {100};
  bench.Found();
  bench.volume->ReadSide(THandsetSide::Microphone);
  EXPECT_EQ(bench.microphone.Position(), 0);
  EXPECT_FALSE(bench.microphone.Enabled());
  EXPECT_FALSE(bench.microphone_mute.Checked());
  EXPECT_FALSE(bench.microphone_mute.Enabled());
}

TEST(MixerFeedback, AMixerLevelAboveTheRangeIsShownAsTheMaximumAndWrittenBack) {
  VolumeBench bench;
  bench.Found();
  bench.port.values[kMicVolume] = {90000};
  EXPECT_TRUE(bench.volume->ReadSide(THandsetSide::Microphone));
  EXPECT_EQ(bench.microphone.Position(), 65535);
  EXPECT_EQ(bench.journal, (AudioLines{"SET 5 65535", "SET 6 0"}));
}

TEST(DefaultButton, DefaultVolumesWithoutMuteReachTheMixer) {
  VolumeBench bench;
  bench.stored.SpeakerMute = true;
  bench.Found();
  bench.speaker.SetPosition(100);
  bench.journal.clear();

  bench.volume->RestoreDefaults();
  EXPECT_EQ(bench.speaker.Position(), kHandsetVolumeDefault);
  EXPECT_FALSE(bench.speaker_mute.Checked());
  EXPECT_EQ(bench.Values(kSpeakerVolume), (std::vector<std::uint32_t>{32767, 32767}));
  EXPECT_EQ(bench.Values(2), (std::vector<std::uint32_t>{0, 0}));
  EXPECT_EQ(bench.Values(kMicVolume), (std::vector<std::uint32_t>{32767}));
  EXPECT_EQ(bench.journal.size(), 8u);  // four line writes of two controls
}

TEST(DefaultButton, MutesAreStoredOffAlsoWhereTheMixerIsNotSet) {
  VolumeBench bench(kOsNt60);
  bench.stored = {5, 5, true, true};
  bench.Found();
  bench.volume->RestoreDefaults();
  EXPECT_EQ(bench.values().SpeakerVolume, 32767);
  EXPECT_EQ(bench.values().MicVolume, 32767);
  EXPECT_FALSE(bench.values().SpeakerMute);
  EXPECT_FALSE(bench.values().MicMute);
  EXPECT_TRUE(bench.journal.empty());
}
