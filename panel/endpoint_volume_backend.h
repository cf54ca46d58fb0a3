#pragma once
// The handset's volume over the audio endpoints (Vista and later) as the volume group's
// backend. The endpoint logic (audio/handset_endpoint_volume.h) finds the handset, writes
// and follows the endpoints; this hands its sides to the group's view, which shows them
// under FUpdating so that nothing echoes back.
#include <cstdint>
#include <functional>

#include "audio/handset_endpoint_volume.h"
#include "panel/volume_backend.h"

class TEndpointVolumeBackend final : public IVolumeBackend, private IHandsetVolumeView {
 public:
  // `devices_changed` is asked to look for the handset again (an endpoint came or went).
  TEndpointVolumeBackend(IEndpointPort& port, std::string pattern, std::function<void()> devices_changed);
  ~TEndpointVolumeBackend() override;
  TEndpointVolumeBackend(const TEndpointVolumeBackend&) = delete;
  TEndpointVolumeBackend& operator=(const TEndpointVolumeBackend&) = delete;

  // Where the endpoint notices go.
  IEndpointEvents& Events() { return endpoint_; }

  void SetView(IVolumeView* view) override { view_ = view; }
  bool ReachesDevice(std::uint8_t /*os_kind*/) const override { return true; }
  // The endpoints' notification client tells of every endpoint that goes or comes.
  bool HearsOfUnplugs() const override { return true; }
  void Refresh() override;
  // The endpoints are looked for by name, whatever the wave-out device.
  bool Open(unsigned wave_out) override;
  void Close() override;
  bool IsOpen() const override;
  void Write(THandsetSide side, int level, bool mute) override;
  bool Read(THandsetSide side) override;
  void ShowKept(THandsetSide side) override { Read(side); }

 private:
  void ShowSide(THandsetSide side, const TSideView& view) override;
  void HandsetDevicesChanged() override;
  bool Shown(THandsetSide side, const TSideView& view);

  THandsetEndpointVolume endpoint_;
  std::function<void()> devices_changed_;
  IVolumeView* view_ = nullptr;
  // While a write is under way its result is shown but stored by the group itself.
  bool writing_ = false;
};
