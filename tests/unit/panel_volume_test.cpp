// The volume group against a fake handset mixer: the handset search, the controls and the
// mixer kept in step both ways, and the "Default" button.
#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "fake_audio.h"
#include "fake_panel.h"
#include "panel/os_kind.h"
#include "panel/volume_control.h"

namespace {

constexpr std::uint32_t kHandsetPresent = 0x0100;
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
  explicit VolumeBench(std::uint8_t os_kind = kOsNt51) : port(journal), registry(journal) {
    state.FOsKind = os_kind;
    state.FHandsetPattern = HandsetPatternFor(os_kind);
    state.FLinkStatus = kHandsetPresent;
    state.FResyncPending = false;
    port.mixers = {OnboardMixer(), HandsetMixer()};
    devices.outs = {"Speakers", "USB Phone"};
    devices.out_mixers = {0, 1};
    devices.ins = {"Microphone", "USB Phone"};
    registry.user = {{"Playback", std::string("Speakers")}, {"Record", std::string("Microphone")}};
    // A change notice for every write, delivered when the test lets the message loop run.
    port.on_write = [this](MixerHandle handle, std::uint32_t id) { notices.emplace_back(handle, id); };
  }

  // The window: its mixer, the volume group, the controls' events and the state setters.
  void Create() {
    mixer.emplace(port);
    TVolumeControlPorts ports;
    ports.SetTrackBarState = [this](ITrackBar& bar, int position, int enabled, int, int) {
      Updating([&] {
        if (position != -1) bar.SetPosition(position);
        if (enabled != -1) bar.SetEnabled(enabled != 0);
      });
    };
    ports.SetCheckBoxState = [this](ICheckBox& box, int checked, int enabled) {
      Updating([&] {
        if (checked != -1) box.SetChecked(checked != 0);
        if (enabled != -1) box.SetEnabled(enabled != 0);
      });
    };
    ports.FillDeviceLists = [this] { journal.push_back("FILL"); };
    ports.SaveSettings = [this] {
      journal.push_back("SAVE " + std::to_string(state.FSpeakerVolume) + " " + std::to_string(state.FMicVolume) +
                        " " + std::to_string(state.FSpeakerMute) + std::to_string(state.FMicMute) + " " +
                        state.FSkypeOutName + "/" + state.FSkypeInName + "/" + state.FSkypeRingName);
    };
    volume.emplace(state, TVolumeControls{speaker, microphone, speaker_mute, microphone_mute, default_button}, *mixer,
                   devices, registry, ports);
    speaker.SetOnChange([this] { volume->suiTrackBarVolOutChange(); });
    speaker_mute.SetOnClick([this] { volume->suiTrackBarVolOutChange(); });
    microphone.SetOnChange([this] { volume->suiTrackBarVolInChange(); });
    microphone_mute.SetOnClick([this] { volume->suiTrackBarVolInChange(); });
    mixer->OnCtrlChange = [this](TAudioMixer&, MixerHandle, std::uint32_t id) { volume->AudioMixerUsbCtrlChange(id); };
    // As the window does while it is created: the mixers counted, none open.
    volume->RefreshMixers();
    journal.clear();
  }
  // The handset found as at a status report; the journal and pending notices emptied.
  void Found() {
    Create();
    ASSERT_TRUE(volume->FindHandsetDevices(false));
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
  template <class F>
  void Updating(F change) {
    const bool was = state.FUpdating;
    state.FUpdating = true;
    change();
    state.FUpdating = was;
  }

  AudioLines journal;
  FakeMixerPort port;
  FakeWaveDevices devices;
  FakeDefaultDeviceRegistry registry;
  std::deque<std::pair<MixerHandle, std::uint32_t>> notices;
  TForm1State state;
  FakeTrackBar speaker;
  FakeTrackBar microphone;
  FakeCheckBox speaker_mute;
  FakeCheckBox microphone_mute;
  FakeButton default_button;
  std::optional<TAudioMixer> mixer;
  std::optional<TVolumeControl> volume;
};

}  // namespace

