#include "tools/winmmsim/win32/simulation.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>

#include "tools/simkit/win32/standin_files.h"

namespace winmmsim {
namespace {

constexpr char kConfigBesideDll[] = "winmmsim.cfg";

std::string hex(std::uintptr_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

Simulation& Simulation::instance() {
    static Simulation simulation;
    return simulation;
}

Simulation::Simulation() : logPath_(environment("WINMMSIM_LOG")) {
    std::string path = environment("WINMMSIM_CONFIG");
    if (path.empty()) path = simkit::moduleFolder(reinterpret_cast<const void*>(&environment)) + kConfigBesideDll;
    std::string text;
    std::vector<std::string> errors;
    if (simkit::readSmallFile(path, text)) {
        config_ = parseConfig(text, errors);
    } else {
        config_ = defaultConfig();
        path = "default";
    }
    for (const MixerConfig& mixer : config_.mixers) mixers_.push_back(buildMixer(mixer));
    log("LOAD config=" + path + " outs=" + std::to_string(config_.outs.size()) + " ins=" +
        std::to_string(config_.ins.size()) + " mixers=" + std::to_string(mixers_.size()));
    for (const std::string& error : errors) log("ERROR config: " + error);
    applyInitialValues();
}

void Simulation::applyInitialValues() {
    for (const InitialValue& initial : config_.values) {
        SimMixer* m = mixer(initial.mixer);
        const ControlRef found = m != nullptr ? findControl(*m, initial.control) : ControlRef{};
        if (found.control == nullptr || found.control->values.size() != initial.values.size()) {
            log("ERROR config: value mixer=" + std::to_string(initial.mixer) + " control=" +
                std::to_string(initial.control) + " does not fit");
            continue;
        }
        found.control->values = initial.values;
    }
}

SimMixer* Simulation::mixer(int id) {
    if (id < 0 || id >= mixerCount()) return nullptr;
    return &mixers_[static_cast<std::size_t>(id)];
}

HMIXER Simulation::open(int mixer, HWND window) {
    auto* handle = new OpenMixer{mixer, window};
    open_.insert(handle);
    const HMIXER result = reinterpret_cast<HMIXER>(handle);
    log("OPEN mixer=" + std::to_string(mixer) + " handle=" + hex(reinterpret_cast<std::uintptr_t>(result)) +
        " window=" + hex(reinterpret_cast<std::uintptr_t>(window)));
    return result;
}

bool Simulation::close(HMIXER handle) {
    auto* open = reinterpret_cast<OpenMixer*>(handle);
    if (open_.erase(open) == 0) return false;
    log("CLOSE mixer=" + std::to_string(open->mixer) + " handle=" + hex(reinterpret_cast<std::uintptr_t>(handle)));
    delete open;
    return true;
}

int Simulation::mixerOfHandle(HMIXER handle) const {
    // Compared by address only: a value that is no open handle is never dereferenced.
    for (OpenMixer* open : open_) {
        if (reinterpret_cast<HMIXER>(open) == handle) return open->mixer;
    }
    return -1;
}

void Simulation::controlSet(int mixer, const SimLine& line, const SimControl& control, bool changed) {
    std::string values;
    for (std::uint32_t value : control.values) values += (values.empty() ? "" : ",") + std::to_string(value);
    log("SET mixer=" + std::to_string(mixer) + " control=" + std::to_string(control.id) + " line=\"" + line.name +
        "\" values=" + values + " changed=" + (changed ? "1" : "0"));
    if (!changed || !config_.notify) return;
    for (OpenMixer* open : open_) {
        if (open->mixer != mixer || open->window == nullptr) continue;
        PostMessageA(open->window, MM_MIXM_CONTROL_CHANGE, reinterpret_cast<WPARAM>(open), control.id);
        log("NOTIFY mixer=" + std::to_string(mixer) + " control=" + std::to_string(control.id) + " window=" +
            hex(reinterpret_cast<std::uintptr_t>(open->window)));
    }
}

void Simulation::log(const std::string& line) { simkit::appendLogLine(logPath_, line); }

}  // namespace winmmsim
