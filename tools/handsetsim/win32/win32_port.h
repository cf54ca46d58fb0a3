#pragma once
// The simulator's outside world as Win32: the event log, the pipes, and the window's timers.
#include <windows.h>

#include "tools/handsetsim/simulator_port.h"
#include "tools/handsetsim/win32/pipe_server.h"
#include "tools/simkit/win32/event_log.h"

namespace handsetsim {

class TWin32Port : public ISimulatorPort {
 public:
  TWin32Port(simkit::TEventLog& log, HWND window) : log_(log), window_(window) {}

  // The pipes report to the simulator, which is made after the port.
  void SetPipes(TPipeServer* pipes) { pipes_ = pipes; }

  void Log(std::string_view event, const std::string& details) override { log_.Write(event, details); }
  bool Listen(int channel, const std::string& path) override { return pipes_->Listen(channel, path); }
  void StopListening(int channel) override { pipes_->StopListening(channel); }
  void Send(ConnectionId connection, const Bytes& message) override { pipes_->Send(connection, message); }
  void Withdraw(ConnectionId connection) override { pipes_->Withdraw(connection); }
  void StartTimer(unsigned id, std::uint32_t milliseconds) override;
  void StopTimer(unsigned id) override { KillTimer(window_, id); }
  std::uint64_t NowMs() override { return GetTickCount64(); }
  void WakeUp() override;
  void Quit() override { PostQuitMessage(0); }

 private:
  simkit::TEventLog& log_;
  HWND window_;
  TPipeServer* pipes_ = nullptr;
};

}  // namespace handsetsim
