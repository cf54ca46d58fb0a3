#pragma once
// The stand-in endpoint API's state, one per process: the endpoints, the registered
// notification clients and volume callbacks, the count of live COM objects, the log, and
// the thread on which every notice is delivered (never the caller's, as on Windows).
#include <windows.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "tools/mmdevsim/sim_endpoints.h"

namespace mmdevsim {

class Simulation {
public:
    // Built at the first call into the DLL: reads the configuration then. Never destroyed,
    // so the notice thread never sees it go.
    static Simulation& instance();

    // Held by every COM method for its whole call, never while a notice is delivered.
    std::mutex& guard() { return guard_; }
    std::vector<Endpoint>& endpoints() { return endpoints_; }
    // The endpoint's index, or -1.
    int indexOfId(const std::wstring& id) const;

    void log(const std::string& line);

    // Every COM object counts itself, so the log can show that a program released all.
    void objectMade() { InterlockedIncrement(&live_); }
    void objectGone() { InterlockedDecrement(&live_); }

    // Under guard().
    void addClient(IMMNotificationClient* client);
    bool removeClient(IMMNotificationClient* client);
    void addCallback(std::size_t endpoint, unsigned generation, IAudioEndpointVolumeCallback* callback);
    bool removeCallback(IAudioEndpointVolumeCallback* callback);
    // Tells the endpoint's current callbacks its values, on the notice thread.
    void notifyVolume(std::size_t endpoint, const GUID& context);
    // Tells every client the endpoint's new state, on the notice thread.
    void notifyState(std::size_t endpoint);

    // A test's command (see README.md); false and an ERROR line when not understood.
    bool command(const std::string& line);
    // The line for the log at the end of the process.
    std::string detachLine();

private:
    struct Callback {
        std::size_t endpoint;
        unsigned generation;
        IAudioEndpointVolumeCallback* callback;  // one reference
    };

    Simulation();
    void startCommandPipe();
    void deliver(std::function<void()> notice);
    void runNotices();

    std::mutex guard_;
    std::vector<Endpoint> endpoints_;
    std::vector<IMMNotificationClient*> clients_;  // one reference each
    std::vector<Callback> callbacks_;
    volatile LONG live_ = 0;
    std::string logPath_;

    std::mutex noticeGuard_;
    std::condition_variable noticeWaiting_;
    std::deque<std::function<void()>> notices_;
};

std::string quoted(const std::string& text);
std::string levelText(float level);

}  // namespace mmdevsim
