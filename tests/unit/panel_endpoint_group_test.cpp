// The volume group over the audio endpoints (Vista and later): the same group and controls as
// over the mixer, with the endpoint backend behind them.
#include <gtest/gtest.h>

#include <optional>

#include "fake_audio.h"
#include "fake_endpoints.h"
#include "fake_panel.h"
#include "common/handset_key_values.h"
#include "panel/endpoint_volume_backend.h"
#include "panel/os_kind.h"
#include "panel/volume_group.h"

namespace {

using Journal = std::vector<std::string>;

struct EndpointGroupBench {
  explicit EndpointGroupBench(std::uint8_t os_kind = kOsOther) : os_kind(os_kind), registry(lines) {
    port.Add(TEndpointFlow::Render, "Speakers (USB Audio)");
    port.Add(TEndpointFlow::Render, "Speaker (USB Phone)");
    port.Add(TEndpointFlow::Capture, "Microphone (USB Phone)");
    devices.outs = {"Speakers", "USB Phone"};
    devices.ins = {"USB Phone"};
  }

  void Found() {
    backend.emplace(port, HandsetPatternFor(os_kind), [this] { ++looks_again; });
    volume.emplace(TVolumeControls{group, label_out, label_in, speaker, microphone, speaker_mute, microphone_mute},
                   *backend, devices, registry, os_kind, HandsetPatternFor(os_kind));
    volume->Load(stored);
    volume->SetHandsetPresent(true);
    speaker.SetOnChange([this] { volume->suiTrackBarVolOutChange(); });
    speaker_mute.SetOnClick([this] { volume->suiTrackBarVolOutChange(); });
    microphone.SetOnChange([this] { volume->suiTrackBarVolInChange(); });
    microphone_mute.SetOnClick([this] { volume->suiTrackBarVolInChange(); });
    volume->RefreshDevices();
    ASSERT_TRUE(volume->FindHandsetDevices().found);
    volume->Enable(true);
  }
  Journal Take() {
    Journal taken = port.journal;
    port.journal.clear();
    return taken;
  }
  // A change made elsewhere, as the endpoint window hands it over.
  void Elsewhere(const std::string& name, float level, bool mute) {
    FakeEndpoint& e = port.Named(name);
    e.level = level;
    e.mute = mute;
    backend->Events().OnEndpointVolume(e.id, level, mute, false);
  }

  std::uint8_t os_kind;
  TVolumeValues stored;
  AudioLines lines;
  FakeEndpointPort port;
  FakeWaveDevices devices;
  FakeDefaultDeviceRegistry registry;
  FakeGroupBox group;
  FakeLabel label_out;
  FakeLabel label_in;
  FakeTrackBar speaker;
  FakeTrackBar microphone;
  FakeCheckBox speaker_mute;
  FakeCheckBox microphone_mute;
  int looks_again = 0;
  std::optional<TEndpointVolumeBackend> backend;
  std::optional<TVolumeGroup> volume;
};

}  // namespace

TEST(EndpointGroup, FoundHandsetTakesTheStoredValuesOnceAndShowsThem) {
  EndpointGroupBench bench;
  bench.stored = {20000, 70000, true, false};
  bench.Found();
  // The "USB Phone" speaker, not the first "USB" one; each value written once, 70000 clamped.
  EXPECT_EQ(bench.Take(), (Journal{"level 0.305180 Speaker (USB Phone)", "mute on Speaker (USB Phone)",
                                   "level 1.000000 Microphone (USB Phone)", "mute off Microphone (USB Phone)"}));
  EXPECT_EQ(bench.speaker.Position(), 20000);
  EXPECT_TRUE(bench.speaker_mute.Checked());
  EXPECT_EQ(bench.microphone.Position(), 65535);
  EXPECT_TRUE(bench.speaker.Enabled() && bench.speaker_mute.Enabled() && bench.microphone.Enabled());
  EXPECT_TRUE(bench.speaker.ShowTick());
}

TEST(EndpointGroup, VistaGetsWorkingControlsOverTheEndpoints) {
  EndpointGroupBench bench(kOsNt60);
  bench.Found();
  EXPECT_TRUE(bench.speaker.Enabled());
  EXPECT_TRUE(bench.microphone_mute.Enabled());
}

TEST(EndpointGroup, SliderReachesTheEndpointAndAChangeElsewhereComesBackWithoutEcho) {
  EndpointGroupBench bench;
  bench.Found();
  bench.Take();
  bench.speaker.SetPosition(65535);
  bench.microphone_mute.SetChecked(true);
  EXPECT_EQ(bench.Take(), (Journal{"level 1.000000 Speaker (USB Phone)", "mute on Microphone (USB Phone)"}));
  EXPECT_EQ(bench.volume->Values().SpeakerVolume, 65535);
  EXPECT_TRUE(bench.volume->Values().MicMute);

  bench.Elsewhere("Speaker (USB Phone)", 0.0f, true);
  EXPECT_EQ(bench.speaker.Position(), 0);
  EXPECT_TRUE(bench.speaker_mute.Checked());
  EXPECT_EQ(bench.volume->Values().SpeakerVolume, 0);
  EXPECT_TRUE(bench.volume->Values().SpeakerMute);
  EXPECT_TRUE(bench.Take().empty()) << "the change was written back";
}

TEST(EndpointGroup, UpKeyInACallStepsTheSpeakerAndDefaultResetsBoth) {
  EndpointGroupBench bench;
  bench.stored = {62000, 1000, false, true};
  bench.Found();
  bench.Take();
  bench.volume->KeyReported(handset_key::kUp);
  bench.volume->RepeatKeys(false);
  EXPECT_TRUE(bench.Take().empty()) << "no call, no step";
  bench.volume->KeyReported(handset_key::kUp);
  bench.volume->RepeatKeys(true);
  bench.volume->RepeatKeys(true);
  EXPECT_EQ(bench.speaker.Position(), 65535);
  EXPECT_EQ(bench.Take(), (Journal{"level 1.000000 Speaker (USB Phone)"}));

  bench.volume->RestoreDefaults();
  EXPECT_EQ(bench.Take(), (Journal{"level 0.499992 Speaker (USB Phone)", "level 0.499992 Microphone (USB Phone)",
                                   "mute off Microphone (USB Phone)"}));
  EXPECT_EQ(bench.volume->Values().SpeakerVolume, kHandsetVolumeDefault);
  EXPECT_FALSE(bench.volume->Values().MicMute);
}

TEST(EndpointGroup, FailingLevelDisablesOnlyItsTrackBar) {
  EndpointGroupBench bench;
  bench.port.Named("Speaker (USB Phone)").level_fails = true;
  bench.Found();
  EXPECT_FALSE(bench.speaker.Enabled());
  EXPECT_TRUE(bench.speaker_mute.Enabled());
  EXPECT_TRUE(bench.microphone.Enabled());
  bench.Take();
  bench.speaker_mute.SetChecked(true);
  EXPECT_EQ(bench.Take(), (Journal{"mute on Speaker (USB Phone)"}));
}

TEST(EndpointGroup, UnplugDuringAChangeDisablesTheSideAndAsksToLookAgain) {
  EndpointGroupBench bench;
  bench.Found();
  bench.port.Unplug("Speaker (USB Phone)");
  bench.speaker.SetPosition(1000);
  EXPECT_FALSE(bench.speaker.Enabled());
  EXPECT_FALSE(bench.speaker_mute.Enabled());
  EXPECT_EQ(bench.looks_again, 1);
  EXPECT_TRUE(bench.port.calls_when_closed.empty());
  EXPECT_FALSE(bench.backend->IsOpen());
}
