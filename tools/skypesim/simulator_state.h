#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace skypesim {

// What the scenario has told the simulator to do with discoveries and commands, and what the
// client has sent so far.
class SimulatorState {
public:
    // Discoveries: queued statuses first, one per discovery, then the attach-all status.
    void queueAttach(const std::vector<std::uint32_t>& statuses);
    void setAttachAll(std::optional<std::uint32_t> status);
    std::optional<std::uint32_t> takeAttachStatus();

    // Commands: accepted unless a refusal is in force.
    void acceptAll();
    void refuseNext(std::uint32_t count);
    void refuseAll();
    bool takeAcceptance();

    // Answers: one reply per pattern; an empty reply removes the pattern.
    void setAnswer(const std::string& pattern, const std::string& reply);
    std::optional<std::string> answerFor(std::string_view command) const;

    // Waits consume what has arrived, in order, so something that arrived before the wait
    // still counts, but only once.
    void recordCommand(std::string command);
    void recordDiscovery();
    bool consumeCommand(std::string_view pattern);
    bool consumeDiscovery();

private:
    std::deque<std::uint32_t> attachQueue_;
    std::optional<std::uint32_t> attachAll_;

    bool refuseAll_ = false;
    std::uint32_t refusalsLeft_ = 0;

    std::vector<std::pair<std::string, std::string>> answers_;  // pattern, reply

    std::vector<std::string> commands_;
    std::size_t commandCursor_ = 0;
    std::size_t discoveries_ = 0;
    std::size_t discoveriesConsumed_ = 0;
};

}  // namespace skypesim
