#include "tools/mmdevsim/win32/com_objects.h"

#include <audioclient.h>
#include <endpointvolume.h>
#include <functiondiscoverykeys_devpkey.h>
#include <mmdeviceapi.h>
#include <objbase.h>

#include <mutex>
#include <string>
#include <vector>

#include "tools/mmdevsim/win32/simulation.h"

namespace mmdevsim {
namespace {

const IID kIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const PROPERTYKEY kFriendlyName = {{0xA45C254E, 0xDF1C, 0x4EFD, {0x80, 0x20, 0x67, 0xD1, 0x46, 0xA8, 0x50, 0xE0}}, 14};
constexpr HRESULT kNotFound = static_cast<HRESULT>(0x80070490);  // HRESULT_FROM_WIN32(ERROR_NOT_FOUND)

TSimulation& Sim() { return TSimulation::Instance(); }

std::string GuidText(const GUID* guid) {
  if (guid == nullptr) return "none";
  char text[64];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(guid->Data1), guid->Data2, guid->Data3, guid->Data4[0], guid->Data4[1],
                guid->Data4[2], guid->Data4[3], guid->Data4[4], guid->Data4[5], guid->Data4[6], guid->Data4[7]);
  return text;
}

std::string ResultText(HRESULT hr) {
  if (hr == S_OK) return "ok";
  if (hr == E_NOTIMPL) return "notimpl";
  if (hr == AUDCLNT_E_DEVICE_INVALIDATED) return "invalidated";
  return "error";
}

wchar_t* TaskCopy(const std::string& text) {
  auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  if (copy == nullptr) return nullptr;
  for (std::size_t i = 0; i < text.size(); ++i) copy[i] = static_cast<unsigned char>(text[i]);
  copy[text.size()] = L'\0';
  return copy;
}

// Reference counting and QueryInterface for IUnknown and one interface; every object counts
// itself in the simulation.
template <typename Interface>
class TComObject : public Interface {
 public:
  TComObject() { Sim().ObjectMade(); }
  virtual ~TComObject() { Sim().ObjectGone(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, kIUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
      *object = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

 private:
  volatile LONG references_ = 1;
};

template <typename T, typename Out, typename... Args>
HRESULT HandOut(Out** out, Args&&... args) {
  if (out == nullptr) return E_POINTER;
  *out = new T(std::forward<Args>(args)...);
  return S_OK;
}

class TPropertyStore final : public TComObject<IPropertyStore> {
 public:
  explicit TPropertyStore(std::size_t endpoint) : endpoint_(endpoint) {}

  HRESULT STDMETHODCALLTYPE GetCount(DWORD* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAt(DWORD index, PROPERTYKEY* key) override {
    if (key == nullptr) return E_POINTER;
    if (index != 0) return E_INVALIDARG;
    *key = kFriendlyName;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY key, PROPVARIANT* value) override {
    if (value == nullptr) return E_POINTER;
    PropVariantInit(value);
    if (!IsEqualGUID(key.fmtid, kFriendlyName.fmtid) || key.pid != kFriendlyName.pid) return S_OK;
    std::lock_guard<std::mutex> lock(Sim().Guard());
    value->pwszVal = TaskCopy(Sim().Endpoints()[endpoint_].name);
    if (value->pwszVal == nullptr) return E_OUTOFMEMORY;
    value->vt = VT_LPWSTR;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY, REFPROPVARIANT) override { return STG_E_ACCESSDENIED; }
  HRESULT STDMETHODCALLTYPE Commit() override { return STG_E_ACCESSDENIED; }

 private:
  const std::size_t endpoint_;
};

class TEndpointVolume final : public TComObject<IAudioEndpointVolume> {
 public:
  TEndpointVolume(std::size_t endpoint, unsigned generation) : endpoint_(endpoint), generation_(generation) {}

  HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback* callback) override {
    if (callback == nullptr) return E_POINTER;
    std::lock_guard<std::mutex> lock(Sim().Guard());
    if (HRESULT hr = Check(); FAILED(hr)) return hr;
    Sim().AddCallback(endpoint_, generation_, callback);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* callback) override {
    if (callback == nullptr) return E_POINTER;
    // Also after an unplug: the program must be able to let go.
    std::lock_guard<std::mutex> lock(Sim().Guard());
    return Sim().RemoveCallback(callback) ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE GetChannelCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(float level, const GUID* context) override {
    std::lock_guard<std::mutex> lock(Sim().Guard());
    TEndpoint& e = Endpoint();
    HRESULT hr = Check();
    if (SUCCEEDED(hr) && e.level_fails) hr = E_NOTIMPL;
    if (SUCCEEDED(hr) && !(level >= 0.0f && level <= 1.0f)) hr = E_INVALIDARG;
    const bool changed = SUCCEEDED(hr) && e.level != level;
    if (SUCCEEDED(hr)) e.level = level;
    Sim().Log("SET-LEVEL endpoint=" + Quoted(e.name) + " level=" + LevelText(level) + " result=" + ResultText(hr) +
              " context=" + GuidText(context));
    if (changed) Sim().NotifyVolume(endpoint_, context != nullptr ? *context : GUID{});
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(float* level) override {
    if (level == nullptr) return E_POINTER;
    std::lock_guard<std::mutex> lock(Sim().Guard());
    if (HRESULT hr = Check(); FAILED(hr)) return hr;
    if (Endpoint().level_fails) return E_NOTIMPL;
    *level = Endpoint().level;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetMute(BOOL mute, const GUID* context) override {
    std::lock_guard<std::mutex> lock(Sim().Guard());
    TEndpoint& e = Endpoint();
    HRESULT hr = Check();
    if (SUCCEEDED(hr) && e.mute_fails) hr = E_NOTIMPL;
    const bool changed = SUCCEEDED(hr) && e.mute != (mute != FALSE);
    if (SUCCEEDED(hr)) e.mute = mute != FALSE;
    Sim().Log("SET-MUTE endpoint=" + Quoted(e.name) + " mute=" + (mute ? "1" : "0") + " result=" + ResultText(hr) +
              " context=" + GuidText(context));
    if (changed) Sim().NotifyVolume(endpoint_, context != nullptr ? *context : GUID{});
    // S_FALSE, as Windows: the mute was already so.
    return SUCCEEDED(hr) && !changed ? S_FALSE : hr;
  }
  HRESULT STDMETHODCALLTYPE GetMute(BOOL* mute) override {
    if (mute == nullptr) return E_POINTER;
    std::lock_guard<std::mutex> lock(Sim().Guard());
    if (HRESULT hr = Check(); FAILED(hr)) return hr;
    if (Endpoint().mute_fails) return E_NOTIMPL;
    *mute = Endpoint().mute ? TRUE : FALSE;
    return S_OK;
  }
  // Decibels, channels and steps: the panel does not use them.
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(float, const GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(float*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT, float, const GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT, float, const GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT, float*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT, float*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT*, UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE VolumeStepUp(const GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE VolumeStepDown(const GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVolumeRange(float*, float*, float*) override { return E_NOTIMPL; }

 private:
  TEndpoint& Endpoint() { return Sim().Endpoints()[endpoint_]; }
  // Unplugged since this object was made: gone for good, as a replugged device is a new one.
  HRESULT Check() {
    const TEndpoint& e = Endpoint();
    return e.present && e.generation == generation_ ? S_OK : AUDCLNT_E_DEVICE_INVALIDATED;
  }

  const std::size_t endpoint_;
  const unsigned generation_;
};

class TDevice final : public TComObject<IMMDevice> {
 public:
  explicit TDevice(std::size_t endpoint) : endpoint_(endpoint) {}

  HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD, PROPVARIANT*, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    std::lock_guard<std::mutex> lock(Sim().Guard());
    const TEndpoint& e = Sim().Endpoints()[endpoint_];
    if (!IsEqualIID(iid, __uuidof(IAudioEndpointVolume))) {
      Sim().Log("ACTIVATE endpoint=" + Quoted(e.name) + " interface=" + GuidText(&iid) + " result=nointerface");
      return E_NOINTERFACE;
    }
    const HRESULT hr = e.present ? S_OK : AUDCLNT_E_DEVICE_INVALIDATED;
    Sim().Log("ACTIVATE endpoint=" + Quoted(e.name) + " result=" + ResultText(hr));
    if (FAILED(hr)) return hr;
    *object = static_cast<IAudioEndpointVolume*>(new TEndpointVolume(endpoint_, e.generation));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore** store) override {
    return HandOut<TPropertyStore>(store, endpoint_);
  }
  HRESULT STDMETHODCALLTYPE GetId(LPWSTR* id) override {
    if (id == nullptr) return E_POINTER;
    std::lock_guard<std::mutex> lock(Sim().Guard());
    *id = TaskCopy(Sim().Endpoints()[endpoint_].id);
    return *id != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE GetState(DWORD* state) override {
    if (state == nullptr) return E_POINTER;
    std::lock_guard<std::mutex> lock(Sim().Guard());
    *state = Sim().Endpoints()[endpoint_].present ? DEVICE_STATE_ACTIVE : DEVICE_STATE_UNPLUGGED;
    return S_OK;
  }

 private:
  const std::size_t endpoint_;
};

class TDeviceCollection final : public TComObject<IMMDeviceCollection> {
 public:
  explicit TDeviceCollection(std::vector<std::size_t> endpoints) : endpoints_(std::move(endpoints)) {}

  HRESULT STDMETHODCALLTYPE GetCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = static_cast<UINT>(endpoints_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Item(UINT index, IMMDevice** device) override {
    if (device == nullptr) return E_POINTER;
    *device = nullptr;
    if (index >= endpoints_.size()) return E_INVALIDARG;
    return HandOut<TDevice>(device, endpoints_[index]);
  }

 private:
  const std::vector<std::size_t> endpoints_;
};

bool FlowMatches(const TEndpoint& e, EDataFlow flow) {
  return flow == eAll || (flow == eRender) == (e.flow == TFlow::Render);
}

class TEnumerator final : public TComObject<IMMDeviceEnumerator> {
 public:
  HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow flow, DWORD mask, IMMDeviceCollection** out) override {
    if (out == nullptr) return E_POINTER;
    std::vector<std::size_t> chosen;
    {
      std::lock_guard<std::mutex> lock(Sim().Guard());
      const std::vector<TEndpoint>& all = Sim().Endpoints();
      for (std::size_t i = 0; i < all.size(); ++i) {
        const DWORD state = all[i].present ? DEVICE_STATE_ACTIVE : DEVICE_STATE_UNPLUGGED;
        if (FlowMatches(all[i], flow) && (state & mask) != 0) chosen.push_back(i);
      }
      Sim().Log(std::string("ENUM flow=") +
                (flow == eRender    ? "render"
                 : flow == eCapture ? "capture"
                                    : "all") +
                " count=" + std::to_string(chosen.size()));
    }
    return HandOut<TDeviceCollection>(out, std::move(chosen));
  }
  HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow flow, ERole, IMMDevice** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    std::lock_guard<std::mutex> lock(Sim().Guard());
    const std::vector<TEndpoint>& all = Sim().Endpoints();
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (flow != eAll && FlowMatches(all[i], flow) && all[i].present) return HandOut<TDevice>(out, i);
    }
    return kNotFound;
  }
  HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR id, IMMDevice** out) override {
    if (out == nullptr || id == nullptr) return E_POINTER;
    *out = nullptr;
    std::lock_guard<std::mutex> lock(Sim().Guard());
    const int index = Sim().IndexOfId(id);
    if (index < 0) return kNotFound;
    return HandOut<TDevice>(out, static_cast<std::size_t>(index));
  }
  HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* client) override {
    if (client == nullptr) return E_POINTER;
    std::lock_guard<std::mutex> lock(Sim().Guard());
    Sim().AddClient(client);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient* client) override {
    if (client == nullptr) return E_POINTER;
    std::lock_guard<std::mutex> lock(Sim().Guard());
    return Sim().RemoveClient(client) ? S_OK : E_INVALIDARG;
  }
};

class TEnumeratorFactory final : public TComObject<IClassFactory> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* enumerator = new TEnumerator();
    const HRESULT hr = enumerator->QueryInterface(iid, object);
    enumerator->Release();
    Sim().Log(std::string("CREATE enumerator result=") + (SUCCEEDED(hr) ? "ok" : "nointerface"));
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

IClassFactory* NewEnumeratorFactory() { return new TEnumeratorFactory(); }

}  // namespace mmdevsim
