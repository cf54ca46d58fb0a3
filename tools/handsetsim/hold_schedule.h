#pragma once
// When a held key's reports come: a handset repeats the report of a key it holds down.
#include <cstdint>
#include <utility>
#include <vector>

namespace handsetsim {

struct TTimedKey {
  std::uint32_t at_ms = 0;  // from the start of the hold
  std::uint8_t key = 0;

  bool operator==(const TTimedKey& other) const { return at_ms == other.at_ms && key == other.key; }
};

// The key at 0, every `everyMs` while shorter than `durationMs`, then the release (key 0) at
// `durationMs`. everyMs must not be 0.
std::vector<TTimedKey> HoldReports(std::uint8_t key, std::uint32_t duration_ms, std::uint32_t every_ms);

// Plays a hold against a clock: which reports are due by now, and how long until the next.
class THoldPlayer {
 public:
  THoldPlayer() = default;
  THoldPlayer(std::vector<TTimedKey> plan, std::uint64_t start_ms) : plan_(std::move(plan)), start_ms_(start_ms) {}

  // The reports due at `nowMs` that have not been taken yet, in order.
  std::vector<std::uint8_t> TakeDue(std::uint64_t now_ms);
  bool Done() const { return next_ >= plan_.size(); }
  // Milliseconds from `nowMs` until the next report (0 when it is already due).
  std::uint32_t MsUntilNext(std::uint64_t now_ms) const;

 private:
  std::vector<TTimedKey> plan_;
  std::uint64_t start_ms_ = 0;
  std::size_t next_ = 0;
};

}  // namespace handsetsim
