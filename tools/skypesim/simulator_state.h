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
class TSimulatorState {
 public:
  // Discoveries: queued statuses first, one per discovery, then the attach-all status.
  void QueueAttach(const std::vector<std::uint32_t>& statuses);
  void SetAttachAll(std::optional<std::uint32_t> status);
  std::optional<std::uint32_t> TakeAttachStatus();

  // Commands: accepted unless a refusal is in force.
  void AcceptAll();
  void RefuseNext(std::uint32_t count);
  void RefuseAll();
  bool TakeAcceptance();

  // Answers: one reply per pattern; an empty reply removes the pattern.
  void SetAnswer(const std::string& pattern, const std::string& reply);
  std::optional<std::string> AnswerFor(std::string_view command) const;

  // Waits consume what has arrived, in order, so something that arrived before the wait
  // still counts, but only once.
  void RecordCommand(std::string command);
  void RecordDiscovery();
  bool ConsumeCommand(std::string_view pattern);
  bool ConsumeDiscovery();

 private:
  std::deque<std::uint32_t> attach_queue_;
  std::optional<std::uint32_t> attach_all_;

  bool refuse_all_ = false;
  std::uint32_t refusals_left_ = 0;

  std::vector<std::pair<std::string, std::string>> answers_;  // pattern, reply

  std::vector<std::string> commands_;
  std::size_t command_cursor_ = 0;
  std::size_t discoveries_ = 0;
  std::size_t discoveries_consumed_ = 0;
};

}  // namespace skypesim
