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

const char* SideName(THandsetSide side) { return side == THandsetSide::Speaker ? "speaker" : "mic"; }
const char* OnOff(bool on) { return on ? "on" : "off"; }

std::string LevelText(float level) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", static_cast<double>(level));
  return text;
}

std::string HresultText(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

const char* ResultText(TEndpointResult result) {
  switch (result) {
    case TEndpointResult::Ok:
      return "ok";
    case TEndpointResult::DeviceInvalidated:
      return "invalidated";
    case TEndpointResult::Failed:
      return "failed";
  }
  return "?";
}

// The first word and the rest.
std::pair<std::string, std::string> Split(const std::string& line) {
  const std::size_t begin = line.find_first_not_of(" \t");
  if (begin == std::string::npos) return {"", ""};
  const std::size_t end = line.find_first_of(" \t", begin);
  if (end == std::string::npos) return {line.substr(begin), ""};
  const std::size_t rest = line.find_first_not_of(" \t", end);
  return {line.substr(begin, end - begin), rest == std::string::npos ? "" : line.substr(rest)};
}

std::string ModulePath(const char* name) {
  HMODULE module = GetModuleHandleA(name);
  if (module == nullptr) return "none";
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? "?" : std::string(path, length);
}

}  // namespace

TProbeWindow::TProbeWindow(simkit::TEventLog& log, simkit::TInputQueue& input, TEndpointVolumeWindow& endpoints)
    : log_(log), input_(input), endpoints_(endpoints) {
  volume_ = std::make_unique<THandsetEndpointVolume>(endpoints_.Port(), *this, "USB");
  endpoints_.SetEvents(this);
}

TProbeWindow::~TProbeWindow() {
  endpoints_.SetEvents(nullptr);
  if (volume_) volume_->Release();
  Destroy();
}

bool TProbeWindow::Create() {
  CreateArgs args;
  args.class_name = kClassName;
  args.parent = HWND_MESSAGE;
  return TWindow::Create(args);
}

LRESULT TProbeWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kInputMessage:
      TakeInput();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return TWindow::HandleMessage(message, wparam, lparam);
  }
}

void TProbeWindow::TakeInput() {
  const bool ended = input_.RunLines([this](std::string& line) {
    Run(line);
    return Handle() != nullptr;  // gone after quit
  });
  if (ended) {
    volume_->Release();
    Destroy();
  }
}

void TProbeWindow::Run(const std::string& line) {
  const auto [command, rest] = Split(line);
  if (command.empty() || command[0] == '#') return;
  if (command == "list") {
    List(rest);
  } else if (command == "pattern") {
    volume_->Release();
    volume_ = std::make_unique<THandsetEndpointVolume>(endpoints_.Port(), *this, rest);
  } else if (command == "find") {
    Find(rest);
  } else if (command == "change") {
    const simkit::TFields fields = simkit::SplitFields(rest);
    if (fields.positional.size() != 3) return log_.Write("ERROR", "change speaker|mic VOLUME 0|1");
    const THandsetSide side = fields.positional[0] == "mic" ? THandsetSide::Microphone : THandsetSide::Speaker;
    volume_->Change(side,
                    TSideValues{std::atoi(std::string(fields.positional[1]).c_str()), fields.positional[2] == "1"});
  } else if (command == "release") {
    volume_->Release();
    log_.Write("RELEASED", "");
  } else if (command == "raw") {
    Raw(rest);
  } else if (command == "sim") {
    SimCommand(rest);
  } else if (command == "remote") {
    RemoteCommand(rest);
  } else if (command == "module") {
    LogModules();
  } else if (command == "quit") {
    volume_->Release();
    Destroy();
  } else {
    log_.Write("ERROR", "unknown command: " + line);
  }
}

void TProbeWindow::List(const std::string& flow) {
  const TEndpointFlow which = flow == "capture" ? TEndpointFlow::Capture : TEndpointFlow::Render;
  const std::vector<TEndpointInfo> endpoints = endpoints_.Port().ActiveEndpoints(which);
  for (const TEndpointInfo& endpoint : endpoints) {
    log_.Write("ENDPOINT", "flow=" + std::string(which == TEndpointFlow::Render ? "render" : "capture") + " name=\"" +
                               endpoint.name + "\" id=" + endpoint.id);
  }
  log_.Write("LISTED", std::to_string(endpoints.size()));
}

void TProbeWindow::Find(const std::string& options) {
  const simkit::TFields fields = simkit::SplitFields(options);
  auto number = [&fields](const char* name, int fallback) {
    const std::optional<std::string_view> value = fields.Option(name);
    return value ? std::atoi(std::string(*value).c_str()) : fallback;
  };
  const TSideValues speaker{number("speaker", kHandsetVolumeDefault), number("speaker-mute", 0) != 0};
  const TSideValues mic{number("mic", kHandsetVolumeDefault), number("mic-mute", 0) != 0};
  const bool found = volume_->FindHandset(speaker, mic);
  log_.Write("FOUND", found ? "1" : "0");
}

