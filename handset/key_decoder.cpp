#include "handset/key_decoder.h"

using namespace handset_key;

namespace {

THandsetKeyEvent Key(std::uint8_t key) { return {THandsetKeyEvent::Kind::Key, key}; }

}  // namespace

void TKeyDecoder::ResetRun() {
  converted_ring_tone_ = false;
  down_ = up_ = Hold{};
  zero_held_ = star_held_ = clear_held_ = false;
  long_press_since_ = 0;
}

std::vector<THandsetKeyEvent> TKeyDecoder::ProcessReport(std::uint8_t key, std::uint32_t now,
                                                         const THandsetContext& context,
                                                         std::uint8_t& last_key) {
  std::vector<THandsetKeyEvent> events;

  // The ring-tone key is Clear while anything is going on; once read as Clear, the whole
  // press stays Clear.
  if (key == kRingTone &&
      (converted_ring_tone_ || context.handset_mode != THandsetMode::Standby || context.dial_count != 0)) {
    key = kClear;
    converted_ring_tone_ = true;
  }
  last_key = key;

  const auto long_press_due = [&](bool& held) {
    if (!held || static_cast<std::uint32_t>(now - long_press_since_) < kLongPressMs) return false;
    held = false;
    return true;
  };

  switch (key) {
    case kNone:
      down_.held = up_.held = false;
      zero_held_ = star_held_ = clear_held_ = false;
      converted_ring_tone_ = false;
      break;
    case kDown:
      if (Elapsed(down_, now, kRepeatMs)) {
        events.push_back(Key(kDown));
        down_.since = now;
      }
      break;
    case kUp:
      if (Elapsed(up_, now, kRepeatMs)) {
        events.push_back(Key(kUp));
        up_.since = now;
      }
      break;
    case kZero:
      if (long_press_due(zero_held_)) events.push_back(Key(kZeroHeld));
      break;
    case kStar:
      if (InCall(context.handset_mode) && long_press_due(star_held_)) events.push_back(Key(kMute));
      break;
    case kClear:
      if (long_press_due(clear_held_)) {
        // The window thread empties the dial buffer before it sees the repeated Clear.
        events.push_back({THandsetKeyEvent::Kind::ClearDialBuffer, 0});
        events.push_back(Key(kClear));
      }
      break;
    default:
      break;
  }

  if (key != previous_key_) {
    events.push_back(Key(key));
    switch (key) {
      case kDown:
        down_ = {true, now};
        break;
      case kUp:
        up_ = {true, now};
        break;
      case kZero:
        zero_held_ = true;
        long_press_since_ = now;
        break;
      case kStar:
        if (InCall(context.handset_mode)) {
          star_held_ = true;
          long_press_since_ = now;
        }
        break;
      case kClear:
        clear_held_ = true;
        long_press_since_ = now;
        break;
      default:
        break;
    }
  }
  previous_key_ = key;
  return events;
}
