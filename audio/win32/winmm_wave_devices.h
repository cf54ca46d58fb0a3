#pragma once
// The wave devices and their mixers, from winmm.
#include "audio/wave_devices.h"

class TWinmmWaveDevices final : public IWaveDevices {
 public:
  unsigned OutCount() override;
  std::string OutName(unsigned index) override;
  unsigned InCount() override;
  std::string InName(unsigned index) override;
  std::int32_t OutMixerId(unsigned index) override;
};
