#pragma once
// TAudioMixer's port answered by winmm's mixer functions. Mixers are opened with
// CALLBACK_WINDOW, so their change notices arrive at the given window.
#include <windows.h>

#include "audio/mixer_port.h"

class TWinmmMixerPort final : public IMixerPort {
 public:
  explicit TWinmmMixerPort(HWND notification_window) : notification_window_(notification_window) {}

  std::uint32_t GetNumDevs() override;
  std::optional<MixerHandle> Open(std::uint32_t id) override;
  void Close(MixerHandle mixer) override;
  bool GetDevCaps(std::uint32_t id, TMixerCaps& caps) override;
  bool GetLineInfo(MixerHandle mixer, TLineQuery query, TMixerLine& line) override;
  bool GetLineControls(MixerHandle mixer, std::uint32_t line_id, std::uint32_t count,
                       std::vector<TMixerControl>& controls) override;
  bool GetControlDetails(MixerHandle mixer, TControlDetails& details) override;
  bool SetControlDetails(MixerHandle mixer, const TControlDetails& details) override;

 private:
  HWND notification_window_;
};
