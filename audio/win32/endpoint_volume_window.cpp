#include "audio/win32/endpoint_volume_window.h"

#include <string>

namespace {
constexpr char kClassName[] = "TEndpointVolumeNotify";
constexpr UINT kVolumeNotice = WM_APP + 1;
constexpr UINT kDevicesNotice = WM_APP + 2;
}  // namespace

TEndpointVolumeWindow::TEndpointVolumeWindow() {
  CreateArgs args;
  args.class_name = kClassName;
  // A message-only window: it only ever receives the posted notices.
  args.parent = HWND_MESSAGE;
  // Without its window the port still works, only without notices.
  Create(args);
  port_ = std::make_unique<TMMDeviceEndpointPort>(Handle(), kVolumeNotice, kDevicesNotice);
}

TEndpointVolumeWindow::~TEndpointVolumeWindow() {
  events_ = nullptr;
  port_.reset();
  Destroy();
}

LRESULT TEndpointVolumeWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kVolumeNotice: {
      std::string id;
      TVolumeNotice notice;
      // A notice of an endpoint let go since it was posted is dropped.
      if (events_ != nullptr && port_->DecodeVolumeNotice(wparam, lparam, id, notice)) {
        events_->OnEndpointVolume(id, notice.level, notice.mute, notice.own);
      }
      return 0;
    }
    case kDevicesNotice:
      if (events_ != nullptr) events_->OnEndpointDevicesChanged();
      return 0;
    default:
      return TWindow::HandleMessage(message, wparam, lparam);
  }
}
