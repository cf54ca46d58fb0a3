#pragma once
// Which simulated device a handle the bridge opened belongs to.
#include <windows.h>

#include <optional>

#include "tools/handsetsim/device_config.h"

namespace handsetsim::standin {

// Writes a query token on the handle itself, then asks the simulator, over the control pipe,
// which device the token came in on. Never reads from the handle. nullopt for a handle that
// is not a simulated device's, or when the simulator does not answer.
std::optional<TDeviceRecord> IdentifyHandle(HANDLE handle);

}  // namespace handsetsim::standin
