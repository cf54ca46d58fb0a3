#pragma once
// Plays the command lines in order against the simulated handsets. Pauses (sleep, hold,
// wait-output) end on timers or on output reports; the scenario always goes on from the
// message loop, never from inside a pipe event.
#include <cstdint>
#include <deque>
#include <string>

#include "tools/handsetsim/commands.h"
#include "tools/handsetsim/hold_schedule.h"
#include "tools/handsetsim/simulator.h"
#include "tools/handsetsim/simulator_port.h"

namespace handsetsim {

class TScenarioRunner : public TSimulator::IObserver {
 public:
  TScenarioRunner(ISimulatorPort& port, TSimulator& simulator);

  void AddLine(std::string line);
  void EndOfInput();
  void OnTimer(unsigned id);
  void OnWakeUp();
  void OutputArrived(int device) override;

  bool Finished() const { return finished_; }

 private:
  enum class TPause { None, Sleep, Hold, WaitOutput, Resuming };

  void Run();
  void Execute(const std::string& line);
  void ContinueHold();
  void PauseFor(TPause pause, std::uint32_t milliseconds);
  void Finish();

  ISimulatorPort& port_;
  TSimulator& simulator_;
  std::deque<std::string> lines_;
  bool input_ended_ = false;
  bool finished_ = false;

  TPause pause_ = TPause::None;
  unsigned timer_id_ = 0;
  TCommand waiting_;  // the wait-output or hold in progress
  std::string wait_line_;
  THoldPlayer hold_;
};

}  // namespace handsetsim
