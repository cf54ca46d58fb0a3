#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "tools/skypesim/outgoing.h"
#include "tools/skypesim/scenario.h"
#include "tools/skypesim/simulator_port.h"
#include "tools/skypesim/simulator_state.h"

namespace skypesim {

// Plays the scenario line by line and answers the client's discoveries and commands as the
// scenario says. Every call comes from the window thread.
//
// Nothing is sent to the client from inside the handling of its discovery or command: such
// sends are queued and made on the next wake-up, after the client's own call has returned.
class TScenarioRunner {
 public:
  explicit TScenarioRunner(ISimulatorPort& port) : port_(port), outgoing_(port) {}

  // Scenario input, in order; the end of input quits once every line before it has run.
  void AddLine(std::string line);
  void EndOfInput();

  // What the client sends.
  void OnDiscover(WindowId client);
  void OnUiDiscover(WindowId client);
  // True to accept the command, false to refuse it.
  bool OnCommand(WindowId sender, const std::string& text);

  // What the port calls back.
  void OnTimer(unsigned id);
  void OnWakeUp();
  // The new API window is open: the scenario goes on.
  void OnReopened();

  bool Finished() const { return finished_; }

 private:
  enum class TPause { None, Sleep, WaitCommand, WaitDiscovery, Resuming, Reopening };

  struct TDeferredSend {
    bool is_attach = false;
    WindowId client = 0;
    std::uint32_t status = 0;  // attach
    std::string text;          // notify
  };

  void Run();
  void Execute(const std::string& line);
  void Execute(const TCommand& command);
  void PauseFor(TPause pause, std::uint32_t milliseconds);
  void ResumeOnWakeUp();
  void Defer(TDeferredSend send);
  void SendDeferred();
  void Reopen();
  void Finish();

  ISimulatorPort& port_;
  TOutgoing outgoing_;
  TSimulatorState state_;

  std::deque<std::string> lines_;
  bool input_ended_ = false;
  bool finished_ = false;

  TPause pause_ = TPause::None;
  std::string wait_pattern_;
  unsigned timer_id_ = 0;

  WindowId client_ = 0;  // the window of the last discovery
  std::deque<TDeferredSend> deferred_;
};

}  // namespace skypesim
