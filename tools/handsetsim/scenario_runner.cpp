#include "tools/handsetsim/scenario_runner.h"

#include <utility>

namespace handsetsim {

TScenarioRunner::TScenarioRunner(ISimulatorPort& port, TSimulator& simulator) : port_(port), simulator_(simulator) {
  simulator_.SetObserver(this);
}

void TScenarioRunner::AddLine(std::string line) {
  if (finished_) return;
  lines_.push_back(std::move(line));
  Run();
}

void TScenarioRunner::EndOfInput() {
  input_ended_ = true;
  Run();
}

void TScenarioRunner::OnTimer(unsigned id) {
  if (id >= kDeviceTimerBase) {
    simulator_.OnDeviceTimer(static_cast<int>(id - kDeviceTimerBase));
    return;
  }
  // A timer stopped just as it fired may still be delivered; only the current one counts.
  if (finished_ || id != timer_id_) return;
  switch (pause_) {
    case TPause::Hold:
      ContinueHold();
      if (pause_ == TPause::None) Run();
      return;
    case TPause::WaitOutput:
      port_.Log("TIMEOUT", wait_line_);
      break;
    case TPause::Sleep:
      break;
    default:
      return;
  }
  pause_ = TPause::None;
  Run();
}

void TScenarioRunner::OnWakeUp() {
  if (finished_ || pause_ != TPause::Resuming) return;
  pause_ = TPause::None;
  Run();
}

void TScenarioRunner::OutputArrived(int device) {
  if (pause_ != TPause::WaitOutput || device != waiting_.device) return;
  if (!simulator_.ConsumeOutput(device, waiting_.prefix)) return;
  port_.StopTimer(timer_id_);
  pause_ = TPause::Resuming;
  port_.WakeUp();
}

void TScenarioRunner::Run() {
  while (!finished_ && pause_ == TPause::None) {
    if (lines_.empty()) {
      if (input_ended_) Finish();
      return;
    }
    const std::string line = std::move(lines_.front());
    lines_.pop_front();
    Execute(line);
  }
}

void TScenarioRunner::Execute(const std::string& line) {
  const TCommand command = ParseCommand(line);
  std::string refusal;
  switch (command.kind) {
    case TCommandKind::Nothing:
      return;
    case TCommandKind::Invalid:
      port_.Log("ERROR", line);
      return;
    case TCommandKind::Device:
      refusal = simulator_.Define(command.config);
      break;
    case TCommandKind::Plug:
      refusal = simulator_.Plug(command.device);
      break;
    case TCommandKind::Unplug:
      refusal = simulator_.Unplug(command.device);
      break;
    case TCommandKind::Press:
    case TCommandKind::Release:
      refusal = simulator_.SendKey(command.device, command.key);
      break;
    case TCommandKind::Hold:
      waiting_ = command;
      hold_ = THoldPlayer(HoldReports(command.key, command.milliseconds, command.every), port_.NowMs());
      pause_ = TPause::Hold;
      ContinueHold();
      return;
    case TCommandKind::Sleep:
      PauseFor(TPause::Sleep, command.milliseconds);
      return;
    case TCommandKind::WaitOutput:
      if (simulator_.ConsumeOutput(command.device, command.prefix)) return;
      waiting_ = command;
      wait_line_ = "wait-output dev=" + std::to_string(command.device) + " " + HexBytes(command.prefix);
      PauseFor(TPause::WaitOutput, command.milliseconds);
      return;
    case TCommandKind::Quit:
      Finish();
      return;
  }
  if (!refusal.empty()) port_.Log("ERROR", line + " (" + refusal + ")");
}

// Sends what is due, then pauses until the next report, or ends the pause after the last.
void TScenarioRunner::ContinueHold() {
  const std::uint64_t now = port_.NowMs();
  for (std::uint8_t key : hold_.TakeDue(now)) {
    const std::string refusal = simulator_.SendKey(waiting_.device, key);
    if (!refusal.empty()) {
      port_.Log("ERROR", "hold (" + refusal + ")");
      hold_ = THoldPlayer();
      break;
    }
  }
  if (hold_.Done()) {
    pause_ = TPause::None;
    return;
  }
  PauseFor(TPause::Hold, hold_.MsUntilNext(now));
}

void TScenarioRunner::PauseFor(TPause pause, std::uint32_t milliseconds) {
  pause_ = pause;
  if (++timer_id_ >= kDeviceTimerBase) timer_id_ = 1;
  port_.StartTimer(timer_id_, milliseconds);
}

void TScenarioRunner::Finish() {
  if (finished_) return;
  finished_ = true;
  port_.Log("QUIT", "");
  port_.Quit();
}

}  // namespace handsetsim
