// What Skype's texts do to the call state and the handset: every rule in the order it applies.
#include <vector>

#include "bridge/notification_text.h"
#include "bridge/talvek_skype_form.h"

namespace {

constexpr std::size_t kMaxRelayedLength = 255;

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Only the panel's own sound-device requests are relayed: any window can send us text, and
// Skype trusts the bridge, so relaying anything else would let any program drive Skype.
bool IsPanelDeviceRequest(const std::string& command) {
  return command == "GET AUDIO_OUT" || command == "GET AUDIO_IN" || command == "GET RINGER" ||
         StartsWith(command, "SET AUDIO_OUT ") || StartsWith(command, "SET AUDIO_IN ") ||
         StartsWith(command, "SET RINGER ");
}

// Word n, counted from 1; a word past the last one reads as empty.
const std::string& Word(const std::vector<std::string>& words, std::size_t n) {
  static const std::string kNone;
  return n >= 1 && n <= words.size() ? words[n - 1] : kNone;
}

}  // namespace

void TTalvekSkypeForm::HandleNotification(const std::string& text) {
  const std::vector<std::string> words = SplitWords(text);
  if (words.empty()) return;

  if (text[0] == '!') {
    const std::string command = text.substr(1, kMaxRelayedLength);
    if (IsPanelDeviceRequest(command)) SendToSkype(command);
    return;
  }

  if (StartsWith(text, "AUDIO") || StartsWith(text, "RINGER")) {
    ForwardToPanel(text);
  } else if (EqualsIgnoringCase(Word(words, 1), "CALL")) {
    if (HandleCallNotification(words)) return;
  }

  HandleKeywordNotification(words);
}

bool TTalvekSkypeForm::HandleCallNotification(const std::vector<std::string>& words) {
  const std::string& id = Word(words, 2);
  const std::string& property = Word(words, 3);
  const std::string& value = Word(words, 4);

  if (words.size() >= 4 && property == "STATUS") {
    if (value == "INPROGRESS") {
      state_.ActiveCallId = id;
      SetHandsetMode(THandsetMode::Talking);
    } else if (value == "RINGING") {
      // A call id that is no number is ignored.
      if (const std::optional<std::int32_t> number = ParseCallNumber(id)) {
        ports_.PostSkypeQuery(kQueryCallType, *number);
      }
    } else if (value != "ROUTING") {
      ports_.PostSkypeQuery(kQueryActiveCalls, 0);
    }
    return true;
  }

  if (words.size() >= 4 && property == "TYPE") {
    const std::string type = UpperAscii(value);
    if (Contains(type, "INCOMING")) {
      state_.IncomingCallId = id;
      state_.ActiveCallId = id;
      state_.IncomingPending = true;
      if (state_.HandsetMode != THandsetMode::Talking) SetHandsetMode(THandsetMode::Buzzer);
      return true;
    }
    if (Contains(type, "OUTGOING")) {
      SetHandsetMode(THandsetMode::CallOut);
      return true;
    }
    return false;
  }

  if (words.size() == 3 && Contains(UpperAscii(property), "SUBJECT")) SetHandsetMode(THandsetMode::CallOut);
  return false;
}

void TTalvekSkypeForm::HandleKeywordNotification(const std::vector<std::string>& words) {
  const std::string keyword = UpperAscii(Word(words, 1));
  const std::string& argument = Word(words, 2);

  if (keyword == "CALLS") {
    HandleActiveCalls(words);
  } else if (keyword == "MUTE") {
    if (EqualsIgnoringCase(argument, "ON")) {
      state_.Muted = true;
      SetHandsetMode(THandsetMode::Mute);
    } else if (EqualsIgnoringCase(argument, "OFF")) {
      state_.Muted = false;
      ports_.PostSkypeQuery(kQueryActiveCalls, 0);
    }
  } else if (keyword == "USERSTATUS") {
    state_.DoNotDisturb = EqualsIgnoringCase(argument, "DND");
    if (state_.HandsetMode == THandsetMode::Buzzer) SetHandsetMode(THandsetMode::Buzzer);
  } else if (keyword == "RINGER") {
    if (!EqualsIgnoringCase(argument, "USB")) {
      state_.SkypeRingerIsHandset = 0;
    } else if (windows_major_version_ < 6) {
      // Older Windows names every USB sound device alike, so any USB ringer is taken as ours.
      state_.SkypeRingerIsHandset = 1;
    } else {
      state_.SkypeRingerIsHandset = Contains(UpperAscii(Word(words, 3)), "PHONE") ? 1 : 0;
    }
  }
}

void TTalvekSkypeForm::HandleActiveCalls(const std::vector<std::string>& words) {
  const std::size_t count = words.size();
  if (count == 1) {
    state_.SeveralCalls = false;
    state_.Muted = false;
    SetHandsetMode(THandsetMode::Standby);
    state_.HeldByHandset = false;
    state_.IncomingPending = false;
    return;
  }

  state_.SeveralCalls = count >= 3;
  if (state_.SeveralCalls) {
    const std::string& previous = Word(words, count - 1);
    // The list separates ids by ", ": drop the comma.
    state_.OtherCallId = previous.substr(0, previous.size() - 1);
  }
  state_.ActiveCallId = Word(words, count);

  if (state_.HandsetMode == THandsetMode::Buzzer) {
    // Ringing goes on; a waiting second call re-asks whether the buzzer may sound.
    if (state_.SeveralCalls) SetHandsetMode(THandsetMode::Buzzer);
    return;
  }
  SetHandsetMode(state_.Muted ? THandsetMode::Mute : THandsetMode::Talking);
}
