#include "tools/winmmsim/win32/simulation.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>

namespace winmmsim {
namespace {

constexpr char kConfigBesideDll[] = "winmmsim.cfg";
constexpr DWORD kMaxConfigBytes = 64 * 1024;

std::string hex(std::uintptr_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The folder this DLL was loaded from, with its trailing separator.
std::string dllFolder() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&dllFolder), &self)) {
        return "";
    }
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    const std::string file(path, length);
    return file.substr(0, file.find_last_of("\\/") + 1);
}

bool readFile(const std::string& path, std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<char> buffer(kMaxConfigBytes);
    DWORD read = 0;
    const bool ok = ReadFile(file, buffer.data(), kMaxConfigBytes, &read, nullptr) != FALSE;
    CloseHandle(file);
    if (ok) text.assign(buffer.data(), read);
    return ok;
}

}  // namespace

Simulation& Simulation::instance() {
    static Simulation simulation;
    return simulation;
}

Simulation::Simulation() : logPath_(environment("WINMMSIM_LOG")) {
    std::string path = environment("WINMMSIM_CONFIG");
    if (path.empty()) path = dllFolder() + kConfigBesideDll;
    std::string text;
    std::vector<std::string> errors;
    if (readFile(path, text)) {
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

void Simulation::log(const std::string& line) {
    if (logPath_.empty()) return;
    // Opened for each line, so a test can read the file while the program runs.
    HANDLE file = CreateFileA(logPath_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace winmmsim