// "raw level V NAME-PART", "raw mute 0|1 NAME-PART", "raw get NAME-PART": one call on the
// first endpoint of either flow whose name holds NAME-PART, straight through the port, with
// Windows' own result.
void TProbeWindow::Raw(const std::string& arguments) {
  const auto [op, afterOp] = Split(arguments);
  const auto [value, namePart] = op == "get" ? std::pair<std::string, std::string>{"", afterOp} : Split(afterOp);
  if ((op != "level" && op != "mute" && op != "get") || namePart.empty()) {
    return log_.Write("ERROR", "raw level V|mute 0|1|get NAME-PART");
  }
  TMMDeviceEndpointPort& port = endpoints_.Port();
  std::optional<TEndpointInfo> endpoint = FindHandsetEndpoint(port.ActiveEndpoints(TEndpointFlow::Render), namePart);
  if (!endpoint) endpoint = FindHandsetEndpoint(port.ActiveEndpoints(TEndpointFlow::Capture), namePart);
  if (!endpoint) return log_.Write("RAW", "endpoint=none");
  const std::string name = "endpoint=\"" + endpoint->name + "\" ";
  const bool held = volume_->Found();
  TEndpointResult result = port.Open(endpoint->id);
  if (result != TEndpointResult::Ok) return LogResult(name + "op=open", result);
  if (op == "level") {
    LogResult(name + "op=set-level value=" + value, port.SetLevel(endpoint->id, std::strtof(value.c_str(), nullptr)));
  } else if (op == "mute") {
    LogResult(name + "op=set-mute value=" + value, port.SetMute(endpoint->id, value == "1"));
  } else {
    float level = -1.0f;
    result = port.GetLevel(endpoint->id, level);
    LogResult(name + "op=get-level value=" + LevelText(level), result);
    bool mute = false;
    result = port.GetMute(endpoint->id, mute);
    LogResult(name + "op=get-mute value=" + (mute ? "1" : "0"), result);
  }
  // Held only for the call, unless the handset's volume holds endpoints.
  if (!held) port.Close(endpoint->id);
}

void TProbeWindow::LogResult(const std::string& what, TEndpointResult result) {
  log_.Write("RAW", what + " result=" + ResultText(result) + " hr=" + HresultText(endpoints_.Port().LastResult()));
}

void TProbeWindow::SimCommand(const std::string& text) {
  using Command = int(WINAPI*)(const char*);
  HMODULE simulator = GetModuleHandleA(kSimulatorDll);
  const auto command =
      simulator != nullptr
          ? reinterpret_cast<Command>(reinterpret_cast<void*>(GetProcAddress(simulator, "MmdevsimCommand")))
          : nullptr;
  if (command == nullptr) return log_.Write("SIM", "absent");
  // Stamped before the call, so that the time to the notice's SHOW includes all of it.
  log_.Write("SIM-SENT", text);
  log_.Write("SIM", command(text.c_str()) != 0 ? "ok" : "error");
}

// "remote PIPE COMMAND": the command to the simulator in another process, through its pipe.
void TProbeWindow::RemoteCommand(const std::string& arguments) {
  const auto [name, text] = Split(arguments);
  const std::string path = "\\\\.\\pipe\\" + name;
  constexpr DWORD k_wait_ms = 2000;
  if (name.empty() || !WaitNamedPipeA(path.c_str(), k_wait_ms)) return log_.Write("REMOTE", "absent");
  HANDLE pipe = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (pipe == INVALID_HANDLE_VALUE) return log_.Write("REMOTE", "absent");
  const std::string line = text + "\n";
  DWORD done = 0;
  char reply[16] = {};
  const bool ok = WriteFile(pipe, line.data(), static_cast<DWORD>(line.size()), &done, nullptr) &&
                  ReadFile(pipe, reply, sizeof reply - 1, &done, nullptr) && done > 0;
  CloseHandle(pipe);
  log_.Write("REMOTE", !ok ? "broken" : std::string(reply, done).rfind("OK", 0) == 0 ? "ok" : "error");
}

void TProbeWindow::LogModules() {
  log_.Write("MODULE", "mmdevsim=" + ModulePath(kSimulatorDll) + " mmdevapi=" + ModulePath(kWindowsEndpointDll));
}

void TProbeWindow::ShowSide(THandsetSide side, const TSideView& view) {
  log_.Write("SHOW", std::string("side=") + SideName(side) + " volume=" + std::to_string(view.volume) +
                         " mute=" + (view.mute ? "1" : "0") + " level=" + OnOff(view.level_enabled) +
                         " mute-control=" + OnOff(view.mute_enabled));
}

void TProbeWindow::HandsetDevicesChanged() { log_.Write("LOOK-AGAIN", ""); }

void TProbeWindow::OnEndpointVolume(const std::string& id, float level, bool mute, bool own) {
  log_.Write("NOTICE-VOLUME",
             "id=" + id + " level=" + LevelText(level) + " mute=" + (mute ? "1" : "0") + " own=" + (own ? "1" : "0"));
  volume_->OnEndpointVolume(id, level, mute, own);
}

void TProbeWindow::OnEndpointDevicesChanged() {
  log_.Write("NOTICE-DEVICES", "");
  volume_->OnEndpointDevicesChanged();
}

}  // namespace endpointprobe
