#include "panel/volume_control.h"

#include <algorithm>
#include <string>
#include <utility>

#include "common/bridge_status.h"
#include "panel/main_form.h"
#include "panel/os_kind.h"

namespace {

constexpr std::int32_t kPlayback = 0;
constexpr std::int32_t kRecording = 1;
constexpr std::int32_t kLine = -1;        // the destination line itself
constexpr std::int32_t kFirstSource = 0;  // the destination's first connection
constexpr std::size_t kHandsetDestinations = 2;
constexpr int kVolumeMin = 0;
constexpr int kVolumeMax = 65535;
constexpr int kUnchanged = -1;
constexpr char kWindowsDefaultSaved[] = "-1";

std::int32_t MuteValue(bool mute) { return mute ? 1 : 0; }

bool IsHandsetDevice(const std::string& name, const std::string& pattern) {
  return !name.empty() && name.find(pattern) != std::string::npos;
}

}  // namespace

TVolumeControl::TVolumeControl(TForm1State& state, const TVolumeControls& controls, TAudioMixer& mixer,
                               IWaveDevices& devices, IDefaultDeviceRegistry& registry, TVolumeControlPorts ports)
    : state_(state),
      controls_(controls),
      mixer_(mixer),
      devices_(devices),
      registry_(registry),
      ports_(std::move(ports)) {}

void TVolumeControl::RefreshMixers() {
  mixer_.GetMixerNumDevs();
  mixer_.SetMixerId(-1);
}

bool TVolumeControl::FindHandsetDevices(bool refill) {
  bool found = false;
  if (HandsetPresent()) {
    const bool output = FindHandsetOutput();
    const bool input = FindHandsetInput();
    found = output && input;
  }
  if (found) {
    state_.FResyncPending = true;
  } else {
    // Names already stored stay; only the mixer is let go.
    mixer_.SetMixerId(-1);
  }
  if (refill) ports_.FillDeviceLists();
  return found;
}

bool TVolumeControl::FindHandsetOutput() {
  mixer_.SetMixerId(-1);
  const unsigned count = devices_.OutCount();
  for (unsigned i = 0; i < count; ++i) {
    const std::string name = devices_.OutName(i);
    if (!IsHandsetDevice(name, state_.FHandsetPattern)) continue;
    // Only the first matching device is tried, whatever follows it.
    mixer_.SetMixerId(devices_.OutMixerId(i));
    if (mixer_.MixerID() < 0 || mixer_.DestinationCount() != kHandsetDestinations) return false;
    if (VolumeReachesMixer()) {
      mixer_.SetVolume(kPlayback, kLine, state_.FSpeakerVolume, -1, MuteValue(state_.FSpeakerMute));
      ApplyVolume(kPlayback, kLine, controls_.suiTrackBarVolOut, controls_.suiCheckBoxVolOut, state_.FSpeakerVolume,
                  kVolumeMin, kVolumeMax, state_.FSpeakerMute);
      mixer_.SetVolume(kRecording, kLine, state_.FMicVolume, -1, MuteValue(state_.FMicMute));
      ApplyVolume(kRecording, kLine, controls_.suiTrackBarVolIn, controls_.suiCheckBoxVolIn, state_.FMicVolume,
                  kVolumeMin, kVolumeMax, state_.FMicMute);
    }
    state_.FHandsetOutName = name;
    if (state_.FSkypeOutName.empty()) {
      state_.FSkypeOutName = name;
      state_.FSkypeRingName = kWindowsDefaultSaved;
    }
    return true;
  }
  return false;
}

bool TVolumeControl::FindHandsetInput() {
  const unsigned count = devices_.InCount();
  for (unsigned i = 0; i < count; ++i) {
    const std::string name = devices_.InName(i);
    if (!IsHandsetDevice(name, state_.FHandsetPattern)) continue;
    state_.FHandsetInName = name;
    if (state_.FSkypeInName.empty()) state_.FSkypeInName = name;
    return true;
  }
  return false;
}

bool TVolumeControl::ApplyVolume(std::int32_t destination, std::int32_t component, ITrackBar& track_bar,
                                 ICheckBox& check_box, int value, int low, int high, bool mute) {
  if (!VolumeReachesMixer()) return false;
  const int clamped = std::clamp(value, low, high);
  if (clamped != value) mixer_.SetVolume(destination, component, clamped, -1, MuteValue(mute));
  ports_.SetCheckBoxState(check_box, MuteValue(mute), true);
  ports_.SetTrackBarState(track_bar, clamped, true, kUnchanged, kUnchanged);
  return track_bar.Enabled() && check_box.Enabled();
}

bool TVolumeControl::ReadVolume(std::int32_t destination, std::int32_t component, ITrackBar& track_bar,
                                ICheckBox& check_box, int low, int high) {
  if (!VolumeReachesMixer()) return false;
  const std::optional<TLineVolume> volume = mixer_.GetVolume(destination, component);
  if (!volume) return false;
  const bool mute_usable = !volume->mute_unavailable;
  const bool mute = mute_usable && volume->mute != 0;
  const bool level_usable = volume->left != -1;
  // A line without a volume control shows 0, disabled.
  const int position = level_usable ? std::clamp<int>(volume->left, low, high) : 0;
  if (level_usable && position != volume->left) {
    mixer_.SetVolume(destination, component, position, -1, MuteValue(mute));
  }
  ports_.SetCheckBoxState(check_box, MuteValue(mute), mute_usable);
  ports_.SetTrackBarState(track_bar, position, level_usable, kUnchanged, kUnchanged);
  return track_bar.Enabled() && check_box.Enabled();
}

