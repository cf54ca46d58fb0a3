#include "audio/win32/mmdevice_endpoint_port.h"

#include <audioclient.h>
#include <objbase.h>

#include "audio/win32/endpoint_guids.h"

namespace {

std::string Utf8(const wchar_t* text) {
  if (text == nullptr || *text == L'\0') return "";
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return "";
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], length, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(length - 1));
  return out;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return L"";
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 1) return L"";
  std::wstring out(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &out[0], length);
  out.resize(static_cast<std::size_t>(length - 1));
  return out;
}

std::string IdOf(IMMDevice* device) {
  LPWSTR id = nullptr;
  if (FAILED(device->GetId(&id)) || id == nullptr) return "";
  std::string out = Utf8(id);
  CoTaskMemFree(id);
  return out;
}

std::string FriendlyNameOf(IMMDevice* device) {
  TComPtr<IPropertyStore> properties;
  if (FAILED(device->OpenPropertyStore(STGM_READ, properties.Put())) || !properties) return "";
  PROPVARIANT value;
  PropVariantInit(&value);
  std::string name;
  if (SUCCEEDED(properties->GetValue(endpoint_guids::kDeviceFriendlyName, &value)) && value.vt == VT_LPWSTR) {
    name = Utf8(value.pwszVal);
  }
  PropVariantClear(&value);
  return name;
}

// ERROR_NOT_FOUND as an HRESULT: what GetDevice gives for an endpoint that has gone.
constexpr HRESULT kNotFound = static_cast<HRESULT>(0x80070490);

}  // namespace

TMMDeviceEndpointPort::TMMDeviceEndpointPort(HWND window, UINT volume_message, UINT devices_message)
    : window_(window), volume_message_(volume_message) {
  if (FAILED(CoCreateInstance(endpoint_guids::kMMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER,
                              endpoint_guids::kIMMDeviceEnumerator, enumerator_.PutVoid()))) {
    enumerator_.Reset();
    return;
  }
  // Without a window to post to there are no notices: the calls' results still tell.
  if (window == nullptr) return;
  device_client_ = new TDeviceNoticeClient(window, devices_message);
  if (FAILED(enumerator_->RegisterEndpointNotificationCallback(device_client_))) {
    // Without device notices plug and unplug are still seen through the calls' failures.
    device_client_->Release();
    device_client_ = nullptr;
  }
}

TMMDeviceEndpointPort::~TMMDeviceEndpointPort() {
  for (auto& entry : open_) CloseEndpoint(entry.second);
  open_.clear();
  if (device_client_ != nullptr) {
    enumerator_->UnregisterEndpointNotificationCallback(device_client_);
    device_client_->Detach();
    device_client_->Release();
    device_client_ = nullptr;
  }
  enumerator_.Reset();
}

std::vector<TEndpointInfo> TMMDeviceEndpointPort::ActiveEndpoints(TEndpointFlow flow) {
  std::vector<TEndpointInfo> endpoints;
  if (!enumerator_) return endpoints;
  TComPtr<IMMDeviceCollection> collection;
  const EDataFlow data_flow = flow == TEndpointFlow::Render ? eRender : eCapture;
  if (FAILED(enumerator_->EnumAudioEndpoints(data_flow, DEVICE_STATE_ACTIVE, collection.Put())) || !collection) {
    return endpoints;
  }
  UINT count = 0;
  if (FAILED(collection->GetCount(&count))) return endpoints;
  for (UINT i = 0; i < count; ++i) {
    TComPtr<IMMDevice> device;
    if (FAILED(collection->Item(i, device.Put())) || !device) continue;
    TEndpointInfo info{IdOf(device.Get()), FriendlyNameOf(device.Get())};
    if (!info.id.empty()) endpoints.push_back(std::move(info));
  }
  return endpoints;
}

