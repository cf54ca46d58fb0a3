#pragma once
// The probe's hidden window: it carries out the command lines on the window thread, holds
// the handset's endpoint volume over the real port, and logs what the port and the volume
// report (see tools/endpointprobe/README.md).
#include <windows.h>

#include <memory>
#include <string>

#include "audio/handset_endpoint_volume.h"
#include "audio/win32/endpoint_volume_window.h"
#include "common/win32/window.h"
#include "tools/simkit/win32/event_log.h"
#include "tools/simkit/win32/input_thread.h"

namespace endpointprobe {

constexpr UINT kInputMessage = WM_APP + 1;

class TProbeWindow final : public TWindow, public IHandsetVolumeView, public IEndpointEvents {
 public:
  TProbeWindow(simkit::TEventLog& log, simkit::TInputQueue& input, TEndpointVolumeWindow& endpoints);
  ~TProbeWindow() override;
  bool Create();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void TakeInput();
  void Run(const std::string& line);
  void List(const std::string& flow);
  void Find(const std::string& options);
  void Raw(const std::string& arguments);
  void SimCommand(const std::string& text);
  void RemoteCommand(const std::string& arguments);
  void LogModules();
  void LogResult(const std::string& what, TEndpointResult result);

  void ShowSide(THandsetSide side, const TSideView& view) override;
  void HandsetDevicesChanged() override;
  void OnEndpointVolume(const std::string& id, float level, bool mute, bool own) override;
  void OnEndpointDevicesChanged() override;

  simkit::TEventLog& log_;
  simkit::TInputQueue& input_;
  TEndpointVolumeWindow& endpoints_;
  std::unique_ptr<THandsetEndpointVolume> volume_;
};

}  // namespace endpointprobe
