#include "tools/handsetsim/standin/device_change_listener.h"

#include <windows.h>
#include <dbt.h>

#include <cstddef>
#include <cstring>
#include <mutex>
#include <vector>

#include "tools/handsetsim/standin/hid_guids.h"
#include "tools/handsetsim/standin/open_devices.h"
#include "tools/handsetsim/standin/sim_link.h"
#include "tools/handsetsim/wire.h"

namespace handsetsim::standin {
namespace {

constexpr char kManagerWindowClass[] = "THidControlWindow";
constexpr UINT kSendTimeoutMs = 5000;

std::mutex mutex;
bool running = false;

struct TStartInfo {
  HANDLE pipe;
  HMODULE module;  // the reference that keeps this DLL loaded while the thread runs
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char name[sizeof kManagerWindowClass + 1] = {};
  if (process == GetCurrentProcessId() && GetClassNameA(window, name, sizeof name) > 0 &&
      std::strcmp(name, kManagerWindowClass) == 0) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  }
  return TRUE;
}

unsigned SendToAll(const std::vector<HWND>& windows, WPARAM event, const void* broadcast) {
  unsigned delivered = 0;
  for (HWND window : windows) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(broadcast), SMTO_ABORTIFHUNG,
                            kSendTimeoutMs, &result)) {
      ++delivered;
    }
  }
  return delivered;
}

unsigned SendInterfaceChange(const std::vector<HWND>& windows, WPARAM event, const std::string& path) {
  const std::size_t size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) + path.size() + 1;
  std::vector<std::uint8_t> buffer(size);
  auto* broadcast = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(buffer.data());
  broadcast->dbcc_size = static_cast<DWORD>(size);
  broadcast->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  broadcast->dbcc_classguid = kHidInterfaceGuid;
  std::memcpy(broadcast->dbcc_name, path.c_str(), path.size() + 1);
  return SendToAll(windows, event, broadcast);
}

unsigned Deliver(const TDeviceEvent& event) {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  if (event.change == TDeviceChange::Arrival) return SendInterfaceChange(windows, DBT_DEVICEARRIVAL, event.device.path);

  unsigned delivered = 0;
  for (HANDLE handle : HandlesOf(event.device.config.number)) {
    DEV_BROADCAST_HANDLE broadcast = {};
    broadcast.dbch_size = sizeof broadcast;
    broadcast.dbch_devicetype = DBT_DEVTYP_HANDLE;
    broadcast.dbch_handle = handle;
    delivered += SendToAll(windows, DBT_DEVICEREMOVECOMPLETE, &broadcast);
  }
  return delivered + SendInterfaceChange(windows, DBT_DEVICEREMOVECOMPLETE, event.device.path);
}

// Runs until the simulator goes away (its pipe breaks), then lets go of the DLL.
DWORD WINAPI ListenForChanges(void* parameter) {
  const TStartInfo start = *static_cast<TStartInfo*>(parameter);
  delete static_cast<TStartInfo*>(parameter);
  while (const auto message = ReadMessage(start.pipe, INFINITE)) {
    const auto event = ParseDeviceEvent(*message);
    if (!event) continue;
    const unsigned delivered = Deliver(*event);
    WriteMessage(start.pipe, DeliveredNotice(event->device.config.number, event->change, delivered), kReplyTimeoutMs);
  }
  CloseHandle(start.pipe);
  {
    std::lock_guard<std::mutex> lock(mutex);
    running = false;
  }
  FreeLibraryAndExitThread(start.module, 0);
}

}  // namespace

void EnsureListening() {
  std::lock_guard<std::mutex> lock(mutex);
  if (running) return;
  // Subscribing here rather than on the thread: once this returns, the simulator knows.
  HANDLE pipe = ConnectControl();
  if (pipe == INVALID_HANDLE_VALUE) return;
  HMODULE module = nullptr;
  if (!WriteMessage(pipe, ListenRequest(GetCurrentProcessId()), kReplyTimeoutMs) ||
      !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&ListenForChanges),
                          &module)) {
    CloseHandle(pipe);
    return;
  }
  auto* start = new TStartInfo{pipe, module};
  HANDLE thread = CreateThread(nullptr, 0, ListenForChanges, start, 0, nullptr);
  if (thread == nullptr) {
    delete start;
    CloseHandle(pipe);
    FreeLibrary(module);
    return;
  }
  CloseHandle(thread);  // it ends by itself, with the simulator
  running = true;
}

}  // namespace handsetsim::standin
