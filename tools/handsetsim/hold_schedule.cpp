#include "tools/handsetsim/hold_schedule.h"

namespace handsetsim {

std::vector<TimedKey> holdReports(std::uint8_t key, std::uint32_t durationMs, std::uint32_t everyMs) {
    std::vector<TimedKey> plan{{0, key}};
    // 64 bits: the sum must not wrap for durations near the timer limit.
    for (std::uint64_t at = everyMs; at < durationMs; at += everyMs) plan.push_back({static_cast<std::uint32_t>(at), key});
    plan.push_back({durationMs, 0});
    return plan;
}

std::vector<std::uint8_t> HoldPlayer::takeDue(std::uint64_t nowMs) {
    std::vector<std::uint8_t> keys;
    while (next_ < plan_.size() && startMs_ + plan_[next_].atMs <= nowMs) keys.push_back(plan_[next_++].key);
    return keys;
}

std::uint32_t HoldPlayer::msUntilNext(std::uint64_t nowMs) const {
    if (done()) return 0;
    const std::uint64_t due = startMs_ + plan_[next_].atMs;
    return due <= nowMs ? 0 : static_cast<std::uint32_t>(due - nowMs);
}

}  // namespace handsetsim