TEST(HandsetSearch, TheHandsetsMixerIsOpenedAndTakesTheStoredVolumes) {
  VolumeBench bench;
  bench.state.FSpeakerVolume = 20000;
  bench.state.FSpeakerMute = true;
  bench.state.FMicVolume = 1000;
  bench.Create();

  EXPECT_TRUE(bench.volume->FindHandsetDevices(false));
  EXPECT_EQ(bench.mixer->MixerID(), 1);
  EXPECT_EQ(bench.journal, (AudioLines{"OPEN 1", "SET 1 20000 20000", "SET 2 1 1", "SET 5 1000", "SET 6 0"}));
  EXPECT_EQ(bench.speaker.Position(), 20000);
  EXPECT_TRUE(bench.speaker_mute.Checked());
  EXPECT_EQ(bench.microphone.Position(), 1000);
  EXPECT_EQ(bench.state.FHandsetOutName, "USB Phone");
  EXPECT_EQ(bench.state.FHandsetInName, "USB Phone");
  // Nothing chosen yet: the handset for calls, the Windows default for ringing.
  EXPECT_EQ(bench.state.FSkypeOutName, "USB Phone");
  EXPECT_EQ(bench.state.FSkypeInName, "USB Phone");
  EXPECT_EQ(bench.state.FSkypeRingName, "-1");
  EXPECT_TRUE(bench.state.FResyncPending);
}

TEST(HandsetSearch, SavedChoicesStayAndARefillRebuildsTheLists) {
  VolumeBench bench;
  bench.state.FSkypeOutName = "Speakers";
  bench.state.FSkypeInName = "-1";
  bench.Create();
  EXPECT_TRUE(bench.volume->FindHandsetDevices(true));
  EXPECT_EQ(bench.journal.back(), "FILL");
  EXPECT_EQ(bench.state.FSkypeOutName + "/" + bench.state.FSkypeInName + "/" + bench.state.FSkypeRingName,
            "Speakers/-1/");
}

TEST(HandsetSearch, OnlyTheFirstMatchingDeviceIsTriedAndThreeDestinationsAreRefused) {
  VolumeBench bench;
  FakeMixer three = HandsetMixer();
  three.destinations.push_back(FakeLine{300, 1, {Volume(30)}});
  bench.port.mixers = {OnboardMixer(), three, HandsetMixer()};
  bench.devices.outs = {"Speakers", "USB Phone A", "USB Phone B"};
  bench.devices.out_mixers = {0, 1, 2};
  bench.Create();

  EXPECT_FALSE(bench.volume->FindHandsetDevices(false));
  EXPECT_EQ(bench.mixer->MixerID(), -1);
  EXPECT_EQ(bench.journal, (AudioLines{"OPEN 1", "CLOSE 1"}));
  EXPECT_EQ(bench.state.FHandsetOutName, "");
  // The microphone was still looked for, and its name stays.
  EXPECT_EQ(bench.state.FHandsetInName, "USB Phone");
  EXPECT_FALSE(bench.state.FResyncPending);
}

TEST(HandsetSearch, TheFirstMatchingMicrophoneIsTheHandsets) {
  VolumeBench bench;
  bench.devices.ins = {"Microphone", "USB Phone A", "USB Phone B"};
  bench.Create();
  EXPECT_TRUE(bench.volume->FindHandsetDevices(false));
  EXPECT_EQ(bench.state.FHandsetInName, "USB Phone A");
  EXPECT_EQ(bench.state.FSkypeInName, "USB Phone A");
}

TEST(HandsetSearch, NothingIsLookedForWithoutTheHandsetOrWithoutItsMicrophone) {
  VolumeBench absent;
  absent.state.FLinkStatus = 0x0001;
  absent.Create();
  EXPECT_FALSE(absent.volume->FindHandsetDevices(false));
  EXPECT_TRUE(absent.journal.empty());

  VolumeBench no_microphone;
  no_microphone.devices.ins = {"Microphone"};
  no_microphone.Create();
  EXPECT_FALSE(no_microphone.volume->FindHandsetDevices(false));
  EXPECT_EQ(no_microphone.mixer->MixerID(), -1);
  EXPECT_EQ(no_microphone.state.FHandsetOutName, "USB Phone");
}

