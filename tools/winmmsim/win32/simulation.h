#pragma once
// The stand-in winmm.dll's state, one per process: the configuration, the simulated
// mixers with their values, the open mixer handles with their callback windows, and the
// log of what the program set.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "tools/winmmsim/sim_config.h"
#include "tools/winmmsim/sim_mixer.h"

namespace winmmsim {

class Simulation {
public:
    // Built at the first call into the DLL: reads the configuration then.
    static Simulation& instance();

    // Held by every exported function for its whole call.
    std::mutex& guard() { return guard_; }

    const Config& config() const { return config_; }
    int mixerCount() const { return static_cast<int>(mixers_.size()); }
    SimMixer* mixer(int id);

    // An HMIXER for the mixer, notifying `window` (may be null) of changes.
    HMIXER open(int mixer, HWND window);
    bool close(HMIXER handle);
    // The mixer of an open handle; -1 when the handle is not one.
    int mixerOfHandle(HMIXER handle) const;

    // A control's values were set: logged, and every window that opened its mixer told.
    void controlSet(int mixer, const SimLine& line, const SimControl& control, bool changed);
    void log(const std::string& line);

private:
    struct OpenMixer {
        int mixer;
        HWND window;
    };

    Simulation();
    void applyInitialValues();

    std::mutex guard_;
    Config config_;
    std::vector<SimMixer> mixers_;
    std::set<OpenMixer*> open_;
    std::string logPath_;
};

}  // namespace winmmsim
