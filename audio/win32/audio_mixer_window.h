#pragma once
// AudioMixerUsb as the panel window owns it: TAudioMixer over winmm, with the hidden window
// that receives the open mixer's change notices and raises OnCtrlChange / OnLineChange.
#include <windows.h>

#include <memory>

#include "audio/audio_mixer.h"
#include "audio/win32/winmm_mixer_port.h"
#include "common/win32/window.h"

class TAudioMixerWindow final : private TWindow {
 public:
  // Creates the window, then the mixer (which counts the mixers and opens mixer 0).
  TAudioMixerWindow();
  ~TAudioMixerWindow() override;

  TAudioMixer& Mixer() { return *mixer_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  std::unique_ptr<TWinmmMixerPort> port_;
  std::unique_ptr<TAudioMixer> mixer_;
};
