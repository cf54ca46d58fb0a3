#pragma once
// What the bridge needs of the handset device layer: how many handsets are open, a mode
// report to all of them, and notice when that set may have changed.
#include <cstdint>
#include <functional>

class IHandsetDeviceManager {
 public:
  using ChangeCallback = std::function<void()>;
  // Runs on a handset read thread: it may only hand the key over to the window thread.
  using KeyCallback = std::function<void(std::uint8_t key)>;

  virtual ~IHandsetDeviceManager() = default;

  virtual int Count() const = 0;
  // Writes one mode report (mode and ring-tone byte) to every open handset, in order.
  virtual void SendMode(std::uint8_t mode, std::uint8_t ring_tone) = 0;
  virtual void SetOnDeviceChange(ChangeCallback callback) = 0;
  // Gives every open handset that has none a read thread reporting its keys to `on_key`.
  virtual void StartReadThreads(KeyCallback on_key) = 0;
};
