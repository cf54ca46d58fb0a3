#include "audio/win32/endpoint_notices.h"

#include <cstring>
#include <type_traits>

#include "audio/win32/endpoint_guids.h"

namespace {

constexpr std::uint32_t kMuteFlag = 0x80000000u;
constexpr std::uint32_t kOwnFlag = 0x40000000u;

}  // namespace

template <typename Interface>
HRESULT STDMETHODCALLTYPE TNoticeObject<Interface>::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  const IID& own = std::is_same<Interface, IMMNotificationClient>::value ? endpoint_guids::kIMMNotificationClient
                                                                         : endpoint_guids::kIAudioEndpointVolumeCallback;
  if (IsEqualIID(iid, endpoint_guids::kIUnknown) || IsEqualIID(iid, own)) {
    *object = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

template class TNoticeObject<IAudioEndpointVolumeCallback>;
template class TNoticeObject<IMMNotificationClient>;

void PackVolumeNotice(const TVolumeNotice& notice, WPARAM& wparam, LPARAM& lparam) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &notice.level, sizeof bits);
  wparam = (notice.token & kMaxNoticeToken) | (notice.mute ? kMuteFlag : 0) | (notice.own ? kOwnFlag : 0);
  lparam = static_cast<LPARAM>(static_cast<LONG>(bits));
}

TVolumeNotice UnpackVolumeNotice(WPARAM wparam, LPARAM lparam) {
  TVolumeNotice notice;
  const auto flags = static_cast<std::uint32_t>(wparam);
  notice.token = flags & kMaxNoticeToken;
  notice.mute = (flags & kMuteFlag) != 0;
  notice.own = (flags & kOwnFlag) != 0;
  const auto bits = static_cast<std::uint32_t>(lparam);
  std::memcpy(&notice.level, &bits, sizeof bits);
  return notice;
}

TVolumeNoticeCallback::TVolumeNoticeCallback(HWND window, UINT message, std::uint32_t token)
    : window_(window), message_(message), token_(token) {}

HRESULT STDMETHODCALLTYPE TVolumeNoticeCallback::OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA data) {
  if (data == nullptr || Detached()) return S_OK;
  TVolumeNotice notice;
  notice.token = token_;
  notice.level = data->fMasterVolume;
  notice.mute = data->bMuted != FALSE;
  notice.own = IsEqualGUID(data->guidEventContext, endpoint_guids::kOwnChangeContext) != FALSE;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
  PackVolumeNotice(notice, wparam, lparam);
  // Posted, never sent: this thread belongs to Windows' audio service.
  PostMessageA(window_, message_, wparam, lparam);
  return S_OK;
}

TDeviceNoticeClient::TDeviceNoticeClient(HWND window, UINT message) : window_(window), message_(message) {}

HRESULT TDeviceNoticeClient::Post() {
  // The enumerator must not be called from inside its own notice: the window thread looks.
  if (!Detached()) PostMessageA(window_, message_, 0, 0);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TDeviceNoticeClient::OnDeviceStateChanged(LPCWSTR, DWORD) { return Post(); }
HRESULT STDMETHODCALLTYPE TDeviceNoticeClient::OnDeviceAdded(LPCWSTR) { return Post(); }
HRESULT STDMETHODCALLTYPE TDeviceNoticeClient::OnDeviceRemoved(LPCWSTR) { return Post(); }
HRESULT STDMETHODCALLTYPE TDeviceNoticeClient::OnDefaultDeviceChanged(EDataFlow, ERole, LPCWSTR) { return Post(); }
// Names and formats change often and say nothing about presence.
HRESULT STDMETHODCALLTYPE TDeviceNoticeClient::OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) { return S_OK; }
