#include "tools/handsetsim/hold_schedule.h"

namespace handsetsim {

std::vector<TTimedKey> HoldReports(std::uint8_t key, std::uint32_t duration_ms, std::uint32_t every_ms) {
  std::vector<TTimedKey> plan{{0, key}};
  // 64 bits: the sum must not wrap for durations near the timer limit.
  for (std::uint64_t at = every_ms; at < duration_ms; at += every_ms)
    plan.push_back({static_cast<std::uint32_t>(at), key});
  plan.push_back({duration_ms, 0});
  return plan;
}

std::vector<std::uint8_t> THoldPlayer::TakeDue(std::uint64_t now_ms) {
  std::vector<std::uint8_t> keys;
  while (next_ < plan_.size() && start_ms_ + plan_[next_].at_ms <= now_ms) keys.push_back(plan_[next_++].key);
  return keys;
}

std::uint32_t THoldPlayer::MsUntilNext(std::uint64_t now_ms) const {
  if (Done()) return 0;
  const std::uint64_t due = start_ms_ + plan_[next_].at_ms;
  return due <= now_ms ? 0 : static_cast<std::uint32_t>(due - now_ms);
}

}  // namespace handsetsim
