// The window's volume group and Skype lists as the bridge's reports drive them, with the
// handset's mixer and wave devices behind them: what reaches the mixer, Skype and the
// settings file.
#include <gtest/gtest.h>

#include "fake_panel.h"

namespace {

constexpr std::uint32_t kHandsetAndSkype = 0x0101;
constexpr std::uint8_t kTalking = 6;
constexpr std::uint8_t kUp = 17;

// A machine with onboard sound and the handset, whose mixer is mixer 0.
class HandsetAudio : public ::testing::Test {
 protected:
  HandsetAudio() {
    panel.audio.port.mixers = {HandsetMixer()};
    panel.audio.devices.outs = {"Speakers", "USB Phone"};
    panel.audio.devices.out_mixers = {-1, 0};
    panel.audio.devices.ins = {"Microphone", "USB Phone"};
    panel.Link(kHandsetAndSkype);
  }
  Lines MixerWrites() {
    Lines writes;
    for (const std::string& line : panel.audio.journal) {
      if (line.rfind("SET ", 0) == 0) writes.push_back(line);
    }
    panel.audio.journal.clear();
    return writes;
  }
  Lines Commands() {
    Lines commands = panel.journal.With("COPYDATA");
    panel.journal.Clear();
    return commands;
  }

  PanelFixture panel;
};

}  // namespace

TEST_F(HandsetAudio, AReportWithTheHandsetFindsItsDevicesAndTheNextSendsThemToSkype) {
  EXPECT_TRUE(panel.controls.volume_group.Enabled());
  EXPECT_EQ(MixerWrites(), (Lines{"SET 1 32767 32767", "SET 2 0 0", "SET 5 32767", "SET 6 0"}));
  EXPECT_EQ(panel.controls.speaker.Position(), 32767);
  EXPECT_EQ(panel.controls.skype_out.items, (Lines{"Windows default sound device", "Speakers", "USB Phone"}));

  panel.Report(kHandsetAndSkype);
  // Ringing on the Windows default, which the search settled on the onboard speakers.
  EXPECT_EQ(Commands(), (Lines{"COPYDATA 0x100 !SET AUDIO_OUT USB Phone", "COPYDATA 0x100 !GET AUDIO_OUT",
                               "COPYDATA 0x100 !SET AUDIO_IN USB Phone", "COPYDATA 0x100 !GET AUDIO_IN",
                               "COPYDATA 0x100 !SET RINGER Speakers", "COPYDATA 0x100 !GET RINGER"}));
  EXPECT_EQ(panel.controls.skype_out.ItemIndex(), 2);
}

TEST_F(HandsetAudio, TheUpKeyInACallReachesTheMixerThroughTheTrackBar) {
  MixerWrites();
  panel.Report(kHandsetAndSkype, kTalking, kUp);
  EXPECT_EQ(MixerWrites(), (Lines{"SET 1 36863 36863", "SET 2 0 0"}));
  EXPECT_EQ(panel.form.Volume().Values().SpeakerVolume, 36863);
}

TEST_F(HandsetAudio, AMixerChangeOfTheSpeakerLineIsCopiedToItsFirstSource) {
  panel.audio.port.values[1] = {20000, 20000};
  MixerWrites();
  panel.audio.mixer.MixerCallBack(0x3D1, FakeMixerPort::HandleOf(0), 1);  // MM_MIXM_CONTROL_CHANGE
  EXPECT_EQ(MixerWrites(), (Lines{"SET 3 20000 20000", "SET 4 0 0"}));
  EXPECT_EQ(panel.controls.speaker.Position(), 20000);
}

TEST_F(HandsetAudio, DefaultAndAChoiceInAListWriteTheSettingsFile) {
  panel.controls.speaker.SetPosition(1000);
  panel.controls.default_button.on_click();
  EXPECT_EQ(panel.settings.stored.SpeakerVolume, 32767);
  EXPECT_EQ(panel.settings.stored.SkypeOutName, "USB Phone");
  EXPECT_EQ(panel.settings.stored.SkypeRingName, "-1");

  panel.journal.Clear();
  panel.controls.skype_ring.Choose(2);
  EXPECT_EQ(panel.journal.With("SETTINGS"), Lines{"SETTINGS SAVE"});
  EXPECT_EQ(panel.settings.stored.SkypeRingName, "USB Phone");
}

TEST_F(HandsetAudio, SkypeAnsweringAnotherDeviceForTheHandsetsIsTriedAgainAtTheNextReport) {
  panel.Report(kHandsetAndSkype);
  Commands();
  EXPECT_TRUE(panel.Answer("AUDIO_OUT Speakers"));
  EXPECT_EQ(panel.controls.skype_out.Tag(), 1);
  panel.Report(kHandsetAndSkype);
  EXPECT_EQ(Commands().front(), "COPYDATA 0x100 !SET AUDIO_OUT USB Phone");
}

TEST_F(HandsetAudio, TheVolumeGroupGoingOnOrOffStartsEveryListsRetriesAfresh) {
  const auto set_tags = [this](std::int32_t tag) {
    for (FakeComboBox* list : {&panel.controls.skype_out, &panel.controls.skype_in, &panel.controls.skype_ring}) {
      list->SetTag(tag);
    }
  };
  const auto tags = [this] {
    return std::vector<std::int32_t>{panel.controls.skype_out.Tag(), panel.controls.skype_in.Tag(),
                                     panel.controls.skype_ring.Tag()};
  };
  const std::vector<std::int32_t> afresh{0, 0, 0};
  // Retries left over: at the second suffix, three failures.
  set_tags(0x0103);
  panel.Report(0x0001);  // the handset went; Skype stays
  ASSERT_FALSE(panel.controls.volume_group.Enabled());
  EXPECT_EQ(tags(), afresh);

  set_tags(0x0103);
  panel.Report(kHandsetAndSkype);
  ASSERT_TRUE(panel.controls.volume_group.Enabled());
  EXPECT_EQ(tags(), afresh);
}

TEST_F(HandsetAudio, DefaultSavesTheHandsetDevicesResyncsAndSettlesTheWindowsDefaults) {
  panel.Report(kHandsetAndSkype);  // consumes the pending resync
  panel.controls.speaker_mute.SetChecked(true);
  panel.controls.skype_ring.Choose(2);
  panel.audio.registry.user.erase("Record");
  panel.audio.registry.machine = {{"SetupPreferredAudioDevicesCount", std::uint32_t{2}}};
  panel.audio.journal.clear();
  panel.journal.Clear();

  panel.controls.default_button.on_click();
  EXPECT_EQ(panel.journal.With("SETTINGS"), Lines{"SETTINGS SAVE"});
  const TPanelSettings& saved = panel.settings.stored;
  EXPECT_EQ(saved.SpeakerVolume, 32767);
  EXPECT_EQ(saved.MicVolume, 32767);
  EXPECT_FALSE(saved.SpeakerMute);
  EXPECT_EQ(saved.SkypeOutName + "/" + saved.SkypeInName + "/" + saved.SkypeRingName, "USB Phone/USB Phone/-1");
  EXPECT_EQ(AudioLines(panel.audio.journal.end() - 3, panel.audio.journal.end()),
            (AudioLines{"WRITE Playback=Speakers", "WRITE Record=Microphone", "WRITE SetupPreferredAudioDevicesCount=2"}));
  EXPECT_TRUE(panel.form.SkypeDevices().ResyncPending());
  EXPECT_TRUE(panel.controls.default_button.Enabled());
}
