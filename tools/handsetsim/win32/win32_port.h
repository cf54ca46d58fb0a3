#pragma once
// The simulator's outside world as Win32: the event log, the pipes, and the window's timers.
#include <windows.h>

#include "tools/handsetsim/simulator_port.h"
#include "tools/handsetsim/win32/pipe_server.h"
#include "tools/simkit/win32/event_log.h"

namespace handsetsim {

class Win32Port : public SimulatorPort {
public:
    Win32Port(simkit::EventLog& log, HWND window) : log_(log), window_(window) {}

    // The pipes report to the simulator, which is made after the port.
    void setPipes(PipeServer* pipes) { pipes_ = pipes; }

    void log(std::string_view event, const std::string& details) override { log_.write(event, details); }
    bool listen(int channel, const std::string& path) override { return pipes_->listen(channel, path); }
    void stopListening(int channel) override { pipes_->stopListening(channel); }
    void send(ConnectionId connection, const Bytes& message) override { pipes_->send(connection, message); }
    void withdraw(ConnectionId connection) override { pipes_->withdraw(connection); }
    void startTimer(unsigned id, std::uint32_t milliseconds) override;
    void stopTimer(unsigned id) override { KillTimer(window_, id); }
    std::uint64_t nowMs() override { return GetTickCount64(); }
    void wakeUp() override;
    void quit() override { PostQuitMessage(0); }

private:
    simkit::EventLog& log_;
    HWND window_;
    PipeServer* pipes_ = nullptr;
};

}  // namespace handsetsim
