#include "tools/mmdevsim/win32/simulation.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tools/mmdevsim/win32/command_pipe.h"
#include "tools/simkit/win32/standin_files.h"

namespace mmdevsim {
namespace {

constexpr char kConfigBesideDll[] = "mmdevsim.cfg";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string levelText(float level) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(level));
    return text;
}

Simulation& Simulation::instance() {
    static Simulation* simulation = [] {
        auto* made = new Simulation();
        // Only once it is whole: the pipe's thread uses it.
        made->startCommandPipe();
        return made;
    }();
    return *simulation;
}

Simulation::Simulation() : logPath_(environment("MMDEVSIM_LOG")) {
    std::string path = environment("MMDEVSIM_CONFIG");
    if (path.empty()) path = simkit::moduleFolder(reinterpret_cast<const void*>(&environment)) + kConfigBesideDll;
    std::string text;
    std::vector<std::string> errors;
    Config config;
    if (simkit::readSmallFile(path, text)) {
        config = parseConfig(text, errors);
    } else {
        config = defaultConfig();
        path = "default";
    }
    endpoints_ = config.endpoints;
    log("LOAD config=" + path + " endpoints=" + std::to_string(endpoints_.size()));
    for (const std::string& error : errors) log("ERROR config: " + error);
    // Lives as long as the process: the DLL says it cannot be unloaded.
    std::thread([this] { runNotices(); }).detach();
}

void Simulation::startCommandPipe() { serveCommandPipe(*this, environment("MMDEVSIM_PIPE")); }

int Simulation::indexOfId(const std::wstring& id) const {
    for (std::size_t i = 0; i < endpoints_.size(); ++i) {
        if (wide(endpoints_[i].id) == id) return static_cast<int>(i);
    }
    return -1;
}

void Simulation::log(const std::string& line) { simkit::appendLogLine(logPath_, line); }

void Simulation::addClient(IMMNotificationClient* client) {
    client->AddRef();
    clients_.push_back(client);
    log("REGISTER-CLIENT clients=" + std::to_string(clients_.size()));
}

bool Simulation::removeClient(IMMNotificationClient* client) {
    for (auto it = clients_.begin(); it != clients_.end(); ++it) {
        if (*it != client) continue;
        clients_.erase(it);
        client->Release();
        log("UNREGISTER-CLIENT clients=" + std::to_string(clients_.size()));
        return true;
    }
    return false;
}

void Simulation::addCallback(std::size_t endpoint, unsigned generation, IAudioEndpointVolumeCallback* callback) {
    callback->AddRef();
    callbacks_.push_back({endpoint, generation, callback});
    log("REGISTER endpoint=" + quoted(endpoints_[endpoint].name));
}

bool Simulation::removeCallback(IAudioEndpointVolumeCallback* callback) {
    for (auto it = callbacks_.begin(); it != callbacks_.end(); ++it) {
        if (it->callback != callback) continue;
        log("UNREGISTER endpoint=" + quoted(endpoints_[it->endpoint].name));
        callbacks_.erase(it);
        callback->Release();
        return true;
    }
    return false;
}

void Simulation::notifyVolume(std::size_t endpoint, const GUID& context) {
    const Endpoint& e = endpoints_[endpoint];
    std::vector<IAudioEndpointVolumeCallback*> targets;
    for (const Callback& c : callbacks_) {
        if (c.endpoint != endpoint || c.generation != e.generation) continue;
        c.callback->AddRef();
        targets.push_back(c.callback);
    }
    log("NOTIFY endpoint=" + quoted(e.name) + " level=" + levelText(e.level) + " mute=" + (e.mute ? "1" : "0") +
        " callbacks=" + std::to_string(targets.size()));
    AUDIO_VOLUME_NOTIFICATION_DATA data = {};
    data.guidEventContext = context;
    data.bMuted = e.mute ? TRUE : FALSE;
    data.fMasterVolume = e.level;
    data.nChannels = 1;
    data.afChannelVolumes[0] = e.level;
    deliver([targets, data]() mutable {
        for (IAudioEndpointVolumeCallback* callback : targets) {
            callback->OnNotify(&data);
            callback->Release();
        }
    });
}

void Simulation::notifyState(std::size_t endpoint) {
    const Endpoint& e = endpoints_[endpoint];
    std::vector<IMMNotificationClient*> targets;
    for (IMMNotificationClient* client : clients_) {
        client->AddRef();
        targets.push_back(client);
    }
    const DWORD state = e.present ? DEVICE_STATE_ACTIVE : DEVICE_STATE_UNPLUGGED;
    log("STATE endpoint=" + quoted(e.name) + " state=" + (e.present ? "active" : "unplugged") +
        " clients=" + std::to_string(targets.size()));
    deliver([targets, id = wide(e.id), state]() {
        for (IMMNotificationClient* client : targets) {
            client->OnDeviceStateChanged(id.c_str(), state);
            client->Release();
        }
    });
}

void Simulation::deliver(std::function<void()> notice) {
    {
        std::lock_guard<std::mutex> lock(noticeGuard_);
        notices_.push_back(std::move(notice));
    }
    noticeWaiting_.notify_one();
}

void Simulation::runNotices() {
    for (;;) {
        std::function<void()> notice;
        {
            std::unique_lock<std::mutex> lock(noticeGuard_);
            noticeWaiting_.wait(lock, [this] { return !notices_.empty(); });
            notice = std::move(notices_.front());
            notices_.pop_front();
        }
        notice();
    }
}

bool Simulation::command(const std::string& line) {
    std::string error;
    const std::optional<Command> parsed = parseCommand(line, error);
    std::lock_guard<std::mutex> lock(guard_);
    Endpoint* e = parsed ? findByName(endpoints_, parsed->name) : nullptr;
    if (parsed && e == nullptr) error = "no endpoint " + quoted(parsed->name);
    if (e == nullptr) {
        log("ERROR command: " + line + ": " + error);
        return false;
    }
    log("COMMAND " + line);
    const auto index = static_cast<std::size_t>(e - endpoints_.data());
    switch (parsed->kind) {
        case Command::Kind::Level:
            e->level = parsed->level;
            notifyVolume(index, GUID{});
            break;
        case Command::Kind::Mute:
            e->mute = parsed->mute;
            notifyVolume(index, GUID{});
            break;
        case Command::Kind::Unplug:
            if (!e->present) break;
            e->present = false;
            ++e->generation;
            notifyState(index);
            break;
        case Command::Kind::Plug:
            if (e->present) break;
            e->present = true;
            notifyState(index);
            break;
        case Command::Kind::Fail:
            e->levelFails = parsed->failLevel;
            e->muteFails = parsed->failMute;
            break;
    }
    return true;
}

std::string Simulation::detachLine() {
    return "DETACH live=" + std::to_string(live_) + " callbacks=" + std::to_string(callbacks_.size()) +
           " clients=" + std::to_string(clients_.size());
}

}  // namespace mmdevsim
