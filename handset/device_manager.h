#pragma once
// What the bridge needs of the handset device layer: how many handsets are open, a mode
// report to all of them, notice when that set may have changed, and their keys.
#include <cstdint>
#include <functional>

#include "handset/key_decoder.h"

// How a handset's read thread reaches the bridge. Every member is called on that thread.
struct THandsetCallbacks {
  // The bridge's handset mode and dial count at this moment.
  std::function<THandsetContext()> context;
  // The key byte of the latest input report, for the panel's key reports.
  std::function<void(std::uint8_t key)> store_last_key;
  // A key event, or the request to empty the dial buffer; may only be handed over to the
  // window thread.
  std::function<void(const THandsetKeyEvent& event)> on_event;
};

class IHandsetDeviceManager {
 public:
  using ChangeCallback = std::function<void()>;

  virtual ~IHandsetDeviceManager() = default;

  virtual int Count() const = 0;
  // Writes one mode report (mode and ring-tone byte) to every open handset, in order.
  virtual void SendMode(THandsetMode mode, std::uint8_t ring_tone) = 0;
  virtual void SetOnDeviceChange(ChangeCallback callback) = 0;
  // Gives every listed handset that has none a read thread.
  virtual void StartReadThreads(const THandsetCallbacks& callbacks) = 0;
};
