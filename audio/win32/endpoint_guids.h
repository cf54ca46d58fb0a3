#pragma once
// The class, interface and property ids of the audio endpoint API, defined here: the import
// libraries of every toolchain need not carry them, and none of them binds anything.
#include <windows.h>
#include <wtypes.h>

namespace endpoint_guids {

extern const CLSID kMMDeviceEnumerator;           // CLSID_MMDeviceEnumerator
extern const IID kIMMDeviceEnumerator;            // IID_IMMDeviceEnumerator
extern const IID kIMMNotificationClient;          // IID_IMMNotificationClient
extern const IID kIAudioEndpointVolume;           // IID_IAudioEndpointVolume
extern const IID kIAudioEndpointVolumeCallback;   // IID_IAudioEndpointVolumeCallback
extern const IID kIUnknown;                       // IID_IUnknown
extern const PROPERTYKEY kDeviceFriendlyName;     // PKEY_Device_FriendlyName
// The event context this program passes with its own changes, so that their notices can be
// told from changes made elsewhere.
extern const GUID kOwnChangeContext;

}  // namespace endpoint_guids
