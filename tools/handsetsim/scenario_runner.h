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

class ScenarioRunner : public Simulator::Observer {
public:
    ScenarioRunner(SimulatorPort& port, Simulator& simulator);

    void addLine(std::string line);
    void endOfInput();
    void onTimer(unsigned id);
    void onWakeUp();
    void outputArrived(int device) override;

    bool finished() const { return finished_; }

private:
    enum class Pause { None, Sleep, Hold, WaitOutput, Resuming };

    void run();
    void execute(const std::string& line);
    void continueHold();
    void pauseFor(Pause pause, std::uint32_t milliseconds);
    void finish();

    SimulatorPort& port_;
    Simulator& simulator_;
    std::deque<std::string> lines_;
    bool inputEnded_ = false;
    bool finished_ = false;

    Pause pause_ = Pause::None;
    unsigned timerId_ = 0;
    Command waiting_;     // the wait-output or hold in progress
    std::string waitLine_;
    HoldPlayer hold_;
};

}  // namespace handsetsim
