#pragma once
// The endpoint port over MMDevice enumeration and IAudioEndpointVolume. Its notices (an open
// endpoint's volume, and endpoints that come, go or change state) are posted to `window`
// (none without one);
// the window turns a volume notice back into its endpoint with DecodeVolumeNotice. Needs COM
// on the calling thread for its whole life, and must go before the window: it unregisters
// every callback and releases every interface when it goes.
#include <windows.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>

#include <cstdint>
#include <map>
#include <string>

#include "audio/endpoint_port.h"
#include "audio/win32/com_ptr.h"
#include "audio/win32/endpoint_notices.h"

class TMMDeviceEndpointPort final : public IEndpointPort {
 public:
  TMMDeviceEndpointPort(HWND window, UINT volume_message, UINT devices_message);
  ~TMMDeviceEndpointPort() override;
  TMMDeviceEndpointPort(const TMMDeviceEndpointPort&) = delete;
  TMMDeviceEndpointPort& operator=(const TMMDeviceEndpointPort&) = delete;

  // False when Windows has no endpoint API (before Vista) or it would not start.
  bool Available() const { return static_cast<bool>(enumerator_); }
  // The HRESULT of the last call on an endpoint, for diagnostics.
  HRESULT LastResult() const { return last_result_; }

  std::vector<TEndpointInfo> ActiveEndpoints(TEndpointFlow flow) override;
  TEndpointResult Open(const std::string& id) override;
  void Close(const std::string& id) override;
  TEndpointResult GetLevel(const std::string& id, float& level) override;
  TEndpointResult SetLevel(const std::string& id, float level) override;
  TEndpointResult GetMute(const std::string& id, bool& mute) override;
  TEndpointResult SetMute(const std::string& id, bool mute) override;

  // The endpoint of a posted volume notice; false when it has been let go since.
  bool DecodeVolumeNotice(WPARAM wparam, LPARAM lparam, std::string& id, TVolumeNotice& notice) const;

 private:
  struct TOpenEndpoint {
    TComPtr<IMMDevice> device;
    TComPtr<IAudioEndpointVolume> volume;
    TVolumeNoticeCallback* callback = nullptr;  // one reference, while registered
    std::uint32_t token = 0;
  };

  IAudioEndpointVolume* VolumeOf(const std::string& id);
  TEndpointResult Result(HRESULT hr);
  void CloseEndpoint(TOpenEndpoint& endpoint);

  const HWND window_;
  const UINT volume_message_;
  TComPtr<IMMDeviceEnumerator> enumerator_;
  TDeviceNoticeClient* device_client_ = nullptr;  // one reference, while registered
  std::map<std::string, TOpenEndpoint> open_;
  std::uint32_t next_token_ = 1;
  HRESULT last_result_ = S_OK;
};
