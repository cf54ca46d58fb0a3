#pragma once
// The Windows wave devices as the panel sees them: how many there are, their product names
// (szPname of waveOutGetDevCapsA / waveInGetDevCapsA), and the mixer of a wave-out device.
// audio/win32 answers with winmm, unit tests with lists.
#include <cstdint>
#include <string>

class IWaveDevices {
 public:
  virtual ~IWaveDevices() = default;

  virtual unsigned OutCount() = 0;
  // Empty when Windows cannot tell the name.
  virtual std::string OutName(unsigned index) = 0;
  virtual unsigned InCount() = 0;
  virtual std::string InName(unsigned index) = 0;
  // mixerGetID of wave-out device `index` (MIXER_OBJECTF_WAVEOUT); -1 when it fails.
  virtual std::int32_t OutMixerId(unsigned index) = 0;
};
