#include "panel/volume_group.h"

#include <algorithm>
#include <utility>

#include "common/handset_key_values.h"
#include "panel/key_repeat.h"
#include "panel/os_kind.h"

namespace {

constexpr int kUnchanged = -1;

bool IsHandsetDevice(const std::string& name, const std::string& pattern) {
  return !name.empty() && name.find(pattern) != std::string::npos;
}

}  // namespace

TVolumeGroup::TVolumeGroup(const TVolumeControls& controls, IVolumeBackend& backend, IWaveDevices& devices,
                           IDefaultDeviceRegistry& registry, std::uint8_t os_kind, std::string handset_pattern)
    : controls_(controls),
      backend_(backend),
      devices_(devices),
      registry_(registry),
      os_kind_(os_kind),
      handset_pattern_(std::move(handset_pattern)) {
  backend_.SetView(this);
}

TVolumeGroup::~TVolumeGroup() { backend_.SetView(nullptr); }

void TVolumeGroup::Load(const TVolumeValues& values) {
  values_ = values;
  SetTrackBarState(controls_.suiTrackBarVolOut, values_.SpeakerVolume, true, kHandsetVolumeMin, kHandsetVolumeMax);
  SetTrackBarState(controls_.suiTrackBarVolIn, values_.MicVolume, true, kHandsetVolumeMin, kHandsetVolumeMax);
}

void TVolumeGroup::RefreshDevices() { backend_.Refresh(); }

THandsetSearch TVolumeGroup::FindHandsetDevices() {
  THandsetSearch search;
  if (handset_present_) {
    const bool output = FindHandsetOutput(search.output);
    const bool input = FindHandsetInput(search.input);
    search.found = output && input;
  }
  // Names already stored stay; only the device is let go.
  if (!search.found) backend_.Close();
  return search;
}

bool TVolumeGroup::FindHandsetOutput(std::string& found) {
  backend_.Close();
  const unsigned count = devices_.OutCount();
  for (unsigned i = 0; i < count; ++i) {
    const std::string name = devices_.OutName(i);
    if (!IsHandsetDevice(name, handset_pattern_)) continue;
    // Only the first matching device is tried, whatever follows it.
    if (!backend_.Open(i)) return false;
    if (VolumeReachesDevice()) {
      backend_.Write(THandsetSide::Speaker, values_.SpeakerVolume, values_.SpeakerMute);
      ApplyVolume(THandsetSide::Speaker, values_.SpeakerVolume, values_.SpeakerMute);
      backend_.Write(THandsetSide::Microphone, values_.MicVolume, values_.MicMute);
      ApplyVolume(THandsetSide::Microphone, values_.MicVolume, values_.MicMute);
      backend_.ShowKept(THandsetSide::Speaker);
      backend_.ShowKept(THandsetSide::Microphone);
    }
    handset_out_name_ = name;
    found = name;
    return true;
  }
  return false;
}

bool TVolumeGroup::FindHandsetInput(std::string& found) {
  const unsigned count = devices_.InCount();
  for (unsigned i = 0; i < count; ++i) {
    const std::string name = devices_.InName(i);
    if (!IsHandsetDevice(name, handset_pattern_)) continue;
    handset_in_name_ = name;
    found = name;
    return true;
  }
  return false;
}

void TVolumeGroup::ApplyVolume(THandsetSide side, int value, bool mute) {
  const int clamped = std::clamp(value, kHandsetVolumeMin, kHandsetVolumeMax);
  if (clamped != value) backend_.Write(side, clamped, mute);
  SetCheckBoxState(CheckBoxOf(side), mute, true);
  SetTrackBarState(TrackBarOf(side), clamped, true, kUnchanged, kUnchanged);
}

void TVolumeGroup::Enable(bool on) {
  IGroupBox& group = controls_.suiGroupBoxVol;
  group.SetEnabled(on);
  if (on && (os_kind_ != kOsNt60 || VolumeReachesDevice())) {
    controls_.suiTrackBarVolOut.SetShowTick(true);
    controls_.suiTrackBarVolIn.SetShowTick(true);
    return;
  }
  if (on) {
    // On NT 6.0 without the endpoints the handset's volume is not the panel's to set.
    for (IControl* control : {static_cast<IControl*>(&controls_.LabelVolOut),
                              static_cast<IControl*>(&controls_.LabelVolIn),
                              static_cast<IControl*>(&controls_.suiTrackBarVolOut),
                              static_cast<IControl*>(&controls_.suiTrackBarVolIn),
                              static_cast<IControl*>(&controls_.suiCheckBoxVolOut),
                              static_cast<IControl*>(&controls_.suiCheckBoxVolIn)}) {
      control->SetEnabled(false);
    }
  }
  ResetControls();
}

void TVolumeGroup::ResetControls() {
  controls_.suiTrackBarVolOut.SetShowTick(false);
  controls_.suiTrackBarVolIn.SetShowTick(false);
  // Through the state setters, so no change reaches the device.
  SetTrackBarState(controls_.suiTrackBarVolOut, controls_.suiTrackBarVolOut.Min(), kUnchanged, kUnchanged,
                   kUnchanged);
  SetTrackBarState(controls_.suiTrackBarVolIn, controls_.suiTrackBarVolIn.Min(), kUnchanged, kUnchanged,
                   kUnchanged);
  SetCheckBoxState(controls_.suiCheckBoxVolOut, false, kUnchanged);
  SetCheckBoxState(controls_.suiCheckBoxVolIn, false, kUnchanged);
}

void TVolumeGroup::SettleDefaultDevices() {
  ::SettleDefaultDevices(registry_, devices_, os_kind_, handset_pattern_);
}