TEST(HandsetSearch, AStoredVolumeAboveTheRangeReachesTheMixerThenTheMaximum) {
  VolumeBench bench;
  bench.state.FSpeakerVolume = 70000;
  bench.Create();
  bench.volume->FindHandsetDevices(false);
  EXPECT_EQ(AudioLines(bench.journal.begin() + 1, bench.journal.begin() + 4),
            (AudioLines{"SET 1 70000 70000", "SET 2 0 0", "SET 1 65535 65535"}));
  EXPECT_EQ(bench.speaker.Position(), 65535);
  EXPECT_EQ(bench.state.FSpeakerVolume, 70000);  // kept until the user or the mixer changes it
}

TEST(HandsetSearch, OnlyNt50AndNt51SetTheHandsetsVolume) {
  for (std::uint8_t os_kind : {kOsOther, kOsNt60}) {
    VolumeBench bench(os_kind);
    bench.devices.outs = {"USB Phone"};
    bench.devices.out_mixers = {1};
    bench.devices.ins = {"USB Phone"};
    bench.Create();
    EXPECT_TRUE(bench.volume->FindHandsetDevices(false)) << int(os_kind);
    EXPECT_EQ(bench.journal, (AudioLines{"OPEN 1"})) << int(os_kind);
  }
}

TEST(UserChanges, EachMoveAndClickGoesToThePlaybackOrRecordingLine) {
  VolumeBench bench;
  bench.Found();
  bench.speaker.SetPosition(40000);
  bench.microphone_mute.SetChecked(true);
  EXPECT_EQ(bench.journal, (AudioLines{"SET 1 40000 40000", "SET 2 0 0", "SET 5 32767", "SET 6 1"}));
  EXPECT_EQ(bench.state.FSpeakerVolume, 40000);
  EXPECT_TRUE(bench.state.FMicMute);
}

