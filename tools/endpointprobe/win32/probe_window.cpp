#include "tools/endpointprobe/win32/probe_window.h"

#include <cstdio>
#include <cstdlib>

#include "audio/endpoint_search.h"
#include "tools/simkit/text_fields.h"

namespace endpointprobe {
namespace {

constexpr char kClassName[] = "EndpointProbeWindow";
constexpr char kSimulatorDll[] = "mmdevsim.dll";
constexpr char kWindowsEndpointDll[] = "mmdevapi.dll";

const char* sideName(THandsetSide side) { return side == THandsetSide::Speaker ? "speaker" : "mic"; }
const char* onOff(bool on) { return on ? "on" : "off"; }

std::string levelText(float level) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(level));
    return text;
}

std::string hresultText(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

const char* resultText(TEndpointResult result) {
    switch (result) {
        case TEndpointResult::Ok: return "ok";
        case TEndpointResult::DeviceInvalidated: return "invalidated";
        case TEndpointResult::Failed: return "failed";
    }
    return "?";
}

// The first word and the rest.
std::pair<std::string, std::string> split(const std::string& line) {
    const std::size_t begin = line.find_first_not_of(" \t");
    if (begin == std::string::npos) return {"", ""};
    const std::size_t end = line.find_first_of(" \t", begin);
    if (end == std::string::npos) return {line.substr(begin), ""};
    const std::size_t rest = line.find_first_not_of(" \t", end);
    return {line.substr(begin, end - begin), rest == std::string::npos ? "" : line.substr(rest)};
}

std::string modulePath(const char* name) {
    HMODULE module = GetModuleHandleA(name);
    if (module == nullptr) return "none";
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? "?" : std::string(path, length);
}

}  // namespace

ProbeWindow::ProbeWindow(simkit::EventLog& log, simkit::InputQueue& input, TEndpointVolumeWindow& endpoints)
    : log_(log), input_(input), endpoints_(endpoints) {
    volume_ = std::make_unique<THandsetEndpointVolume>(endpoints_.Port(), *this, "USB");
    endpoints_.SetEvents(this);
}

ProbeWindow::~ProbeWindow() {
    endpoints_.SetEvents(nullptr);
    if (volume_) volume_->Release();
    Destroy();
}

bool ProbeWindow::Create() {
    CreateArgs args;
    args.class_name = kClassName;
    args.parent = HWND_MESSAGE;
    return TWindow::Create(args);
}

LRESULT ProbeWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kInputMessage:
        takeInput();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return TWindow::HandleMessage(message, wParam, lParam);
    }
}

void ProbeWindow::takeInput() {
    const bool ended = input_.runLines([this](std::string& line) {
        run(line);
        return Handle() != nullptr;  // gone after quit
    });
    if (ended) {
        volume_->Release();
        Destroy();
    }
}

void ProbeWindow::run(const std::string& line) {
    const auto [command, rest] = split(line);
    if (command.empty() || command[0] == '#') return;
    if (command == "list") {
        list(rest);
    } else if (command == "pattern") {
        volume_->Release();
        volume_ = std::make_unique<THandsetEndpointVolume>(endpoints_.Port(), *this, rest);
    } else if (command == "find") {
        find(rest);
    } else if (command == "change") {
        const simkit::Fields fields = simkit::splitFields(rest);
        if (fields.positional.size() != 3) return log_.write("ERROR", "change speaker|mic VOLUME 0|1");
        const THandsetSide side = fields.positional[0] == "mic" ? THandsetSide::Microphone : THandsetSide::Speaker;
        volume_->Change(side, TSideValues{std::atoi(std::string(fields.positional[1]).c_str()),
                                          fields.positional[2] == "1"});
    } else if (command == "step") {
        volume_->StepSpeaker(rest == "down" ? -1 : +1);
    } else if (command == "default") {
        volume_->ApplyDefault();
    } else if (command == "release") {
        volume_->Release();
        log_.write("RELEASED", "");
    } else if (command == "raw") {
        raw(rest);
    } else if (command == "sim") {
        simCommand(rest);
    } else if (command == "remote") {
        remoteCommand(rest);
    } else if (command == "module") {
        logModules();
    } else if (command == "quit") {
        volume_->Release();
        Destroy();
    } else {
        log_.write("ERROR", "unknown command: " + line);
    }
}

void ProbeWindow::list(const std::string& flow) {
    const TEndpointFlow which = flow == "capture" ? TEndpointFlow::Capture : TEndpointFlow::Render;
    const std::vector<TEndpointInfo> endpoints = endpoints_.Port().ActiveEndpoints(which);
    for (const TEndpointInfo& endpoint : endpoints) {
        log_.write("ENDPOINT", "flow=" + std::string(which == TEndpointFlow::Render ? "render" : "capture") +
                                   " name=\"" + endpoint.name + "\" id=" + endpoint.id);
    }
    log_.write("LISTED", std::to_string(endpoints.size()));
}

void ProbeWindow::find(const std::string& options) {
    const simkit::Fields fields = simkit::splitFields(options);
    auto number = [&fields](const char* name, int fallback) {
        const std::optional<std::string_view> value = fields.option(name);
        return value ? std::atoi(std::string(*value).c_str()) : fallback;
    };
    const TSideValues speaker{number("speaker", kHandsetVolumeDefault), number("speaker-mute", 0) != 0};
    const TSideValues mic{number("mic", kHandsetVolumeDefault), number("mic-mute", 0) != 0};
    const bool found = volume_->FindHandset(speaker, mic);
    log_.write("FOUND", found ? "1" : "0");
}

