#pragma once
// SetupApi.dll's device information sets: the simulated devices plugged in when the set was
// made, as the caller will enumerate them.
#include <optional>
#include <vector>

#include "tools/handsetsim/device_config.h"

namespace handsetsim::standin {

// An opaque token for the caller, valid until destroyed.
void* CreateDeviceSet(std::vector<TDeviceRecord> devices);
bool DestroyDeviceSet(void* set);
bool IsDeviceSet(const void* set);
std::optional<TDeviceRecord> DeviceInSet(const void* set, std::size_t index);

}  // namespace handsetsim::standin
