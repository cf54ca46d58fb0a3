#include "tools/skypesim/scenario_runner.h"

#include <utility>

#include "tools/simkit/log_format.h"

namespace skypesim {
namespace {

bool targetsClient(CommandKind kind) {
    switch (kind) {
    case CommandKind::Notify:
    case CommandKind::CopyData:
    case CommandKind::CopyDataBig:
    case CommandKind::Post:
    case CommandKind::Send:
        return true;
    default:
        return false;
    }
}

}  // namespace

void ScenarioRunner::addLine(std::string line) {
    if (finished_) return;
    lines_.push_back(std::move(line));
    run();
}

void ScenarioRunner::endOfInput() {
    inputEnded_ = true;
    run();
}

void ScenarioRunner::onDiscover(WindowId client) {
    port_.log("DISCOVER", simkit::hexValue(client));
    client_ = client;
    state_.recordDiscovery();
    if (const auto status = state_.takeAttachStatus()) {
        DeferredSend attach;
        attach.isAttach = true;
        attach.client = client;
        attach.status = *status;
        defer(std::move(attach));
    }
    if (pause_ == Pause::WaitDiscovery && state_.consumeDiscovery()) resumeOnWakeUp();
}

void ScenarioRunner::onUiDiscover(WindowId client) {
    port_.log("UIDISCOVER", simkit::hexValue(client));
}

bool ScenarioRunner::onCommand(WindowId sender, const std::string& text) {
    port_.log("CMD", text);
    state_.recordCommand(text);
    const bool accepted = state_.takeAcceptance();
    if (!accepted) {
        port_.log("REFUSED", text);
    } else if (auto reply = state_.answerFor(text)) {
        DeferredSend answer;
        answer.client = sender != 0 ? sender : client_;
        answer.text = std::move(*reply);
        defer(std::move(answer));
    }
    if (pause_ == Pause::WaitCommand && state_.consumeCommand(waitPattern_)) resumeOnWakeUp();
    return accepted;
}

void ScenarioRunner::onTimer(unsigned id) {
    // A timer stopped just as it fired may still be delivered; only the current one counts.
    if (finished_ || id != timerId_) return;
    if (pause_ == Pause::WaitCommand) port_.log("TIMEOUT", "wait-cmd " + waitPattern_);
    else if (pause_ == Pause::WaitDiscovery) port_.log("TIMEOUT", "wait-discover");
    else if (pause_ != Pause::Sleep) return;
    pause_ = Pause::None;
    run();
}

void ScenarioRunner::onWakeUp() {
    if (finished_) return;
    sendDeferred();
    if (pause_ != Pause::Resuming) return;
    pause_ = Pause::None;
    run();
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
    const ParsedLine parsed = parseLine(line);
    if (parsed.kind == LineKind::Nothing) return;
    if (parsed.kind == LineKind::Invalid) {
        port_.log("ERROR", line);
        return;
    }
    if (targetsClient(parsed.command.kind) && client_ == 0) {
        port_.log("ERROR", line + " (no client window)");
        return;
    }
    execute(parsed.command);
}

void ScenarioRunner::execute(const Command& command) {
    switch (command.kind) {
    case CommandKind::Attach: state_.queueAttach(command.statuses); break;
    case CommandKind::AttachAll: state_.setAttachAll(command.status); break;
    case CommandKind::Accept: state_.acceptAll(); break;
    case CommandKind::Refuse:
        if (command.all) state_.refuseAll();
        else state_.refuseNext(command.count);
        break;
    case CommandKind::Answer: state_.setAnswer(command.pattern, command.text); break;
    case CommandKind::Announce:
        // Skype announces its API to every window until a client has attached.
        if (client_ == 0) outgoing_.broadcastAttach(*command.status);
        else outgoing_.attach(client_, *command.status);
        break;
    case CommandKind::Reopen: reopen(); break;
    case CommandKind::Notify: outgoing_.notify(client_, command.text); break;
    case CommandKind::CopyData: outgoing_.copyData(client_, command.size, command.text); break;
    case CommandKind::CopyDataBig: outgoing_.copyDataBig(client_, command.size); break;
    case CommandKind::Post: outgoing_.post(client_, command.message, command.wParam, command.lParam); break;
    case CommandKind::Send: outgoing_.send(client_, command.message, command.wParam, command.lParam); break;
    case CommandKind::Sleep: pauseFor(Pause::Sleep, command.milliseconds); break;
    case CommandKind::WaitCommand:
        if (state_.consumeCommand(command.pattern)) break;
        waitPattern_ = command.pattern;
        pauseFor(Pause::WaitCommand, command.milliseconds);
        break;
    case CommandKind::WaitDiscover:
        if (!state_.consumeDiscovery()) pauseFor(Pause::WaitDiscovery, command.milliseconds);
        break;
    case CommandKind::Freeze: port_.freeze(command.milliseconds); break;
    case CommandKind::Quit: finish(); break;
    }
}

void ScenarioRunner::pauseFor(Pause pause, std::uint32_t milliseconds) {
    pause_ = pause;
    ++timerId_;
    port_.startTimer(timerId_, milliseconds);
}

// The wait ended inside the handling of the client's message; the scenario goes on from the
// message loop instead, so that its sends do not nest in the client's call.
void ScenarioRunner::resumeOnWakeUp() {
    port_.stopTimer(timerId_);
    pause_ = Pause::Resuming;
    port_.wakeUp();
}

void ScenarioRunner::defer(DeferredSend send) {
    if (finished_) return;
    deferred_.push_back(std::move(send));
    port_.wakeUp();
}

void ScenarioRunner::sendDeferred() {
    // A send may nest the client's next command, which can queue another send behind it.
    while (!deferred_.empty() && !finished_) {
        const DeferredSend send = std::move(deferred_.front());
        deferred_.pop_front();
        if (send.isAttach) outgoing_.attach(send.client, send.status);
        else outgoing_.notify(send.client, send.text);
    }
}

// The old window's client and pending sends go with it; the scenario waits for the new one.
void ScenarioRunner::reopen() {
    port_.log("REOPEN", "");
    client_ = 0;
    deferred_.clear();
    port_.stopTimer(timerId_);
    pause_ = Pause::Reopening;
    port_.reopenWindow();
}

void ScenarioRunner::onReopened() {
    if (finished_ || pause_ != Pause::Reopening) return;
    pause_ = Pause::None;
    run();
}

void ScenarioRunner::finish() {
    if (finished_) return;
    finished_ = true;
    deferred_.clear();
    port_.log("QUIT", "");
    port_.quit();
}

}  // namespace skypesim
