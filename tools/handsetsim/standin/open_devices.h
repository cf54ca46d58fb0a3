#pragma once
// hid.dll's preparsed data: what HidD_GetPreparsedData handed out, for which handle and
// device. It tells the device-change listener which handles a removed device had.
#include <windows.h>

#include <optional>
#include <vector>

#include "tools/handsetsim/device_config.h"

namespace handsetsim::standin {

// An opaque token for the caller: the address of an entry, valid until freed.
void* AddPreparsed(HANDLE handle, const TDeviceRecord& record);
// False when `preparsed` is not live preparsed data.
bool FreePreparsed(void* preparsed);
std::optional<TDeviceRecord> PreparsedRecord(const void* preparsed);
// The handles, each once, that live preparsed data was made for on this device.
std::vector<HANDLE> HandlesOf(int device);

}  // namespace handsetsim::standin
