#pragma once
// The two callback objects through which Windows reports endpoint changes, on threads of its
// own. Each does one thing only: post a message to the window that owns the endpoints; the
// window thread does the rest. A detached callback posts nothing more (its registration may
// still deliver a call that was under way when it was unregistered).
#include <windows.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>

#include <cstdint>

// A volume notice as posted: wParam = the endpoint's token, mute and own-change flags;
// lParam = the master volume scalar's bits.
struct TVolumeNotice {
  std::uint32_t token = 0;
  float level = 0.0f;
  bool mute = false;
  bool own = false;
};
// Tokens stay below this, so the flags fit beside them in a 32-bit wParam.
constexpr std::uint32_t kMaxNoticeToken = 0x3FFFFFFF;
void PackVolumeNotice(const TVolumeNotice& notice, WPARAM& wparam, LPARAM& lparam);
TVolumeNotice UnpackVolumeNotice(WPARAM wparam, LPARAM lparam);

// What both callbacks are: one COM interface (and IUnknown), counted references starting at
// one, and the detached flag.
template <typename Interface>
class TNoticeObject : public Interface {
 public:
  void Detach() { InterlockedExchange(&detached_, 1); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~TNoticeObject() = default;
  bool Detached() { return InterlockedCompareExchange(&detached_, 0, 0) != 0; }

 private:
  volatile LONG references_ = 1;
  volatile LONG detached_ = 0;
};

class TVolumeNoticeCallback final : public TNoticeObject<IAudioEndpointVolumeCallback> {
 public:
  TVolumeNoticeCallback(HWND window, UINT message, std::uint32_t token);
  HRESULT STDMETHODCALLTYPE OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA data) override;

 private:
  const HWND window_;
  const UINT message_;
  const std::uint32_t token_;
};

class TDeviceNoticeClient final : public TNoticeObject<IMMNotificationClient> {
 public:
  TDeviceNoticeClient(HWND window, UINT message);
  HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR device_id, DWORD new_state) override;
  HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR device_id) override;
  HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR device_id) override;
  HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR device_id) override;
  HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR device_id, const PROPERTYKEY key) override;

 private:
  HRESULT Post();
  const HWND window_;
  const UINT message_;
};
