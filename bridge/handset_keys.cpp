// What each handset key does: outside calls the keys drive Skype's window like a phone
// keypad; during calls they answer, hold, swap, hang up, mute and send tones.
#include <algorithm>

#include "bridge/talvek_skype_form.h"
#include "common/handset_key_values.h"

namespace {

using namespace handset_key;

constexpr std::int32_t kMaxDialled = 20;

// The character a dialling key types; 0 for keys that are not dialling keys.
char DialCharacter(std::uint8_t key) {
  switch (key) {
    case kHash: return '#';
    case kEight: return '8';
    case kFour: return '4';
    case kZero: return '0';
    case kSeven: return '7';
    case kThree: return '3';
    case kSix: return '6';
    case kTwo: return '2';
    case kNine: return '9';
    case kFive: return '5';
    case kOne: return '1';
    default: return 0;
  }
}

}  // namespace

// On a handset read thread: the key goes to the window thread, which handles it below.
void TTalvekSkypeForm::HandsetKeyCallback(const THandsetKeyEvent& event) {
  if (event.kind == THandsetKeyEvent::Kind::ClearDialBuffer) {
    ports_.PostDialBufferReset();
  } else {
    ports_.PostHandsetKey(event.key);
  }
}

void TTalvekSkypeForm::WMHandsetKey(std::uint8_t key) {
  state_.LinkStatus = CurrentLinkStatus();
  PostPanelReport(state_.LastKey);
  if (key == kNone) return;

  if (key != kNo && key != kSkype && key != kClear) SendToSkype("FOCUS");

  const THandsetMode mode = state_.HandsetMode;
  if (const char c = DialCharacter(key)) {
    DialKey(c);
    return;
  }
  switch (key) {
    case kUp:
      SendToSkype("btn_released up");
      break;
    case kDown:
      SendToSkype("btn_released down");
      break;
    case kStar:
      if (mode == THandsetMode::Talking) {
        SendToSkype("SET CALL " + state_.ActiveCallId + " DTMF *");
      } else if (mode != THandsetMode::Mute) {
        TypeIntoDialField('*');
      }
      break;
    case kMute:
      if (InCall(mode)) SendToSkype(state_.Muted ? "SET MUTE OFF" : "SET MUTE ON");
      break;
    case kYes:
      YesKey();
      break;
    case kNo:
      NoKey();
      break;
    case kSkype:
      SendToSkype("btn_released skype");
      EmptyDialBuffer();
      break;
    case kRingTone:
      if (mode == THandsetMode::Standby) StepRingTone();
      break;
    case kZeroHeld:
      if (mode != THandsetMode::Talking) {
        // A held "0" starts an international number: Skype's field is cleared and gets "+".
        SendToSkype("btn_released no");
        SendToSkype("btn_released +");
        state_.DialString = "+";
        state_.DialCount = 1;
      }
      break;
    case kClear:
      if (mode == THandsetMode::Standby) ClearKey();
      break;
    default:
      break;
  }
}

void TTalvekSkypeForm::DialKey(char c) {
  if (state_.HandsetMode == THandsetMode::Talking) {
    SendToSkype("SET CALL " + state_.ActiveCallId + " DTMF " + c);
  } else {
    TypeIntoDialField(c);
  }
}

void TTalvekSkypeForm::TypeIntoDialField(char c) {
  if (state_.DialCount >= kMaxDialled) return;
  SendToSkype(std::string("btn_released ") + c);
  state_.DialCount += 1;
  state_.DialString += c;
}

void TTalvekSkypeForm::EmptyDialBuffer() {
  state_.DialCount = 0;
  state_.DialString.clear();
}

void TTalvekSkypeForm::YesKey() {
  const THandsetMode mode = state_.HandsetMode;
  if (mode == THandsetMode::Buzzer) {
    SendToSkype("SET CALL " + state_.IncomingCallId + " STATUS INPROGRESS");
    state_.HeldByHandset = false;
    state_.IncomingPending = false;
  } else if (InCall(mode) && state_.SeveralCalls) {
    SendToSkype("SET CALL " + state_.OtherCallId + " STATUS ONHOLD");
    if (state_.IncomingPending) {
      SendToSkype("SET CALL " + state_.IncomingCallId + " STATUS INPROGRESS");
      state_.HeldByHandset = false;
    } else {
      ToggleHold();
    }
    state_.IncomingPending = false;
  } else if (InCall(mode)) {
    ToggleHold();
  } else {
    SendToSkype("btn_released yes");
    EmptyDialBuffer();
  }
}

void TTalvekSkypeForm::ToggleHold() {
  const char* status = state_.HeldByHandset ? " STATUS INPROGRESS" : " STATUS ONHOLD";
  SendToSkype("SET CALL " + state_.ActiveCallId + status);
  state_.HeldByHandset = !state_.HeldByHandset;
}

void TTalvekSkypeForm::NoKey() {
  if (state_.HandsetMode != THandsetMode::Standby) {
    if (state_.SeveralCalls) {
      SendToSkype("SET CALL " + state_.ActiveCallId + " STATUS FINISHED");
      // The next Yes then resumes whichever call Skype makes active.
      state_.HeldByHandset = true;
    } else {
      SendToSkype("btn_released no");
    }
    return;
  }
  SendToSkype("btn_released no");
  if (state_.DialCount != 0) {
    EmptyDialBuffer();
  } else {
    SendToSkype("MINIMIZE");
  }
}

void TTalvekSkypeForm::ClearKey() {
  if (state_.DialCount > 0) state_.DialCount -= 1;
  SendToSkype("FOCUS");
  state_.DialString.resize(std::min<std::size_t>(state_.DialString.size(), state_.DialCount));
  // Skype's dial field cannot lose one character: it is emptied and typed again.
  SendToSkype("btn_released no");
  for (const char c : std::string(state_.DialString)) SendToSkype(std::string("btn_released ") + c);
}
