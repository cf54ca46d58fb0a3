#include "audio/win32/winmm_wave_devices.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>

namespace {

template <std::size_t N>
std::string NameOf(const char (&name)[N]) {
  return std::string(name, strnlen(name, N));
}

}  // namespace

unsigned TWinmmWaveDevices::OutCount() { return waveOutGetNumDevs(); }

std::string TWinmmWaveDevices::OutName(unsigned index) {
  WAVEOUTCAPSA caps = {};
  if (waveOutGetDevCapsA(index, &caps, sizeof caps) != MMSYSERR_NOERROR) return std::string();
  return NameOf(caps.szPname);
}

unsigned TWinmmWaveDevices::InCount() { return waveInGetNumDevs(); }

std::string TWinmmWaveDevices::InName(unsigned index) {
  WAVEINCAPSA caps = {};
  if (waveInGetDevCapsA(index, &caps, sizeof caps) != MMSYSERR_NOERROR) return std::string();
  return NameOf(caps.szPname);
}

std::int32_t TWinmmWaveDevices::OutMixerId(unsigned index) {
  UINT mixer_id = 0;
  // With MIXER_OBJECTF_WAVEOUT the "object" is the wave-out device's index.
  if (mixerGetID(reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(index)), &mixer_id, MIXER_OBJECTF_WAVEOUT) !=
      MMSYSERR_NOERROR) {
    return -1;
  }
  return static_cast<std::int32_t>(mixer_id);
}
