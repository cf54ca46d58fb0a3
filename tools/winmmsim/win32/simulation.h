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

class TSimulation {
 public:
  // Built at the first call into the DLL: reads the configuration then.
  static TSimulation& Instance();

  // Held by every exported function for its whole call.
  std::mutex& Guard() { return guard_; }

  const TConfig& Config() const { return config_; }
  int MixerCount() const { return static_cast<int>(mixers_.size()); }
  TSimMixer* Mixer(int id);

  // An HMIXER for the mixer, notifying `window` (may be null) of changes.
  HMIXER Open(int mixer, HWND window);
  bool Close(HMIXER handle);
  // The mixer of an open handle; -1 when the handle is not one.
  int MixerOfHandle(HMIXER handle) const;

  // A control's values were set: logged, and every window that opened its mixer told.
  void ControlSet(int mixer, const TSimLine& line, const TSimControl& control, bool changed);
  void Log(const std::string& line);

 private:
  struct TOpenMixer {
    int mixer;
    HWND window;
  };

  TSimulation();
  void ApplyInitialValues();

  std::mutex guard_;
  TConfig config_;
  std::vector<TSimMixer> mixers_;
  std::set<TOpenMixer*> open_;
  std::string log_path_;
};

}  // namespace winmmsim