bool TVolumeControl::PlaybackLinesDiffer() {
  if (!VolumeReachesMixer()) return false;
  const std::optional<TLineVolume> line = mixer_.GetVolume(kPlayback, kLine);
  const std::optional<TLineVolume> source = mixer_.GetVolume(kPlayback, kFirstSource);
  if (!line || !source) return false;
  for (const TLineVolume* read : {&*line, &*source}) {
    if (read->volume_unavailable || read->mute_unavailable) return false;
  }
  return line->left != source->left || line->right != source->right || line->mute != source->mute;
}

void TVolumeControl::suiTrackBarVolOutChange() {
  // The panel's own control changes (FUpdating) are not written back.
  if (!VolumeReachesMixer() || state_.FUpdating || mixer_.MixerID() < 0) return;
  mixer_.SetVolume(kPlayback, kLine, controls_.suiTrackBarVolOut.Position(), -1,
                   MuteValue(controls_.suiCheckBoxVolOut.Checked()));
  StoreSpeaker();
}

void TVolumeControl::suiTrackBarVolInChange() {
  if (!VolumeReachesMixer() || state_.FUpdating || mixer_.MixerID() < 0) return;
  mixer_.SetVolume(kRecording, kLine, controls_.suiTrackBarVolIn.Position(), -1,
                   MuteValue(controls_.suiCheckBoxVolIn.Checked()));
  StoreMicrophone();
}

void TVolumeControl::AudioMixerUsbCtrlChange(std::uint32_t control_id) {
  if (!HandsetPresent() || !VolumeReachesMixer()) return;
  ITrackBar& speaker = controls_.suiTrackBarVolOut;
  ICheckBox& speaker_mute = controls_.suiCheckBoxVolOut;
  // Whichever of the playback line and its first source changed is copied to the other;
  // the copy's own notice then finds both equal and stops.
  if (mixer_.CheckCtrlID(kPlayback, kLine, control_id)) {
    if (ReadVolume(kPlayback, kLine, speaker, speaker_mute, kVolumeMin, kVolumeMax) && PlaybackLinesDiffer()) {
      mixer_.SetVolume(kPlayback, kFirstSource, speaker.Position(), -1, MuteValue(speaker_mute.Checked()));
      StoreSpeaker();
    }
  } else if (mixer_.CheckCtrlID(kPlayback, kFirstSource, control_id)) {
    if (ReadVolume(kPlayback, kFirstSource, speaker, speaker_mute, kVolumeMin, kVolumeMax) &&
        PlaybackLinesDiffer()) {
      mixer_.SetVolume(kPlayback, kLine, speaker.Position(), -1, MuteValue(speaker_mute.Checked()));
      StoreSpeaker();
    }
  } else if (mixer_.CheckCtrlID(kRecording, kLine, control_id)) {
    ReadVolume(kRecording, kLine, controls_.suiTrackBarVolIn, controls_.suiCheckBoxVolIn, kVolumeMin, kVolumeMax);
    StoreMicrophone();
  }
}

void TVolumeControl::suiButtonDefaultClick() {
  controls_.suiButtonDefault.SetEnabled(false);
  state_.FSpeakerVolume = kDefaultVolume;
  state_.FMicVolume = kDefaultVolume;
  // Stored here too, so that the defaults are saved also when no change reaches the mixer.
  state_.FSpeakerMute = false;
  state_.FMicMute = false;
  ports_.SetTrackBarState(controls_.suiTrackBarVolOut, kDefaultVolume, kUnchanged, kUnchanged, kUnchanged);
  ports_.SetTrackBarState(controls_.suiTrackBarVolIn, kDefaultVolume, kUnchanged, kUnchanged, kUnchanged);
  ports_.SetCheckBoxState(controls_.suiCheckBoxVolOut, false, kUnchanged);
  ports_.SetCheckBoxState(controls_.suiCheckBoxVolIn, false, kUnchanged);
  // The track bars' OnChange, then the check boxes' OnClick: the values reach the mixer.
  suiTrackBarVolOutChange();
  suiTrackBarVolInChange();
  suiTrackBarVolOutChange();
  suiTrackBarVolInChange();
  state_.FSkypeOutName = state_.FHandsetOutName;
  state_.FSkypeInName = state_.FHandsetInName;
  state_.FSkypeRingName = kWindowsDefaultSaved;
  ports_.SaveSettings();
  state_.FResyncPending = true;
  SettleDefaultDevices();
  controls_.suiButtonDefault.SetEnabled(true);
}

void TVolumeControl::SettleDefaultDevices() {
  ::SettleDefaultDevices(registry_, devices_, state_.FOsKind, state_.FHandsetPattern);
}

TDefaultDeviceNames TVolumeControl::ReadDefaultDevices() {
  return ::ReadDefaultDevices(registry_, devices_, mixer_.MixerID() >= 0);
}

bool TVolumeControl::VolumeReachesMixer() const {
  return state_.FOsKind == kOsNt50 || state_.FOsKind == kOsNt51;
}

bool TVolumeControl::HandsetPresent() const { return bridge_status::HandsetPresent(state_.FLinkStatus); }

void TVolumeControl::StoreSpeaker() {
  state_.FSpeakerVolume = controls_.suiTrackBarVolOut.Position();
  state_.FSpeakerMute = controls_.suiCheckBoxVolOut.Checked();
}

void TVolumeControl::StoreMicrophone() {
  state_.FMicVolume = controls_.suiTrackBarVolIn.Position();
  state_.FMicMute = controls_.suiCheckBoxVolIn.Checked();
}
