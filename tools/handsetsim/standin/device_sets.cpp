#include "tools/handsetsim/standin/device_sets.h"

#include <map>
#include <memory>
#include <mutex>

namespace handsetsim::standin {
namespace {

struct TDeviceSet {
  std::vector<TDeviceRecord> devices;
};

// Callers hand back any handle: it is looked up, never dereferenced unchecked.
std::mutex mutex;
std::map<const void*, std::unique_ptr<TDeviceSet>> live;

}  // namespace

void* CreateDeviceSet(std::vector<TDeviceRecord> devices) {
  auto set = std::make_unique<TDeviceSet>(TDeviceSet{std::move(devices)});
  void* token = set.get();
  std::lock_guard<std::mutex> lock(mutex);
  live[token] = std::move(set);
  return token;
}

bool DestroyDeviceSet(void* set) {
  std::lock_guard<std::mutex> lock(mutex);
  return live.erase(set) == 1;
}

bool IsDeviceSet(const void* set) {
  std::lock_guard<std::mutex> lock(mutex);
  return live.count(set) == 1;
}

std::optional<TDeviceRecord> DeviceInSet(const void* set, std::size_t index) {
  std::lock_guard<std::mutex> lock(mutex);
  const auto it = live.find(set);
  if (it == live.end() || index >= it->second->devices.size()) return std::nullopt;
  return it->second->devices[index];
}

}  // namespace handsetsim::standin
