#pragma once
// When a held key's reports come: a handset repeats the report of a key it holds down.
#include <cstdint>
#include <utility>
#include <vector>

namespace handsetsim {

struct TimedKey {
    std::uint32_t atMs = 0;  // from the start of the hold
    std::uint8_t key = 0;

    bool operator==(const TimedKey& other) const { return atMs == other.atMs && key == other.key; }
};

// The key at 0, every `everyMs` while shorter than `durationMs`, then the release (key 0) at
// `durationMs`. everyMs must not be 0.
std::vector<TimedKey> holdReports(std::uint8_t key, std::uint32_t durationMs, std::uint32_t everyMs);

// Plays a hold against a clock: which reports are due by now, and how long until the next.
class HoldPlayer {
public:
    HoldPlayer() = default;
    HoldPlayer(std::vector<TimedKey> plan, std::uint64_t startMs) : plan_(std::move(plan)), startMs_(startMs) {}

    // The reports due at `nowMs` that have not been taken yet, in order.
    std::vector<std::uint8_t> takeDue(std::uint64_t nowMs);
    bool done() const { return next_ >= plan_.size(); }
    // Milliseconds from `nowMs` until the next report (0 when it is already due).
    std::uint32_t msUntilNext(std::uint64_t nowMs) const;

private:
    std::vector<TimedKey> plan_;
    std::uint64_t startMs_ = 0;
    std::size_t next_ = 0;
};

}  // namespace handsetsim
