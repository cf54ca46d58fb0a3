// The handset's mode and ring tone, and the one-second watch over Skype, the panel and calls.
#include "bridge/talvek_skype_form.h"
#include "common/bridge_status.h"

namespace {
constexpr const char kRingToneValue[] = "RingTone";
constexpr std::uint32_t kDefaultStoredRingTone = 128;
}  // namespace

void TTalvekSkypeForm::SetHandsetMode(THandsetMode mode) {
  state_.HandsetMode = mode;
  THandsetMode written = mode;
  if (mode == THandsetMode::Buzzer) {
    LoadRingTone();
    // The buzzer sounds only where Skype itself rings on the handset and the user allows it.
    if (state_.DoNotDisturb || state_.SkypeRingerIsHandset != 1) written = THandsetMode::CallOut;
  }
  if (written == state_.LastSentMode) return;

  WriteModeToHandsets(written);
  state_.LastSentMode = written;
  // The two signalling modes go out twice in a row, whatever became of the first write.
  if (written == THandsetMode::Buzzer || written == THandsetMode::CallOut) WriteModeToHandsets(written);
}

void TTalvekSkypeForm::WriteModeToHandsets(THandsetMode mode) {
  if (devices_) devices_->SendMode(mode, state_.RingTone);
}

void TTalvekSkypeForm::LoadRingTone() {
  const auto key = ports_.OpenSettingsKey();
  if (!key) return;
  if (const auto stored = key->ReadDword(kRingToneValue)) {
    state_.RingTone = static_cast<std::uint8_t>(*stored & 0xFF);
  } else {
    key->WriteDword(kRingToneValue, kDefaultStoredRingTone);
    state_.RingTone = 0;
  }
}

void TTalvekSkypeForm::StepRingTone() {
  // The two low bits count through the four tones; bits 2 and 3 are kept clear.
  state_.RingTone = static_cast<std::uint8_t>((state_.RingTone + 1) & 0xF3);
  state_.LastSentMode.reset();
  SetHandsetMode(THandsetMode::Standby);
  if (const auto key = ports_.OpenSettingsKey()) key->WriteDword(kRingToneValue, state_.RingTone);
}

std::uint16_t TTalvekSkypeForm::CurrentLinkStatus() {
  std::uint16_t status = ports_.IsWindow(state_.SkypeWnd) ? bridge_status::kSkypeAttached : 0;
  if (OpenHandsetCount() > 0) status |= bridge_status::kHandsetPresent;
  return status;
}

void TTalvekSkypeForm::CheckTalkingTimerTimer() {
  if (ports_.IsWindow(state_.SkypeWnd)) {
    if (state_.SkypeRingerIsHandset == kRingerUndetermined) SendToSkype("GET RINGER");
  } else {
    state_.SkypeRingerIsHandset = kRingerUndetermined;
  }
  state_.LinkStatus = CurrentLinkStatus();

  if (PostPanelReport(bridge_status::kPeriodicKey)) state_.LastKey = 0;

  const THandsetMode mode = state_.HandsetMode;
  if (OpenHandsetCount() > 0 &&
      (mode == THandsetMode::Talking || mode == THandsetMode::Mute || mode == THandsetMode::Buzzer)) {
    ports_.PostSkypeQuery(kQueryActiveCalls, 0);
  }
}
