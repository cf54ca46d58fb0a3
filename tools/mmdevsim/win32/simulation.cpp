#include "tools/mmdevsim/win32/simulation.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tools/mmdevsim/win32/command_pipe.h"
#include "tools/simkit/log_format.h"
#include "tools/simkit/win32/event_log.h"
#include "tools/simkit/win32/standin_files.h"

namespace mmdevsim {
namespace {

constexpr char kConfigBesideDll[] = "mmdevsim.cfg";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string LevelText(float level) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", static_cast<double>(level));
  return text;
}

TSimulation& TSimulation::Instance() {
  static TSimulation* simulation = [] {
    auto* made = new TSimulation();
    // Only once it is whole: the pipe's thread uses it.
    made->StartCommandPipe();
    return made;
  }();
  return *simulation;
}

TSimulation::TSimulation() : log_path_(Environment("MMDEVSIM_LOG")) {
  std::string path = Environment("MMDEVSIM_CONFIG");
  if (path.empty()) path = simkit::ModuleFolder(reinterpret_cast<const void*>(&Environment)) + kConfigBesideDll;
  std::string text;
  std::vector<std::string> errors;
  TConfig config;
  if (simkit::ReadSmallFile(path, text)) {
    config = ParseConfig(text, errors);
  } else {
    config = DefaultConfig();
    path = "default";
  }
  endpoints_ = config.endpoints;
  Log("LOAD config=" + path + " endpoints=" + std::to_string(endpoints_.size()));
  for (const std::string& error : errors) Log("ERROR config: " + error);
  // Lives as long as the process: the DLL says it cannot be unloaded.
  std::thread([this] { RunNotices(); }).detach();
}

void TSimulation::StartCommandPipe() { ServeCommandPipe(*this, Environment("MMDEVSIM_PIPE")); }

int TSimulation::IndexOfId(const std::wstring& id) const {
  for (std::size_t i = 0; i < endpoints_.size(); ++i) {
    if (Wide(endpoints_[i].id) == id) return static_cast<int>(i);
  }
  return -1;
}

// Stamped on the clock of the other simulators' logs, so latencies can be taken across them.
void TSimulation::Log(const std::string& line) {
  simkit::AppendLogLine(log_path_, line + " at=" + simkit::Milliseconds(simkit::CounterMicroseconds()));
}

void TSimulation::AddClient(IMMNotificationClient* client) {
  client->AddRef();
  clients_.push_back(client);
  Log("REGISTER-CLIENT clients=" + std::to_string(clients_.size()));
}

bool TSimulation::RemoveClient(IMMNotificationClient* client) {
  for (auto it = clients_.begin(); it != clients_.end(); ++it) {
    if (*it != client) continue;
    clients_.erase(it);
    client->Release();
    Log("UNREGISTER-CLIENT clients=" + std::to_string(clients_.size()));
    return true;
  }
  return false;
}

void TSimulation::AddCallback(std::size_t endpoint, unsigned generation, IAudioEndpointVolumeCallback* callback) {
  callback->AddRef();
  callbacks_.push_back({endpoint, generation, callback});
  Log("REGISTER endpoint=" + Quoted(endpoints_[endpoint].name));
}

bool TSimulation::RemoveCallback(IAudioEndpointVolumeCallback* callback) {
  for (auto it = callbacks_.begin(); it != callbacks_.end(); ++it) {
    if (it->callback != callback) continue;
    Log("UNREGISTER endpoint=" + Quoted(endpoints_[it->endpoint].name));
    callbacks_.erase(it);
    callback->Release();
    return true;
  }
  return false;
}

void TSimulation::NotifyVolume(std::size_t endpoint, const GUID& context) {
  const TEndpoint& e = endpoints_[endpoint];
  std::vector<IAudioEndpointVolumeCallback*> targets;
  for (const TCallback& c : callbacks_) {
    if (c.endpoint != endpoint || c.generation != e.generation) continue;
    c.callback->AddRef();
    targets.push_back(c.callback);
  }
  Log("NOTIFY endpoint=" + Quoted(e.name) + " level=" + LevelText(e.level) + " mute=" + (e.mute ? "1" : "0") +
      " callbacks=" + std::to_string(targets.size()));
  AUDIO_VOLUME_NOTIFICATION_DATA data = {};
  data.guidEventContext = context;
  data.bMuted = e.mute ? TRUE : FALSE;
  data.fMasterVolume = e.level;
  data.nChannels = 1;
  data.afChannelVolumes[0] = e.level;
  Deliver([targets, data]() mutable {
    for (IAudioEndpointVolumeCallback* callback : targets) {
      callback->OnNotify(&data);
      callback->Release();
    }
  });
}

void TSimulation::NotifyState(std::size_t endpoint) {
  const TEndpoint& e = endpoints_[endpoint];
  std::vector<IMMNotificationClient*> targets;
  for (IMMNotificationClient* client : clients_) {
    client->AddRef();
    targets.push_back(client);
  }
  const DWORD state = e.present ? DEVICE_STATE_ACTIVE : DEVICE_STATE_UNPLUGGED;
  Log("STATE endpoint=" + Quoted(e.name) + " state=" + (e.present ? "active" : "unplugged") +
      " clients=" + std::to_string(targets.size()));
  Deliver([targets, id = Wide(e.id), state]() {
    for (IMMNotificationClient* client : targets) {
      client->OnDeviceStateChanged(id.c_str(), state);
      client->Release();
    }
  });
}

void TSimulation::Deliver(std::function<void()> notice) {
  {
    std::lock_guard<std::mutex> lock(notice_guard_);
    notices_.push_back(std::move(notice));
  }
  notice_waiting_.notify_one();
}

void TSimulation::RunNotices() {
  for (;;) {
    std::function<void()> notice;
    {
      std::unique_lock<std::mutex> lock(notice_guard_);
      notice_waiting_.wait(lock, [this] { return !notices_.empty(); });
      notice = std::move(notices_.front());
      notices_.pop_front();
    }
    notice();
  }
}

bool TSimulation::Command(const std::string& line) {
  std::string error;
  const std::optional<TCommand> parsed = ParseCommand(line, error);
  std::lock_guard<std::mutex> lock(guard_);
  TEndpoint* e = parsed ? FindByName(endpoints_, parsed->name) : nullptr;
  if (parsed && e == nullptr) error = "no endpoint " + Quoted(parsed->name);
  if (e == nullptr) {
    Log("ERROR command: " + line + ": " + error);
    return false;
  }
  Log("COMMAND " + line);
  const auto index = static_cast<std::size_t>(e - endpoints_.data());
  switch (parsed->kind) {
    case TCommand::TKind::Level:
      e->level = parsed->level;
      NotifyVolume(index, GUID{});
      break;
    case TCommand::TKind::Mute:
      e->mute = parsed->mute;
      NotifyVolume(index, GUID{});
      break;
    case TCommand::TKind::Unplug:
      if (!e->present) break;
      e->present = false;
      ++e->generation;
      NotifyState(index);
      break;
    case TCommand::TKind::Plug:
      if (e->present) break;
      e->present = true;
      NotifyState(index);
      break;
    case TCommand::TKind::Fail:
      e->level_fails = parsed->fail_level;
      e->mute_fails = parsed->fail_mute;
      break;
  }
  return true;
}

std::string TSimulation::DetachLine() {
  return "DETACH live=" + std::to_string(live_) + " callbacks=" + std::to_string(callbacks_.size()) +
         " clients=" + std::to_string(clients_.size());
}

}  // namespace mmdevsim
