#pragma once
// The device layer when the HID services could not be bound: no handset is ever open, so
// mode reports go nowhere and no key ever arrives, but the bridge still serves Skype.
#include "handset/device_manager.h"

class TNoHandsetManager final : public IHandsetDeviceManager {
 public:
  int Count() const override { return 0; }
  void SendMode(THandsetMode, std::uint8_t) override {}
  void SetOnDeviceChange(ChangeCallback) override {}
  void StartReadThreads(const THandsetCallbacks&) override {}
};
