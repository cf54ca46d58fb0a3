#include "tools/winmmsim/win32/simulation.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>

#include "tools/simkit/win32/standin_files.h"

namespace winmmsim {
namespace {

constexpr char kConfigBesideDll[] = "winmmsim.cfg";

std::string Hex(std::uintptr_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

TSimulation& TSimulation::Instance() {
  static TSimulation simulation;
  return simulation;
}

TSimulation::TSimulation() : log_path_(Environment("WINMMSIM_LOG")) {
  std::string path = Environment("WINMMSIM_CONFIG");
  if (path.empty()) path = simkit::ModuleFolder(reinterpret_cast<const void*>(&Environment)) + kConfigBesideDll;
  std::string text;
  std::vector<std::string> errors;
  if (simkit::ReadSmallFile(path, text)) {
    config_ = ParseConfig(text, errors);
  } else {
    config_ = DefaultConfig();
    path = "default";
  }
  for (const TMixerConfig& mixer : config_.mixers) mixers_.push_back(BuildMixer(mixer));
  Log("LOAD config=" + path + " outs=" + std::to_string(config_.outs.size()) +
      " ins=" + std::to_string(config_.ins.size()) + " mixers=" + std::to_string(mixers_.size()));
  for (const std::string& error : errors) Log("ERROR config: " + error);
  ApplyInitialValues();
}

void TSimulation::ApplyInitialValues() {
  for (const TInitialValue& initial : config_.values) {
    TSimMixer* m = Mixer(initial.mixer);
    const TControlRef found = m != nullptr ? FindControl(*m, initial.control) : TControlRef{};
    if (found.control == nullptr || found.control->values.size() != initial.values.size()) {
      Log("ERROR config: value mixer=" + std::to_string(initial.mixer) + " control=" + std::to_string(initial.control) +
          " does not fit");
      continue;
    }
    found.control->values = initial.values;
  }
}

TSimMixer* TSimulation::Mixer(int id) {
  if (id < 0 || id >= MixerCount()) return nullptr;
  return &mixers_[static_cast<std::size_t>(id)];
}

HMIXER TSimulation::Open(int mixer, HWND window) {
  auto* handle = new TOpenMixer{mixer, window};
  open_.insert(handle);
  const HMIXER result = reinterpret_cast<HMIXER>(handle);
  Log("OPEN mixer=" + std::to_string(mixer) + " handle=" + Hex(reinterpret_cast<std::uintptr_t>(result)) +
      " window=" + Hex(reinterpret_cast<std::uintptr_t>(window)));
  return result;
}

bool TSimulation::Close(HMIXER handle) {
  auto* open = reinterpret_cast<TOpenMixer*>(handle);
  if (open_.erase(open) == 0) return false;
  Log("CLOSE mixer=" + std::to_string(open->mixer) + " handle=" + Hex(reinterpret_cast<std::uintptr_t>(handle)));
  delete open;
  return true;
}

int TSimulation::MixerOfHandle(HMIXER handle) const {
  // Compared by address only: a value that is no open handle is never dereferenced.
  for (TOpenMixer* open : open_) {
    if (reinterpret_cast<HMIXER>(open) == handle) return open->mixer;
  }
  return -1;
}

void TSimulation::ControlSet(int mixer, const TSimLine& line, const TSimControl& control, bool changed) {
  std::string values;
  for (std::uint32_t value : control.values) values += (values.empty() ? "" : ",") + std::to_string(value);
  Log("SET mixer=" + std::to_string(mixer) + " control=" + std::to_string(control.id) + " line=\"" + line.name +
      "\" values=" + values + " changed=" + (changed ? "1" : "0"));
  if (!changed || !config_.notify) return;
  for (TOpenMixer* open : open_) {
    if (open->mixer != mixer || open->window == nullptr) continue;
    PostMessageA(open->window, MM_MIXM_CONTROL_CHANGE, reinterpret_cast<WPARAM>(open), control.id);
    Log("NOTIFY mixer=" + std::to_string(mixer) + " control=" + std::to_string(control.id) +
        " window=" + Hex(reinterpret_cast<std::uintptr_t>(open->window)));
  }
}

void TSimulation::Log(const std::string& line) { simkit::AppendLogLine(log_path_, line); }

}  // namespace winmmsim
