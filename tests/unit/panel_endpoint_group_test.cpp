// The volume group over the audio endpoints (Vista and later): the same group and controls as
// over the mixer, with the endpoint backend behind them.
#include <gtest/gtest.h>

#include <algorithm>
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
  // "Default" is shown and kept for saving also on the track bar that is off.
  bench.volume->RestoreDefaults();
  EXPECT_EQ(bench.speaker.Position(), kHandsetVolumeDefault);
  EXPECT_FALSE(bench.speaker.Enabled());
  EXPECT_EQ(bench.volume->Values().SpeakerVolume, kHandsetVolumeDefault);
  EXPECT_FALSE(bench.volume->Values().SpeakerMute);
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

namespace {

// The whole panel over the endpoints, linked to a bridge that reports the handset in a call.
struct EndpointPanel {
  EndpointPanel() {
    panel.audio.devices.outs = {"Speakers", "USB Phone"};
    panel.audio.devices.ins = {"USB Phone"};
    panel.audio.endpoints.Add(TEndpointFlow::Render, "Speaker (USB Phone)");
    panel.audio.endpoints.Add(TEndpointFlow::Capture, "Microphone (USB Phone)");
    panel.audio.endpoints_changed = [this] { panel.form.WMDeviceChange(); };
    panel.Link(0x0101);
    panel.Report(0x0101, 6);
  }
  bool GroupOn() const { return panel.controls.volume_group.Enabled(); }
  // The handset's two endpoints go or come back, as the notification client tells it, and
  // the device-change timer runs out.
  void Plug(bool plugged) {
    for (const char* name : {"Speaker (USB Phone)", "Microphone (USB Phone)"}) {
      panel.audio.endpoints.Named(name).gone = !plugged;
    }
    panel.audio.endpoint_volume.Events().OnEndpointDevicesChanged();
    ASSERT_TRUE(panel.ports.Running(TPanelTimer::DevChg));
    panel.form.TimerDevChgTimer();
  }

  PanelFixture panel{kOsOther, TStartSwitch::None, true};
};

}  // namespace

TEST(EndpointPanel, UnplugInACallTakesTheGroupOffAndReplugBringsItBackWithTheKeptValues) {
  EndpointPanel bench;
  ASSERT_TRUE(bench.GroupOn());
  bench.panel.controls.speaker.SetPosition(40000);

  bench.Plug(false);
  EXPECT_FALSE(bench.GroupOn()) << "the group stayed on without its devices";
  // The bridge still reports the handset (its keys are another device): the group stays off.
  bench.panel.Report(0x0101, 6);
  EXPECT_FALSE(bench.GroupOn());

  bench.panel.audio.endpoints.journal.clear();
  bench.Plug(true);
  EXPECT_TRUE(bench.GroupOn()) << "the group waited for something else than its devices";
  EXPECT_EQ(bench.panel.controls.speaker.Position(), 40000);
  EXPECT_TRUE(bench.panel.controls.speaker.Enabled());
  const auto& journal = bench.panel.audio.endpoints.journal;
  EXPECT_NE(std::find(journal.begin(), journal.end(), "level 0.610361 Speaker (USB Phone)"), journal.end())
      << "the kept level did not reach the replugged speaker";
}

TEST(EndpointPanel, EndpointsThatComeWhileNoBridgeReportsLeaveTheGroupOff) {
  EndpointPanel bench;
  bench.Plug(false);
  bench.panel.form.TimerDrvCheckTimer();
  bench.Plug(true);
  EXPECT_FALSE(bench.GroupOn());
}

TEST(EndpointPanel, OverTheMixerADeviceChangeLeavesTheGroupToTheStatusReports) {
  PanelFixture panel;
  panel.audio.devices.outs = {"USB Phone"};
  panel.audio.devices.ins = {"USB Phone"};
  panel.audio.devices.out_mixers = {0};
  panel.audio.port.mixers = {HandsetMixer()};
  panel.Link(0x0101);
  ASSERT_TRUE(panel.controls.volume_group.Enabled());
  panel.audio.devices.outs.clear();
  panel.form.TimerDevChgTimer();
  EXPECT_TRUE(panel.controls.volume_group.Enabled());
}
