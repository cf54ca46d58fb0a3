#include "tools/handsetsim/standin/open_devices.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

namespace handsetsim::standin {
namespace {

struct TPreparsed {
  HANDLE handle;
  TDeviceRecord record;
};

// Callers hand back any pointer: it is looked up, never dereferenced unchecked.
std::mutex mutex;
std::map<const void*, std::unique_ptr<TPreparsed>> live;

}  // namespace

void* AddPreparsed(HANDLE handle, const TDeviceRecord& record) {
  auto entry = std::make_unique<TPreparsed>(TPreparsed{handle, record});
  void* token = entry.get();
  std::lock_guard<std::mutex> lock(mutex);
  live[token] = std::move(entry);
  return token;
}

bool FreePreparsed(void* preparsed) {
  std::lock_guard<std::mutex> lock(mutex);
  return live.erase(preparsed) == 1;
}

std::optional<TDeviceRecord> PreparsedRecord(const void* preparsed) {
  std::lock_guard<std::mutex> lock(mutex);
  const auto it = live.find(preparsed);
  if (it == live.end()) return std::nullopt;
  return it->second->record;
}

std::vector<HANDLE> HandlesOf(int device) {
  std::vector<HANDLE> handles;
  std::lock_guard<std::mutex> lock(mutex);
  for (const auto& entry : live) {
    const TPreparsed& p = *entry.second;
    if (p.record.config.number == device && std::find(handles.begin(), handles.end(), p.handle) == handles.end()) {
      handles.push_back(p.handle);
    }
  }
  return handles;
}

}  // namespace handsetsim::standin