TEndpointResult TMMDeviceEndpointPort::Open(const std::string& id) {
  if (open_.count(id) != 0) return TEndpointResult::Ok;
  if (!enumerator_ || id.empty() || next_token_ > kMaxNoticeToken) return TEndpointResult::Failed;
  TOpenEndpoint endpoint;
  HRESULT hr = enumerator_->GetDevice(Wide(id).c_str(), endpoint.device.Put());
  if (hr == kNotFound) return Result(AUDCLNT_E_DEVICE_INVALIDATED);
  if (FAILED(hr) || !endpoint.device) return Result(FAILED(hr) ? hr : E_POINTER);
  DWORD state = 0;
  if (FAILED(endpoint.device->GetState(&state)) || state != DEVICE_STATE_ACTIVE) {
    return Result(AUDCLNT_E_DEVICE_INVALIDATED);
  }
  hr = endpoint.device->Activate(endpoint_guids::kIAudioEndpointVolume, CLSCTX_INPROC_SERVER, nullptr,
                                 endpoint.volume.PutVoid());
  if (FAILED(hr) || !endpoint.volume) return Result(FAILED(hr) ? hr : E_POINTER);
  endpoint.token = next_token_++;
  if (window_ != nullptr) endpoint.callback = new TVolumeNoticeCallback(window_, volume_message_, endpoint.token);
  if (endpoint.callback != nullptr && FAILED(endpoint.volume->RegisterControlChangeNotify(endpoint.callback))) {
    // The endpoint still works; only changes made elsewhere go unseen.
    endpoint.callback->Release();
    endpoint.callback = nullptr;
  }
  open_.emplace(id, std::move(endpoint));
  return Result(S_OK);
}

void TMMDeviceEndpointPort::Close(const std::string& id) {
  const auto found = open_.find(id);
  if (found == open_.end()) return;
  CloseEndpoint(found->second);
  open_.erase(found);
}

void TMMDeviceEndpointPort::CloseEndpoint(TOpenEndpoint& endpoint) {
  if (endpoint.callback != nullptr) {
    endpoint.volume->UnregisterControlChangeNotify(endpoint.callback);
    endpoint.callback->Detach();
    endpoint.callback->Release();
    endpoint.callback = nullptr;
  }
  endpoint.volume.Reset();
  endpoint.device.Reset();
}

IAudioEndpointVolume* TMMDeviceEndpointPort::VolumeOf(const std::string& id) {
  const auto found = open_.find(id);
  return found == open_.end() ? nullptr : found->second.volume.Get();
}

TEndpointResult TMMDeviceEndpointPort::GetLevel(const std::string& id, float& level) {
  IAudioEndpointVolume* volume = VolumeOf(id);
  if (volume == nullptr) return Result(AUDCLNT_E_DEVICE_INVALIDATED);
  return Result(volume->GetMasterVolumeLevelScalar(&level));
}

TEndpointResult TMMDeviceEndpointPort::SetLevel(const std::string& id, float level) {
  IAudioEndpointVolume* volume = VolumeOf(id);
  if (volume == nullptr) return Result(AUDCLNT_E_DEVICE_INVALIDATED);
  return Result(volume->SetMasterVolumeLevelScalar(level, &endpoint_guids::kOwnChangeContext));
}

TEndpointResult TMMDeviceEndpointPort::GetMute(const std::string& id, bool& mute) {
  IAudioEndpointVolume* volume = VolumeOf(id);
  if (volume == nullptr) return Result(AUDCLNT_E_DEVICE_INVALIDATED);
  BOOL muted = FALSE;
  const TEndpointResult result = Result(volume->GetMute(&muted));
  if (result == TEndpointResult::Ok) mute = muted != FALSE;
  return result;
}

TEndpointResult TMMDeviceEndpointPort::SetMute(const std::string& id, bool mute) {
  IAudioEndpointVolume* volume = VolumeOf(id);
  if (volume == nullptr) return Result(AUDCLNT_E_DEVICE_INVALIDATED);
  return Result(volume->SetMute(mute ? TRUE : FALSE, &endpoint_guids::kOwnChangeContext));
}

TEndpointResult TMMDeviceEndpointPort::Result(HRESULT hr) {
  last_result_ = hr;
  if (SUCCEEDED(hr)) return TEndpointResult::Ok;
  return hr == AUDCLNT_E_DEVICE_INVALIDATED ? TEndpointResult::DeviceInvalidated : TEndpointResult::Failed;
}

bool TMMDeviceEndpointPort::DecodeVolumeNotice(WPARAM wparam, LPARAM lparam, std::string& id,
                                               TVolumeNotice& notice) const {
  notice = UnpackVolumeNotice(wparam, lparam);
  for (const auto& entry : open_) {
    if (entry.second.token == notice.token) {
      id = entry.first;
      return true;
    }
  }
  return false;
}
