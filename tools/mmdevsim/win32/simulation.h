#pragma once
// The stand-in endpoint API's state, one per process: the endpoints, the registered
// notification clients and volume callbacks, the count of live COM objects, the log, and
// the thread on which every notice is delivered (never the caller's, as on Windows).
#include <windows.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "tools/mmdevsim/sim_endpoints.h"

namespace mmdevsim {

class TSimulation {
 public:
  // Built at the first call into the DLL: reads the configuration then. Never destroyed,
  // so the notice thread never sees it go.
  static TSimulation& Instance();

  // Held by every COM method for its whole call, never while a notice is delivered.
  std::mutex& Guard() { return guard_; }
  std::vector<TEndpoint>& Endpoints() { return endpoints_; }
  // The endpoint's index, or -1.
  int IndexOfId(const std::wstring& id) const;

  void Log(const std::string& line);

  // Every COM object counts itself, so the log can show that a program released all.
  void ObjectMade() { InterlockedIncrement(&live_); }
  void ObjectGone() { InterlockedDecrement(&live_); }

  // Under guard().
  void AddClient(IMMNotificationClient* client);
  bool RemoveClient(IMMNotificationClient* client);
  void AddCallback(std::size_t endpoint, unsigned generation, IAudioEndpointVolumeCallback* callback);
  bool RemoveCallback(IAudioEndpointVolumeCallback* callback);
  // Tells the endpoint's current callbacks its values, on the notice thread.
  void NotifyVolume(std::size_t endpoint, const GUID& context);
  // Tells every client the endpoint's new state, on the notice thread.
  void NotifyState(std::size_t endpoint);

  // A test's command (see README.md); false and an ERROR line when not understood.
  bool Command(const std::string& line);
  // The line for the log at the end of the process.
  std::string DetachLine();

 private:
  struct TCallback {
    std::size_t endpoint;
    unsigned generation;
    IAudioEndpointVolumeCallback* callback;  // one reference
  };

  TSimulation();
  void StartCommandPipe();
  void Deliver(std::function<void()> notice);
  void RunNotices();

  std::mutex guard_;
  std::vector<TEndpoint> endpoints_;
  std::vector<IMMNotificationClient*> clients_;  // one reference each
  std::vector<TCallback> callbacks_;
  volatile LONG live_ = 0;
  std::string log_path_;

  std::mutex notice_guard_;
  std::condition_variable notice_waiting_;
  std::deque<std::function<void()>> notices_;
};

std::string Quoted(const std::string& text);
std::string LevelText(float level);

}  // namespace mmdevsim
