#include "tools/skypesim/simulator_state.h"

#include "tools/skypesim/pattern.h"

namespace skypesim {

void TSimulatorState::QueueAttach(const std::vector<std::uint32_t>& statuses) {
  attach_queue_.insert(attach_queue_.end(), statuses.begin(), statuses.end());
}

void TSimulatorState::SetAttachAll(std::optional<std::uint32_t> status) { attach_all_ = status; }

std::optional<std::uint32_t> TSimulatorState::TakeAttachStatus() {
  if (attach_queue_.empty()) return attach_all_;
  const std::uint32_t status = attach_queue_.front();
  attach_queue_.pop_front();
  return status;
}

void TSimulatorState::AcceptAll() {
  refuse_all_ = false;
  refusals_left_ = 0;
}

void TSimulatorState::RefuseNext(std::uint32_t count) {
  refuse_all_ = false;
  refusals_left_ = count;
}

void TSimulatorState::RefuseAll() { refuse_all_ = true; }

bool TSimulatorState::TakeAcceptance() {
  if (refuse_all_) return false;
  if (refusals_left_ == 0) return true;
  --refusals_left_;
  return false;
}

void TSimulatorState::SetAnswer(const std::string& pattern, const std::string& reply) {
  for (auto it = answers_.begin(); it != answers_.end(); ++it) {
    if (it->first != pattern) continue;
    if (reply.empty())
      answers_.erase(it);
    else
      it->second = reply;
    return;
  }
  if (!reply.empty()) answers_.emplace_back(pattern, reply);
}

std::optional<std::string> TSimulatorState::AnswerFor(std::string_view command) const {
  const std::pair<std::string, std::string>* best = nullptr;
  for (const auto& answer : answers_) {
    if (!MatchesPattern(answer.first, command)) continue;
    if (!best || PatternWeight(answer.first) > PatternWeight(best->first)) best = &answer;
  }
  if (!best) return std::nullopt;
  return best->second;
}

void TSimulatorState::RecordCommand(std::string command) { commands_.push_back(std::move(command)); }

void TSimulatorState::RecordDiscovery() { ++discoveries_; }

bool TSimulatorState::ConsumeCommand(std::string_view pattern) {
  for (std::size_t i = command_cursor_; i < commands_.size(); ++i) {
    if (MatchesPattern(pattern, commands_[i])) {
      command_cursor_ = i + 1;
      return true;
    }
  }
  return false;
}

bool TSimulatorState::ConsumeDiscovery() {
  if (discoveries_consumed_ == discoveries_) return false;
  ++discoveries_consumed_;
  return true;
}

}  // namespace skypesim
