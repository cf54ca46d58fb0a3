#include "tools/handsetsim/scenario_runner.h"

#include <utility>

namespace handsetsim {

ScenarioRunner::ScenarioRunner(SimulatorPort& port, Simulator& simulator) : port_(port), simulator_(simulator) {
    simulator_.setObserver(this);
}

void ScenarioRunner::addLine(std::string line) {
    if (finished_) return;
    lines_.push_back(std::move(line));
    run();
}

void ScenarioRunner::endOfInput() {
    inputEnded_ = true;
    run();
}

void ScenarioRunner::onTimer(unsigned id) {
    if (id >= kDeviceTimerBase) {
        simulator_.onDeviceTimer(static_cast<int>(id - kDeviceTimerBase));
        return;
    }
    // A timer stopped just as it fired may still be delivered; only the current one counts.
    if (finished_ || id != timerId_) return;
    switch (pause_) {
    case Pause::Hold:
        continueHold();
        if (pause_ == Pause::None) run();
        return;
    case Pause::WaitOutput:
        port_.log("TIMEOUT", waitLine_);
        break;
    case Pause::Sleep:
        break;
    default:
        return;
    }
    pause_ = Pause::None;
    run();
}

void ScenarioRunner::onWakeUp() {
    if (finished_ || pause_ != Pause::Resuming) return;
    pause_ = Pause::None;
    run();
}

void ScenarioRunner::outputArrived(int device) {
    if (pause_ != Pause::WaitOutput || device != waiting_.device) return;
    if (!simulator_.consumeOutput(device, waiting_.prefix)) return;
    port_.stopTimer(timerId_);
    pause_ = Pause::Resuming;
    port_.wakeUp();
}

void ScenarioRunner::run() {
    while (!finished_ && pause_ == Pause::None) {
        if (lines_.empty()) {
            if (inputEnded_) finish();
            return;
        }
        const std::string line = std::move(lines_.front());
        lines_.pop_front();
        execute(line);
    }
}

void ScenarioRunner::execute(const std::string& line) {
    const Command command = parseCommand(line);
    std::string refusal;
    switch (command.kind) {
    case CommandKind::Nothing:
        return;
    case CommandKind::Invalid:
        port_.log("ERROR", line);
        return;
    case CommandKind::Device: refusal = simulator_.define(command.config); break;
    case CommandKind::Plug: refusal = simulator_.plug(command.device); break;
    case CommandKind::Unplug: refusal = simulator_.unplug(command.device); break;
    case CommandKind::Press:
    case CommandKind::Release: refusal = simulator_.sendKey(command.device, command.key); break;
    case CommandKind::Hold:
        waiting_ = command;
        hold_ = HoldPlayer(holdReports(command.key, command.milliseconds, command.every), port_.nowMs());
        pause_ = Pause::Hold;
        continueHold();
        return;
    case CommandKind::Sleep:
        pauseFor(Pause::Sleep, command.milliseconds);
        return;
    case CommandKind::WaitOutput:
        if (simulator_.consumeOutput(command.device, command.prefix)) return;
        waiting_ = command;
        waitLine_ = "wait-output dev=" + std::to_string(command.device) + " " + hexBytes(command.prefix);
        pauseFor(Pause::WaitOutput, command.milliseconds);
        return;
    case CommandKind::Quit:
        finish();
        return;
    }
    if (!refusal.empty()) port_.log("ERROR", line + " (" + refusal + ")");
}

// Sends what is due, then pauses until the next report, or ends the pause after the last.
void ScenarioRunner::continueHold() {
    const std::uint64_t now = port_.nowMs();
    for (std::uint8_t key : hold_.takeDue(now)) {
        const std::string refusal = simulator_.sendKey(waiting_.device, key);
        if (!refusal.empty()) {
            port_.log("ERROR", "hold (" + refusal + ")");
            hold_ = HoldPlayer();
            break;
        }
    }
    if (hold_.done()) {
        pause_ = Pause::None;
        return;
    }
    pauseFor(Pause::Hold, hold_.msUntilNext(now));
}

void ScenarioRunner::pauseFor(Pause pause, std::uint32_t milliseconds) {
    pause_ = pause;
    if (++timerId_ >= kDeviceTimerBase) timerId_ = 1;
    port_.startTimer(timerId_, milliseconds);
}

void ScenarioRunner::finish() {
    if (finished_) return;
    finished_ = true;
    port_.log("QUIT", "");
    port_.quit();
}

}  // namespace handsetsim
