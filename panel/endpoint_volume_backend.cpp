#include "panel/endpoint_volume_backend.h"

#include <utility>

TEndpointVolumeBackend::TEndpointVolumeBackend(IEndpointPort& port, std::string pattern,
                                               std::function<void()> devices_changed)
    : endpoint_(port, *this, std::move(pattern)), devices_changed_(std::move(devices_changed)) {}

TEndpointVolumeBackend::~TEndpointVolumeBackend() { endpoint_.Release(); }

void TEndpointVolumeBackend::Refresh() { endpoint_.Release(); }

bool TEndpointVolumeBackend::Open(unsigned /*wave_out*/) {
  if (view_ == nullptr) return false;
  // The stored values go to the endpoints as they are found.
  writing_ = true;
  const TSideReading speaker = view_->Stored(THandsetSide::Speaker);
  const TSideReading mic = view_->Stored(THandsetSide::Microphone);
  const bool found = endpoint_.FindHandset({speaker.level, speaker.mute}, {mic.level, mic.mute});
  writing_ = false;
  return found;
}

void TEndpointVolumeBackend::Close() { endpoint_.Release(); }

bool TEndpointVolumeBackend::IsOpen() const { return endpoint_.Found(); }

void TEndpointVolumeBackend::Write(THandsetSide side, int level, bool mute) {
  writing_ = true;
  endpoint_.Change(side, {level, mute});
  writing_ = false;
}

bool TEndpointVolumeBackend::Read(THandsetSide side) { return Shown(side, endpoint_.Side(side)); }

void TEndpointVolumeBackend::ShowSide(THandsetSide side, const TSideView& view) {
  if (view_ == nullptr || (!writing_ && !view_->FollowsDevice())) return;
  Shown(side, view);
  // A change from elsewhere becomes the stored value, as the user's own does.
  if (!writing_) view_->StoreShown(side);
}

bool TEndpointVolumeBackend::Shown(THandsetSide side, const TSideView& view) {
  if (view_ == nullptr) return false;
  TSideReading reading;
  reading.level_usable = view.level_enabled;
  reading.level = view.volume;
  reading.mute_usable = view.mute_enabled;
  reading.mute = view.mute;
  return view_->ShowReading(side, reading);
}

void TEndpointVolumeBackend::HandsetDevicesChanged() {
  if (devices_changed_) devices_changed_();
}
