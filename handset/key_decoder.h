#pragma once
// Turns the handset's stream of input reports into key events: one event on every change of
// the key byte, repeats of Up and Down while held, and the long presses of "0", "*" (in a
// call) and Clear. Time comes in from outside, so the decoding runs without threads or clocks.
#include <cstdint>
#include <vector>

#include "common/handset_key_values.h"
#include "common/handset_mode_values.h"

namespace handset_key {

// Up and Down repeat this often while held; "0", "*" and Clear count as held after this long.
constexpr std::uint32_t kRepeatMs = 250;
constexpr std::uint32_t kLongPressMs = 600;

}  // namespace handset_key

struct THandsetKeyEvent {
  enum class Kind { Key, ClearDialBuffer };
  Kind kind = Kind::Key;
  std::uint8_t key = 0;

  bool operator==(const THandsetKeyEvent& other) const { return kind == other.kind && key == other.key; }
};

// What the bridge's shared state says at the moment a report is read.
struct THandsetContext {
  THandsetMode handset_mode = THandsetMode::Standby;
  std::int32_t dial_count = 0;
};

class TKeyDecoder {
 public:
  // Decodes one report's key byte read at `now_ms` (a wrapping millisecond tick count).
  // Returns the events in order; `last_key` receives the key as read (0x1A may become 0xF1).
  std::vector<THandsetKeyEvent> ProcessReport(std::uint8_t key_byte, std::uint32_t now_ms,
                                              const THandsetContext& context, std::uint8_t& last_key);

  // Forgets the timing of held keys; the key last seen is kept, as it is across reads.
  void ResetRun();

 private:
  struct Hold {
    bool held = false;
    std::uint32_t since = 0;
  };

  static bool Elapsed(const Hold& hold, std::uint32_t now, std::uint32_t interval) {
    return hold.held && static_cast<std::uint32_t>(now - hold.since) >= interval;
  }

  std::uint8_t previous_key_ = 0;
  bool converted_ring_tone_ = false;
  Hold down_, up_;
  // The three long presses share one start time, as only one key is down at a time.
  bool zero_held_ = false, star_held_ = false, clear_held_ = false;
  std::uint32_t long_press_since_ = 0;
};
