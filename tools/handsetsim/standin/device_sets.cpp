#include "tools/handsetsim/standin/device_sets.h"

#include <map>
#include <memory>
#include <mutex>

namespace handsetsim::standin {
namespace {

struct DeviceSet {
    std::vector<DeviceRecord> devices;
};

// Callers hand back any handle: it is looked up, never dereferenced unchecked.
std::mutex mutex;
std::map<const void*, std::unique_ptr<DeviceSet>> live;

}  // namespace

void* createDeviceSet(std::vector<DeviceRecord> devices) {
    auto set = std::make_unique<DeviceSet>(DeviceSet{std::move(devices)});
    void* token = set.get();
    std::lock_guard<std::mutex> lock(mutex);
    live[token] = std::move(set);
    return token;
}

bool destroyDeviceSet(void* set) {
    std::lock_guard<std::mutex> lock(mutex);
    return live.erase(set) == 1;
}

bool isDeviceSet(const void* set) {
    std::lock_guard<std::mutex> lock(mutex);
    return live.count(set) == 1;
}

std::optional<DeviceRecord> deviceInSet(const void* set, std::size_t index) {
    std::lock_guard<std::mutex> lock(mutex);
    const auto it = live.find(set);
    if (it == live.end() || index >= it->second->devices.size()) return std::nullopt;
    return it->second->devices[index];
}

}  // namespace handsetsim::standin
