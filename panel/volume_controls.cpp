// The "USB Phone" group as the link drives it: enabled while the handset's devices are
// found, and the speaker volume stepped by the handset's own volume keys. The mixer, the
// device search and the Windows default devices are the volume unit's (volume_).
#include "common/bridge_status.h"
#include "panel/main_form.h"
#include "panel/os_kind.h"

namespace {
constexpr std::uint8_t kKeyVolumeUp = 17;
constexpr std::uint8_t kKeyVolumeDown = 31;
constexpr std::uint8_t kModeTalking = 6;  // the handset mode byte of the bridge's reports
constexpr int kUnchanged = -1;
}  // namespace

void TForm1::UpdateVolumeGroup(bool on) {
  IGroupBox& group = controls_.suiGroupBoxVol;
  if (on) {
    if (group.Enabled()) return;
    ResetDeviceRetries();
    volume_.RefreshMixers();
    // Not found: the group stays off and the next status report tries again.
    if (!volume_.FindHandsetDevices(false)) return;
    volume_.SettleDefaultDevices();
    group.SetEnabled(true);
    if (state_.FOsKind != kOsNt60) {
      controls_.suiTrackBarVolOut.SetShowTick(true);
      controls_.suiTrackBarVolIn.SetShowTick(true);
      return;
    }
    // On NT 6.0 the handset's volume is not the panel's to set.
    for (IControl* control : {static_cast<IControl*>(&controls_.LabelVolOut),
                              static_cast<IControl*>(&controls_.LabelVolIn),
                              static_cast<IControl*>(&controls_.suiTrackBarVolOut),
                              static_cast<IControl*>(&controls_.suiTrackBarVolIn),
                              static_cast<IControl*>(&controls_.suiCheckBoxVolOut),
                              static_cast<IControl*>(&controls_.suiCheckBoxVolIn)}) {
      control->SetEnabled(false);
    }
  } else {
    if (!group.Enabled()) return;
    ResetDeviceRetries();
    volume_.RefreshMixers();
    group.SetEnabled(false);
  }
  ResetVolumeControls();
}

void TForm1::ResetVolumeControls() {
  controls_.suiTrackBarVolOut.SetShowTick(false);
  controls_.suiTrackBarVolIn.SetShowTick(false);
  // Through the state setters, so no change reaches the mixer.
  SetTrackBarState(controls_.suiTrackBarVolOut, controls_.suiTrackBarVolOut.Min(), kUnchanged,
                   kUnchanged, kUnchanged);
  SetTrackBarState(controls_.suiTrackBarVolIn, controls_.suiTrackBarVolIn.Min(), kUnchanged,
                   kUnchanged, kUnchanged);
  SetCheckBoxState(controls_.suiCheckBoxVolOut, false, kUnchanged);
  SetCheckBoxState(controls_.suiCheckBoxVolIn, false, kUnchanged);
}

void TForm1::SetTrackBarState(ITrackBar& track_bar, int position, int enabled, int min, int max) {
  const bool was_updating = state_.FUpdating;
  state_.FUpdating = true;
  if (position != kUnchanged && position != track_bar.Position()) track_bar.SetPosition(position);
  if (min != kUnchanged && min != track_bar.Min()) track_bar.SetMin(min);
  if (max != kUnchanged && max != track_bar.Max()) track_bar.SetMax(max);
  if (enabled != kUnchanged && (enabled != 0) != track_bar.Enabled()) track_bar.SetEnabled(enabled != 0);
  state_.FUpdating = was_updating;
}

void TForm1::SetCheckBoxState(ICheckBox& check_box, int checked, int enabled) {
  const bool was_updating = state_.FUpdating;
  state_.FUpdating = true;
  if (checked != kUnchanged && (checked != 0) != check_box.Checked()) check_box.SetChecked(checked != 0);
  if (enabled != kUnchanged && (enabled != 0) != check_box.Enabled()) check_box.SetEnabled(enabled != 0);
  state_.FUpdating = was_updating;
}

void TForm1::TimerKeyRepeatTimer() {
  const std::vector<TKeyEvent> events = KeyRepeatEvents(state_.FPrevKey, state_.FCurKey);
  state_.FPrevKey = state_.FCurKey;
  for (const TKeyEvent& event : events) StepSpeakerVolume(event.key, event.kind);
}

void TForm1::StepSpeakerVolume(std::uint8_t key, TKeyEventKind kind) {
  if (key == 0 || kind == TKeyEventKind::Release) return;
  if (bridge_status::ReportMode(state_.FLinkInfo) != kModeTalking) return;
  // Only the speaker follows the keys; the track bar clamps, its OnChange reaches the mixer.
  ITrackBar& speaker = controls_.suiTrackBarVolOut;
  if (key == kKeyVolumeUp) speaker.SetPosition(speaker.Position() + speaker.PageSize());
  if (key == kKeyVolumeDown) speaker.SetPosition(speaker.Position() - speaker.PageSize());
}