TDefaultDeviceNames TVolumeGroup::DefaultDevices() {
  return ::ReadDefaultDevices(registry_, devices_, backend_.IsOpen());
}

void TVolumeGroup::RestoreDefaults() {
  // Stored here too, so that the defaults are saved also when no change reaches the device.
  values_ = TVolumeValues{};
  SetTrackBarState(controls_.suiTrackBarVolOut, kHandsetVolumeDefault, kUnchanged, kUnchanged, kUnchanged);
  SetTrackBarState(controls_.suiTrackBarVolIn, kHandsetVolumeDefault, kUnchanged, kUnchanged, kUnchanged);
  SetCheckBoxState(controls_.suiCheckBoxVolOut, false, kUnchanged);
  SetCheckBoxState(controls_.suiCheckBoxVolIn, false, kUnchanged);
  // The track bars' OnChange, then the check boxes' OnClick: the values reach the device.
  suiTrackBarVolOutChange();
  suiTrackBarVolInChange();
  suiTrackBarVolOutChange();
  suiTrackBarVolInChange();
}

void TVolumeGroup::suiTrackBarVolOutChange() {
  if (!VolumeReachesDevice() || FUpdating || !backend_.IsOpen()) return;
  backend_.Write(THandsetSide::Speaker, controls_.suiTrackBarVolOut.Position(), controls_.suiCheckBoxVolOut.Checked());
  StoreShown(THandsetSide::Speaker);
}

void TVolumeGroup::suiTrackBarVolInChange() {
  if (!VolumeReachesDevice() || FUpdating || !backend_.IsOpen()) return;
  backend_.Write(THandsetSide::Microphone, controls_.suiTrackBarVolIn.Position(), controls_.suiCheckBoxVolIn.Checked());
  StoreShown(THandsetSide::Microphone);
}

bool TVolumeGroup::ReadSide(THandsetSide side) { return VolumeReachesDevice() && backend_.Read(side); }

void TVolumeGroup::KeyReported(std::uint8_t key) {
  FPrevKey = FCurKey;
  FCurKey = key;
}

void TVolumeGroup::RepeatKeys(bool talking) {
  const std::vector<TKeyEvent> events = KeyRepeatEvents(FPrevKey, FCurKey);
  FPrevKey = FCurKey;
  if (!talking) return;
  // Only the speaker follows the keys; the track bar clamps, its OnChange reaches the device.
  ITrackBar& speaker = controls_.suiTrackBarVolOut;
  for (const TKeyEvent& event : events) {
    if (event.kind == TKeyEventKind::Release) continue;
    if (event.key == handset_key::kUp) speaker.SetPosition(speaker.Position() + speaker.PageSize());
    if (event.key == handset_key::kDown) speaker.SetPosition(speaker.Position() - speaker.PageSize());
  }
}

bool TVolumeGroup::FollowsDevice() const { return handset_present_ && VolumeReachesDevice(); }

bool TVolumeGroup::ShowReading(THandsetSide side, const TSideReading& reading) {
  ITrackBar& track_bar = TrackBarOf(side);
  ICheckBox& check_box = CheckBoxOf(side);
  SetCheckBoxState(check_box, reading.mute, reading.mute_usable);
  SetTrackBarState(track_bar, reading.level, reading.level_usable, kUnchanged, kUnchanged);
  return track_bar.Enabled() && check_box.Enabled();
}

void TVolumeGroup::StoreShown(THandsetSide side) {
  if (side == THandsetSide::Speaker) {
    values_.SpeakerVolume = controls_.suiTrackBarVolOut.Position();
    values_.SpeakerMute = controls_.suiCheckBoxVolOut.Checked();
  } else {
    values_.MicVolume = controls_.suiTrackBarVolIn.Position();
    values_.MicMute = controls_.suiCheckBoxVolIn.Checked();
  }
}

TSideReading TVolumeGroup::Stored(THandsetSide side) const {
  const bool speaker = side == THandsetSide::Speaker;
  return TSideReading{true, speaker ? values_.SpeakerVolume : values_.MicVolume, true,
                      speaker ? values_.SpeakerMute : values_.MicMute};
}

bool TVolumeGroup::VolumeReachesDevice() const { return backend_.ReachesDevice(os_kind_); }

void TVolumeGroup::SetTrackBarState(ITrackBar& track_bar, int position, int enabled, int min, int max) {
  const bool was_updating = FUpdating;
  FUpdating = true;
  if (position != kUnchanged && position != track_bar.Position()) track_bar.SetPosition(position);
  if (min != kUnchanged && min != track_bar.Min()) track_bar.SetMin(min);
  if (max != kUnchanged && max != track_bar.Max()) track_bar.SetMax(max);
  if (enabled != kUnchanged && (enabled != 0) != track_bar.Enabled()) track_bar.SetEnabled(enabled != 0);
  FUpdating = was_updating;
}

void TVolumeGroup::SetCheckBoxState(ICheckBox& check_box, int checked, int enabled) {
  const bool was_updating = FUpdating;
  FUpdating = true;
  if (checked != kUnchanged && (checked != 0) != check_box.Checked()) check_box.SetChecked(checked != 0);
  if (enabled != kUnchanged && (enabled != 0) != check_box.Enabled()) check_box.SetEnabled(enabled != 0);
  FUpdating = was_updating;
}

ITrackBar& TVolumeGroup::TrackBarOf(THandsetSide side) {
  return side == THandsetSide::Speaker ? controls_.suiTrackBarVolOut : controls_.suiTrackBarVolIn;
}

ICheckBox& TVolumeGroup::CheckBoxOf(THandsetSide side) {
  return side == THandsetSide::Speaker ? controls_.suiCheckBoxVolOut : controls_.suiCheckBoxVolIn;
}
