#pragma once
// The handset's endpoints as the panel window owns them: the endpoint port with the hidden
// window that receives its notices from Windows' threads and hands them, on the window
// thread, to the events sink. COM must be started on this thread before this is made and
// stopped only after it has gone.
#include <windows.h>

#include <memory>

#include "audio/endpoint_port.h"
#include "audio/win32/mmdevice_endpoint_port.h"
#include "common/win32/window.h"

class TEndpointVolumeWindow final : private TWindow {
 public:
  TEndpointVolumeWindow();
  // The port goes first: no notice is posted, and no endpoint interface is held, after it.
  ~TEndpointVolumeWindow() override;

  bool Available() const { return port_->Available(); }
  TMMDeviceEndpointPort& Port() { return *port_; }
  // Where the notices go; null drops them.
  void SetEvents(IEndpointEvents* events) { events_ = events; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  std::unique_ptr<TMMDeviceEndpointPort> port_;
  IEndpointEvents* events_ = nullptr;
};
