#include "tools/skypesim/scenario_runner.h"

#include <utility>

#include "tools/simkit/log_format.h"

namespace skypesim {
namespace {

bool TargetsClient(TCommandKind kind) {
  switch (kind) {
    case TCommandKind::Notify:
    case TCommandKind::CopyData:
    case TCommandKind::CopyDataBig:
    case TCommandKind::Post:
    case TCommandKind::Send:
      return true;
    default:
      return false;
  }
}

}  // namespace

void TScenarioRunner::AddLine(std::string line) {
  if (finished_) return;
  lines_.push_back(std::move(line));
  Run();
}

void TScenarioRunner::EndOfInput() {
  input_ended_ = true;
  Run();
}

void TScenarioRunner::OnDiscover(WindowId client) {
  port_.Log("DISCOVER", simkit::HexValue(client));
  client_ = client;
  state_.RecordDiscovery();
  if (const auto status = state_.TakeAttachStatus()) {
    TDeferredSend attach;
    attach.is_attach = true;
    attach.client = client;
    attach.status = *status;
    Defer(std::move(attach));
  }
  if (pause_ == TPause::WaitDiscovery && state_.ConsumeDiscovery()) ResumeOnWakeUp();
}

void TScenarioRunner::OnUiDiscover(WindowId client) { port_.Log("UIDISCOVER", simkit::HexValue(client)); }

bool TScenarioRunner::OnCommand(WindowId sender, const std::string& text) {
  port_.Log("CMD", text);
  state_.RecordCommand(text);
  const bool accepted = state_.TakeAcceptance();
  if (!accepted) {
    port_.Log("REFUSED", text);
  } else if (auto reply = state_.AnswerFor(text)) {
    TDeferredSend answer;
    answer.client = sender != 0 ? sender : client_;
    answer.text = std::move(*reply);
    Defer(std::move(answer));
  }
  if (pause_ == TPause::WaitCommand && state_.ConsumeCommand(wait_pattern_)) ResumeOnWakeUp();
  return accepted;
}

void TScenarioRunner::OnTimer(unsigned id) {
  // A timer stopped just as it fired may still be delivered; only the current one counts.
  if (finished_ || id != timer_id_) return;
  if (pause_ == TPause::WaitCommand)
    port_.Log("TIMEOUT", "wait-cmd " + wait_pattern_);
  else if (pause_ == TPause::WaitDiscovery)
    port_.Log("TIMEOUT", "wait-discover");
  else if (pause_ != TPause::Sleep)
    return;
  pause_ = TPause::None;
  Run();
}

void TScenarioRunner::OnWakeUp() {
  if (finished_) return;
  SendDeferred();
  if (pause_ != TPause::Resuming) return;
  pause_ = TPause::None;
  Run();
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
  const TParsedLine parsed = ParseLine(line);
  if (parsed.kind == TLineKind::Nothing) return;
  if (parsed.kind == TLineKind::Invalid) {
    port_.Log("ERROR", line);
    return;
  }
  if (TargetsClient(parsed.command.kind) && client_ == 0) {
    port_.Log("ERROR", line + " (no client window)");
    return;
  }
  Execute(parsed.command);
}

void TScenarioRunner::Execute(const TCommand& command) {
  switch (command.kind) {
    case TCommandKind::Attach:
      state_.QueueAttach(command.statuses);
      break;
    case TCommandKind::AttachAll:
      state_.SetAttachAll(command.status);
      break;
    case TCommandKind::Accept:
      state_.AcceptAll();
      break;
    case TCommandKind::Refuse:
      if (command.all)
        state_.RefuseAll();
      else
        state_.RefuseNext(command.count);
      break;
    case TCommandKind::Answer:
      state_.SetAnswer(command.pattern, command.text);
      break;
    case TCommandKind::Announce:
      // Skype announces its API to every window until a client has attached.
      if (client_ == 0)
        outgoing_.BroadcastAttach(*command.status);
      else
        outgoing_.Attach(client_, *command.status);
      break;
    case TCommandKind::Reopen:
      Reopen();
      break;
    case TCommandKind::Notify:
      outgoing_.Notify(client_, command.text);
      break;
    case TCommandKind::CopyData:
      outgoing_.CopyData(client_, command.size, command.text);
      break;
    case TCommandKind::CopyDataBig:
      outgoing_.CopyDataBig(client_, command.size);
      break;
    case TCommandKind::Post:
      outgoing_.Post(client_, command.message, command.wparam, command.lparam);
      break;
    case TCommandKind::Send:
      outgoing_.Send(client_, command.message, command.wparam, command.lparam);
      break;
    case TCommandKind::Sleep:
      PauseFor(TPause::Sleep, command.milliseconds);
      break;
    case TCommandKind::WaitCommand:
      if (state_.ConsumeCommand(command.pattern)) break;
      wait_pattern_ = command.pattern;
      PauseFor(TPause::WaitCommand, command.milliseconds);
      break;
    case TCommandKind::WaitDiscover:
      if (!state_.ConsumeDiscovery()) PauseFor(TPause::WaitDiscovery, command.milliseconds);
      break;
    case TCommandKind::Freeze:
      port_.Freeze(command.milliseconds);
      break;
    case TCommandKind::Quit:
      Finish();
      break;
  }
}

void TScenarioRunner::PauseFor(TPause pause, std::uint32_t milliseconds) {
  pause_ = pause;
  ++timer_id_;
  port_.StartTimer(timer_id_, milliseconds);
}

// The wait ended inside the handling of the client's message; the scenario goes on from the
// message loop instead, so that its sends do not nest in the client's call.
void TScenarioRunner::ResumeOnWakeUp() {
  port_.StopTimer(timer_id_);
  pause_ = TPause::Resuming;
  port_.WakeUp();
}

void TScenarioRunner::Defer(TDeferredSend send) {
  if (finished_) return;
  deferred_.push_back(std::move(send));
  port_.WakeUp();
}

void TScenarioRunner::SendDeferred() {
  // A send may nest the client's next command, which can queue another send behind it.
  while (!deferred_.empty() && !finished_) {
    const TDeferredSend send = std::move(deferred_.front());
    deferred_.pop_front();
    if (send.is_attach)
      outgoing_.Attach(send.client, send.status);
    else
      outgoing_.Notify(send.client, send.text);
  }
}

// The old window's client and pending sends go with it; the scenario waits for the new one.
void TScenarioRunner::Reopen() {
  port_.Log("REOPEN", "");
  client_ = 0;
  deferred_.clear();
  port_.StopTimer(timer_id_);
  pause_ = TPause::Reopening;
  port_.ReopenWindow();
}

void TScenarioRunner::OnReopened() {
  if (finished_ || pause_ != TPause::Reopening) return;
  pause_ = TPause::None;
  Run();
}

void TScenarioRunner::Finish() {
  if (finished_) return;
  finished_ = true;
  deferred_.clear();
  port_.Log("QUIT", "");
  port_.Quit();
}

}  // namespace skypesim