// "raw level V NAME-PART", "raw mute 0|1 NAME-PART", "raw get NAME-PART": one call on the
// first endpoint of either flow whose name holds NAME-PART, straight through the port, with
// Windows' own result.
void ProbeWindow::raw(const std::string& arguments) {
    const auto [op, afterOp] = split(arguments);
    const auto [value, namePart] = op == "get" ? std::pair<std::string, std::string>{"", afterOp} : split(afterOp);
    if ((op != "level" && op != "mute" && op != "get") || namePart.empty()) {
        return log_.write("ERROR", "raw level V|mute 0|1|get NAME-PART");
    }
    TMMDeviceEndpointPort& port = endpoints_.Port();
    std::optional<TEndpointInfo> endpoint = FindHandsetEndpoint(port.ActiveEndpoints(TEndpointFlow::Render), namePart);
    if (!endpoint) endpoint = FindHandsetEndpoint(port.ActiveEndpoints(TEndpointFlow::Capture), namePart);
    if (!endpoint) return log_.write("RAW", "endpoint=none");
    const std::string name = "endpoint=\"" + endpoint->name + "\" ";
    const bool held = volume_->Found();
    TEndpointResult result = port.Open(endpoint->id);
    if (result != TEndpointResult::Ok) return logResult(name + "op=open", result);
    if (op == "level") {
        logResult(name + "op=set-level value=" + value, port.SetLevel(endpoint->id, std::strtof(value.c_str(), nullptr)));
    } else if (op == "mute") {
        logResult(name + "op=set-mute value=" + value, port.SetMute(endpoint->id, value == "1"));
    } else {
        float level = -1.0f;
        result = port.GetLevel(endpoint->id, level);
        logResult(name + "op=get-level value=" + levelText(level), result);
        bool mute = false;
        result = port.GetMute(endpoint->id, mute);
        logResult(name + "op=get-mute value=" + (mute ? "1" : "0"), result);
    }
    // Held only for the call, unless the handset's volume holds endpoints.
    if (!held) port.Close(endpoint->id);
}

void ProbeWindow::logResult(const std::string& what, TEndpointResult result) {
    log_.write("RAW", what + " result=" + resultText(result) + " hr=" + hresultText(endpoints_.Port().LastResult()));
}

void ProbeWindow::simCommand(const std::string& text) {
    using Command = int(WINAPI*)(const char*);
    HMODULE simulator = GetModuleHandleA(kSimulatorDll);
    const auto command = simulator != nullptr
                             ? reinterpret_cast<Command>(reinterpret_cast<void*>(GetProcAddress(simulator, "MmdevsimCommand")))
                             : nullptr;
    if (command == nullptr) return log_.write("SIM", "absent");
    // Stamped before the call, so that the time to the notice's SHOW includes all of it.
    log_.write("SIM-SENT", text);
    log_.write("SIM", command(text.c_str()) != 0 ? "ok" : "error");
}

// "remote PIPE COMMAND": the command to the simulator in another process, through its pipe.
void ProbeWindow::remoteCommand(const std::string& arguments) {
    const auto [name, text] = split(arguments);
    const std::string path = "\\\\.\\pipe\\" + name;
    constexpr DWORD kWaitMs = 2000;
    if (name.empty() || !WaitNamedPipeA(path.c_str(), kWaitMs)) return log_.write("REMOTE", "absent");
    HANDLE pipe = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return log_.write("REMOTE", "absent");
    const std::string line = text + "\n";
    DWORD done = 0;
    char reply[16] = {};
    const bool ok = WriteFile(pipe, line.data(), static_cast<DWORD>(line.size()), &done, nullptr) &&
                    ReadFile(pipe, reply, sizeof reply - 1, &done, nullptr) && done > 0;
    CloseHandle(pipe);
    log_.write("REMOTE", !ok ? "broken" : std::string(reply, done).rfind("OK", 0) == 0 ? "ok" : "error");
}

void ProbeWindow::logModules() {
    log_.write("MODULE", "mmdevsim=" + modulePath(kSimulatorDll) + " mmdevapi=" + modulePath(kWindowsEndpointDll));
}

void ProbeWindow::ShowSide(THandsetSide side, const TSideView& view) {
    log_.write("SHOW", std::string("side=") + sideName(side) + " volume=" + std::to_string(view.volume) +
                           " mute=" + (view.mute ? "1" : "0") + " level=" + onOff(view.level_enabled) +
                           " mute-control=" + onOff(view.mute_enabled));
}

void ProbeWindow::HandsetDevicesChanged() { log_.write("LOOK-AGAIN", ""); }

void ProbeWindow::OnEndpointVolume(const std::string& id, float level, bool mute, bool own) {
    log_.write("NOTICE-VOLUME", "id=" + id + " level=" + levelText(level) + " mute=" + (mute ? "1" : "0") +
                                    " own=" + (own ? "1" : "0"));
    volume_->OnEndpointVolume(id, level, mute, own);
}

void ProbeWindow::OnEndpointDevicesChanged() {
    log_.write("NOTICE-DEVICES", "");
    volume_->OnEndpointDevicesChanged();
}

}  // namespace endpointprobe
