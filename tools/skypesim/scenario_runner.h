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
class ScenarioRunner {
public:
    explicit ScenarioRunner(SimulatorPort& port) : port_(port), outgoing_(port) {}

    // Scenario input, in order; the end of input quits once every line before it has run.
    void addLine(std::string line);
    void endOfInput();

    // What the client sends.
    void onDiscover(WindowId client);
    void onUiDiscover(WindowId client);
    // True to accept the command, false to refuse it.
    bool onCommand(WindowId sender, const std::string& text);

    // What the port calls back.
    void onTimer(unsigned id);
    void onWakeUp();
    // The new API window is open: the scenario goes on.
    void onReopened();

    bool finished() const { return finished_; }

private:
    enum class Pause { None, Sleep, WaitCommand, WaitDiscovery, Resuming, Reopening };

    struct DeferredSend {
        bool isAttach = false;
        WindowId client = 0;
        std::uint32_t status = 0;  // attach
        std::string text;          // notify
    };

    void run();
    void execute(const std::string& line);
    void execute(const Command& command);
    void pauseFor(Pause pause, std::uint32_t milliseconds);
    void resumeOnWakeUp();
    void defer(DeferredSend send);
    void sendDeferred();
    void reopen();
    void finish();

    SimulatorPort& port_;
    Outgoing outgoing_;
    SimulatorState state_;

    std::deque<std::string> lines_;
    bool inputEnded_ = false;
    bool finished_ = false;

    Pause pause_ = Pause::None;
    std::string waitPattern_;
    unsigned timerId_ = 0;

    WindowId client_ = 0;  // the window of the last discovery
    std::deque<DeferredSend> deferred_;
};

}  // namespace skypesim
