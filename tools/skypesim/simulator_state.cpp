#include "tools/skypesim/simulator_state.h"

#include "tools/skypesim/pattern.h"

namespace skypesim {

void SimulatorState::queueAttach(const std::vector<std::uint32_t>& statuses) {
    attachQueue_.insert(attachQueue_.end(), statuses.begin(), statuses.end());
}

void SimulatorState::setAttachAll(std::optional<std::uint32_t> status) {
    attachAll_ = status;
}

std::optional<std::uint32_t> SimulatorState::takeAttachStatus() {
    if (attachQueue_.empty()) return attachAll_;
    const std::uint32_t status = attachQueue_.front();
    attachQueue_.pop_front();
    return status;
}

void SimulatorState::acceptAll() {
    refuseAll_ = false;
    refusalsLeft_ = 0;
}

void SimulatorState::refuseNext(std::uint32_t count) {
    refuseAll_ = false;
    refusalsLeft_ = count;
}

void SimulatorState::refuseAll() {
    refuseAll_ = true;
}

bool SimulatorState::takeAcceptance() {
    if (refuseAll_) return false;
    if (refusalsLeft_ == 0) return true;
    --refusalsLeft_;
    return false;
}

void SimulatorState::setAnswer(const std::string& pattern, const std::string& reply) {
    for (auto it = answers_.begin(); it != answers_.end(); ++it) {
        if (it->first != pattern) continue;
        if (reply.empty()) answers_.erase(it);
        else it->second = reply;
        return;
    }
    if (!reply.empty()) answers_.emplace_back(pattern, reply);
}

std::optional<std::string> SimulatorState::answerFor(std::string_view command) const {
    const std::pair<std::string, std::string>* best = nullptr;
    for (const auto& answer : answers_) {
        if (!matchesPattern(answer.first, command)) continue;
        if (!best || patternWeight(answer.first) > patternWeight(best->first)) best = &answer;
    }
    if (!best) return std::nullopt;
    return best->second;
}

void SimulatorState::recordCommand(std::string command) {
    commands_.push_back(std::move(command));
}

void SimulatorState::recordDiscovery() {
    ++discoveries_;
}

bool SimulatorState::consumeCommand(std::string_view pattern) {
    for (std::size_t i = commandCursor_; i < commands_.size(); ++i) {
        if (matchesPattern(pattern, commands_[i])) {
            commandCursor_ = i + 1;
            return true;
        }
    }
    return false;
}

bool SimulatorState::consumeDiscovery() {
    if (discoveriesConsumed_ == discoveries_) return false;
    ++discoveriesConsumed_;
    return true;
}

}  // namespace skypesim
