#pragma once
// The Windows audio endpoints (Vista and later) as the panel uses them: the active speaker
// and microphone endpoints with their friendly names, and each one's master volume and mute.
// audio/win32 answers with MMDevice enumeration and IAudioEndpointVolume, unit tests with a
// fake. Endpoints are named by their Windows id (IMMDevice::GetId, as UTF-8).
#include <string>
#include <vector>

enum class TEndpointFlow { Render, Capture };

// What a call on an endpoint gave. DeviceInvalidated (AUDCLNT_E_DEVICE_INVALIDATED, or an
// endpoint that is no longer active) means the endpoint is gone for good; Failed is any
// other error, E_NOTIMPL included: the endpoint is there but cannot do this.
enum class TEndpointResult { Ok, DeviceInvalidated, Failed };

struct TEndpointInfo {
  std::string id;
  std::string name;  // PKEY_Device_FriendlyName, UTF-8
};

class IEndpointPort {
 public:
  virtual ~IEndpointPort() = default;

  // The active endpoints of one flow, in Windows' enumeration order; empty when the
  // enumeration fails.
  virtual std::vector<TEndpointInfo> ActiveEndpoints(TEndpointFlow flow) = 0;

  // Takes hold of an endpoint's volume and starts its change notices (IEndpointEvents).
  virtual TEndpointResult Open(const std::string& id) = 0;
  // Stops the notices and lets go; nothing of the endpoint is used afterwards.
  virtual void Close(const std::string& id) = 0;

  // Master volume as a scalar 0.0..1.0, and mute, of an endpoint that is open.
  virtual TEndpointResult GetLevel(const std::string& id, float& level) = 0;
  virtual TEndpointResult SetLevel(const std::string& id, float level) = 0;
  virtual TEndpointResult GetMute(const std::string& id, bool& mute) = 0;
  virtual TEndpointResult SetMute(const std::string& id, bool mute) = 0;
};

// The endpoints' notices, delivered on the window thread (the Win32 side posts them there
// from Windows' own threads).
class IEndpointEvents {
 public:
  virtual ~IEndpointEvents() = default;
  // An open endpoint's volume or mute changed. `own` is true when this program made the
  // change (its event context), so the change is already shown.
  virtual void OnEndpointVolume(const std::string& id, float level, bool mute, bool own) = 0;
  // An endpoint appeared, went, changed state or became a default.
  virtual void OnEndpointDevicesChanged() = 0;
};