TEST(UserChanges, NothingReachesTheMixerOnOtherWindowsVersionsOrWithoutItsMixer) {
  for (std::uint8_t os_kind : {kOsOther, kOsNt60}) {
    VolumeBench bench(os_kind);
    bench.Found();
    bench.speaker.SetPosition(1000);  // as the volume keys move it, also when disabled
    EXPECT_TRUE(bench.journal.empty()) << int(os_kind);
    EXPECT_EQ(bench.state.FSpeakerVolume, kDefaultVolume);
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
  EXPECT_EQ(bench.state.FSpeakerVolume, bench.speaker.Position());
}

TEST(MixerFeedback, AChangeOfTheSourceFromOutsideIsCopiedToTheLineAndShown) {
  VolumeBench bench;
  bench.Found();
  bench.port.values[kSourceVolume] = {12000, 12000};
  bench.notices.emplace_back(FakeMixerPort::HandleOf(1), kSourceVolume);
  bench.Settle();
  EXPECT_EQ(bench.speaker.Position(), 12000);
  EXPECT_EQ(bench.Values(kSpeakerVolume), (std::vector<std::uint32_t>{12000, 12000}));
  EXPECT_EQ(bench.state.FSpeakerVolume, 12000);

  // The microphone line is shown and stored, with nothing copied.
  bench.port.values[kMicVolume] = {777};
  bench.port.values[6] = {1};
  bench.notices.emplace_back(FakeMixerPort::HandleOf(1), kMicVolume);
  bench.Settle();
  EXPECT_EQ(bench.microphone.Position(), 777);
  EXPECT_TRUE(bench.microphone_mute.Checked());
  EXPECT_EQ(bench.state.FMicVolume, 777);
  EXPECT_TRUE(bench.state.FMicMute);
}

TEST(MixerFeedback, LinesThatAgreeLeaveTheStoredValuesAlone) {
  VolumeBench bench;
  bench.Found();
  bench.port.values[kSpeakerVolume] = {9000, 9000};
  bench.port.values[kSourceVolume] = {9000, 9000};
  bench.notices.emplace_back(FakeMixerPort::HandleOf(1), kSpeakerVolume);
  bench.Settle();
  EXPECT_EQ(bench.speaker.Position(), 9000);
  EXPECT_EQ(bench.state.FSpeakerVolume, kDefaultVolume);
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
  EXPECT_EQ(bench.state.FSpeakerVolume, 9000);
}

TEST(MixerFeedback, ALineWithoutUsableControlsDisablesThem) {
  VolumeBench bench;
  FakeMixer mixer = HandsetMixer();
  mixer.destinations[1].controls = {Volume(5, mixer_api::kControlDisabled), Mute(6, mixer_api::kControlDisabled)};
  bench.port.mixers[1] = mixer;
  bench.port.values[5] = {100};
  bench.Found();
  bench.volume->ReadVolume(1, -1, bench.microphone, bench.microphone_mute, 0, 65535);
  EXPECT_EQ(bench.microphone.Position(), 0);
  EXPECT_FALSE(bench.microphone.Enabled());
  EXPECT_FALSE(bench.microphone_mute.Checked());
  EXPECT_FALSE(bench.microphone_mute.Enabled());
}

TEST(MixerFeedback, AMixerLevelAboveTheRangeIsShownAsTheMaximumAndWrittenBack) {
  VolumeBench bench;
  bench.Found();
  bench.port.values[kMicVolume] = {90000};
  EXPECT_TRUE(bench.volume->ReadVolume(1, -1, bench.microphone, bench.microphone_mute, 0, 65535));
  EXPECT_EQ(bench.microphone.Position(), 65535);
  EXPECT_EQ(bench.journal, (AudioLines{"SET 5 65535", "SET 6 0"}));
}

TEST(DefaultButton, DefaultVolumesNoMuteHandsetDevicesSavedAndDefaultDevicesSettled) {
  VolumeBench bench;
  bench.state.FSpeakerMute = true;
  bench.state.FSkypeRingName = "Speakers";
  bench.Found();
  bench.speaker.SetPosition(100);
  bench.registry.user.erase("Record");
  bench.registry.machine = {{"SetupPreferredAudioDevicesCount", std::uint32_t{2}}};
  bench.journal.clear();

  bench.volume->suiButtonDefaultClick();
  EXPECT_EQ(bench.speaker.Position(), kDefaultVolume);
  EXPECT_FALSE(bench.speaker_mute.Checked());
  EXPECT_EQ(bench.Values(kSpeakerVolume), (std::vector<std::uint32_t>{32767, 32767}));
  EXPECT_EQ(bench.Values(2), (std::vector<std::uint32_t>{0, 0}));
  EXPECT_EQ(bench.Values(kMicVolume), (std::vector<std::uint32_t>{32767}));
  EXPECT_EQ(bench.journal.size(), 12u);  // four line writes of two controls, save, settle
  EXPECT_EQ(bench.journal[8], "SAVE 32767 32767 00 USB Phone/USB Phone/-1");
  EXPECT_EQ(AudioLines(bench.journal.begin() + 9, bench.journal.end()),
            (AudioLines{"WRITE Playback=Speakers", "WRITE Record=Microphone", "WRITE SetupPreferredAudioDevicesCount=2"}));
  EXPECT_TRUE(bench.state.FResyncPending);
  EXPECT_TRUE(bench.default_button.Enabled());
}

TEST(DefaultButton, MutesAreStoredOffAlsoWhereTheMixerIsNotSet) {
  VolumeBench bench(kOsNt60);
  bench.state.FSpeakerMute = true;
  bench.state.FMicMute = true;
  bench.state.FMicVolume = 5;
  bench.Found();
  bench.volume->suiButtonDefaultClick();
  EXPECT_EQ(bench.journal.front(), "SAVE 32767 32767 00 USB Phone/USB Phone/-1");
}
