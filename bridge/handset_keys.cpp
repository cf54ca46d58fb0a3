// What each handset key does: outside calls the keys drive Skype's window like a phone
// keypad; during calls they answer, hold, swap, hang up, mute and send tones.
#include <algorithm>

#include "bridge/talvek_skype_form.h"

namespace {

enum HandsetKey : std::uint8_t {
  kKeyNone = 0x00,
  kKeyUp = 0x11,
  kKeyMute = 0x15,
  kKeyNo = 0x16,
  kKeyRingTone = 0x1A,
  kKeyYes = 0x1B,
  kKeyStar = 0x1C,
  kKeyDown = 0x1F,
  kKeySkype = 0x20,
  kKeyZeroHeld = 0xE0,
  kKeyClear = 0xF1,
};

constexpr std::int32_t kMaxDialled = 20;

// The character a dialling key types; 0 for keys that are not dialling keys.
char DialCharacter(std::uint8_t key) {
  switch (key) {
    case 0x12: return '#';
    case 0x13: return '8';
    case 0x14: return '4';
    case 0x17: return '0';
    case 0x18: return '7';
    case 0x19: return '3';
    case 0x1D: return '6';
    case 0x1E: return '2';
    case 0x21: return '9';
    case 0x22: return '5';
    case 0x23: return '1';
    default: return 0;
  }
}

bool InCall(std::uint8_t mode) { return mode == kModeTalking || mode == kModeMute; }

}  // namespace

void TTalvekSkypeForm::WMHandsetKey(std::uint8_t key) {
  state_.LinkStatus = CurrentLinkStatus();
  PostPanelReport(state_.LastKey);
  if (key == kKeyNone) return;

  if (key != kKeyNo && key != kKeySkype && key != kKeyClear) SendToSkype("FOCUS");

  const std::uint8_t mode = state_.HandsetMode;
  if (const char c = DialCharacter(key)) {
    DialKey(c);
    return;
  }
  switch (key) {
    case kKeyUp:
      SendToSkype("btn_released up");
      break;
    case kKeyDown:
      SendToSkype("btn_released down");
      break;
    case kKeyStar:
      if (mode == kModeTalking) {
        SendToSkype("SET CALL " + state_.ActiveCallId + " DTMF *");
      } else if (mode != kModeMute) {
        TypeIntoDialField('*');
      }
      break;
    case kKeyMute:
      if (InCall(mode)) SendToSkype(state_.Muted ? "SET MUTE OFF" : "SET MUTE ON");
      break;
    case kKeyYes:
      YesKey();
      break;
    case kKeyNo:
      NoKey();
      break;
    case kKeySkype:
      SendToSkype("btn_released skype");
      EmptyDialBuffer();
      break;
    case kKeyRingTone:
      if (mode == kModeStandby) StepRingTone();
      break;
    case kKeyZeroHeld:
      if (mode != kModeTalking) {
        // A held "0" starts an international number: Skype's field is cleared and gets "+".
        SendToSkype("btn_released no");
        SendToSkype("btn_released +");
        state_.DialString = "+";
        state_.DialCount = 1;
      }
      break;
    case kKeyClear:
      if (mode == kModeStandby) ClearKey();
      break;
    default:
      break;
  }
}

void TTalvekSkypeForm::DialKey(char c) {
  if (state_.HandsetMode == kModeTalking) {
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
  const std::uint8_t mode = state_.HandsetMode;
  if (mode == kModeBuzzer) {
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
  if (state_.HandsetMode != kModeStandby) {
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
