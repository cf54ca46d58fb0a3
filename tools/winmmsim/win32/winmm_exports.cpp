// The stand-in winmm.dll: the wave device and mixer calls the control panel makes, answered
// from the simulation. Signatures and calling convention are those of <mmsystem.h>.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "tools/winmmsim/win32/simulation.h"

using namespace winmmsim;

namespace {

constexpr WORD kManufacturer = 0xFFFF;  // MM_UNMAPPED
constexpr MMVERSION kDriverVersion = 0x0100;
constexpr DWORD kWaveMapper = 0xFFFFFFFF;  // WAVE_MAPPER as a device id
// The MIXER_OBJECTF_* values all lie in the top four bits, the handle bit included.
constexpr DWORD kObjectTypeMask = 0xF0000000;

template <std::size_t N>
void CopyName(char (&to)[N], const std::string& from) {
  const std::size_t length = std::min(from.size(), N - 1);
  std::memcpy(to, from.data(), length);
  to[length] = '\0';
}

// Copies what fits of `record` into the caller's structure of `size` bytes.
template <class Record>
void CopyOut(void* to, UINT size, const Record& record) {
  std::memcpy(to, &record, std::min<std::size_t>(size, sizeof record));
}

// The mixer an object names: a mixer id or an open handle (winmm accepts both when no
// object type is given), a handle, or a wave device's index.
int ResolveMixer(TSimulation& sim, HMIXEROBJ object, DWORD flags) {
  const auto value = reinterpret_cast<UINT_PTR>(object);
  const auto wave = [&](const std::vector<TWaveDevice>& devices) {
    return value < devices.size() ? devices[value].mixer : kNoMixer;
  };
  switch (flags & kObjectTypeMask) {
    case MIXER_OBJECTF_MIXER: {
      const int by_handle = sim.MixerOfHandle(reinterpret_cast<HMIXER>(object));
      if (by_handle >= 0) return by_handle;
      return value < static_cast<UINT_PTR>(sim.MixerCount()) ? static_cast<int>(value) : kNoMixer;
    }
    case MIXER_OBJECTF_HMIXER:
      return sim.MixerOfHandle(reinterpret_cast<HMIXER>(object));
    case MIXER_OBJECTF_WAVEOUT:
      return wave(sim.Config().outs);
    case MIXER_OBJECTF_WAVEIN:
      return wave(sim.Config().ins);
    default:
      return kNoMixer;
  }
}

// The first wave device of the kind that belongs to the mixer, for a line's target.
void FillTarget(TSimulation& sim, int mixer, bool recording, MIXERLINEA& line) {
  const std::vector<TWaveDevice>& devices = recording ? sim.Config().ins : sim.Config().outs;
  line.Target.dwType = recording ? MIXERLINE_TARGETTYPE_WAVEIN : MIXERLINE_TARGETTYPE_WAVEOUT;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (devices[i].mixer != mixer) continue;
    line.Target.dwDeviceID = static_cast<DWORD>(i);
    line.Target.wMid = kManufacturer;
    line.Target.vDriverVersion = kDriverVersion;
    CopyName(line.Target.szPname, devices[i].name);
    return;
  }
}

MIXERLINEA LineRecord(TSimulation& sim, int mixer, const TSimLine& line) {
  MIXERLINEA record = {};
  record.cbStruct = sizeof record;
  record.dwDestination = line.destination;
  record.dwSource = line.source < 0 ? 0 : static_cast<DWORD>(line.source);
  record.dwLineID = line.line_id;
  record.fdwLine = MIXERLINE_LINEF_ACTIVE | (line.source < 0 ? 0 : MIXERLINE_LINEF_SOURCE);
  record.dwComponentType = line.component_type;
  record.cChannels = line.channels;
  record.cConnections = static_cast<DWORD>(line.sources.size());
  record.cControls = static_cast<DWORD>(line.controls.size());
  CopyName(record.szShortName, line.name);
  CopyName(record.szName, line.name);
  FillTarget(sim, mixer, line.destination == 1, record);
  return record;
}

MIXERCONTROLA ControlRecord(const TSimControl& control) {
  MIXERCONTROLA record = {};
  record.cbStruct = sizeof record;
  record.dwControlID = control.id;
  record.dwControlType = control.type;
  record.fdwControl = control.flags;
  record.cMultipleItems = control.items;
  CopyName(record.szShortName, control.name);
  CopyName(record.szName, control.name);
  const bool level = control.type == kTypeVolume;
  record.Bounds.dwMinimum = 0;
  record.Bounds.dwMaximum = level ? 0xFFFF : 1;
  record.Metrics.cSteps = level ? 0xFFFF : 0;
  return record;
}

TSimLine* LineAt(TSimMixer& mixer, DWORD destination, int source) {
  if (destination >= mixer.destinations.size()) return nullptr;
  TSimLine& line = mixer.destinations[destination];
  if (source < 0) return &line;
  return static_cast<std::size_t>(source) < line.sources.size() ? &line.sources[static_cast<std::size_t>(source)]
                                                                : nullptr;
}

// The control a details request names, checked against its line; an MMRESULT otherwise.
MMRESULT FindRequested(TSimulation& sim, HMIXEROBJ object, const MIXERCONTROLDETAILS* details, DWORD flags, int& mixer,
                       TControlRef& found) {
  if (details == nullptr || details->cbStruct < sizeof(MIXERCONTROLDETAILS) || details->paDetails == nullptr) {
    return MMSYSERR_INVALPARAM;
  }
  mixer = ResolveMixer(sim, object, flags);
  TSimMixer* simulated = sim.Mixer(mixer);
  if (simulated == nullptr) return MMSYSERR_INVALHANDLE;
  found = FindControl(*simulated, details->dwControlID);
  if (found.control == nullptr) return MIXERR_INVALCONTROL;
  if (details->cbDetails != sizeof(MIXERCONTROLDETAILS_UNSIGNED) ||
      !ValidRequest(*found.line, *found.control, details->cChannels, details->cMultipleItems)) {
    return MMSYSERR_INVALPARAM;
  }
  return MMSYSERR_NOERROR;
}

std::size_t RequestedValues(const MIXERCONTROLDETAILS& details) {
  return static_cast<std::size_t>(details.cChannels) * std::max<DWORD>(details.cMultipleItems, 1);
}

MMRESULT waveCaps(const std::vector<TWaveDevice>& devices, UINT_PTR id, std::string& name, WORD& product) {
  if (id == kWaveMapper || id == static_cast<UINT_PTR>(-1)) {
    name = "Microsoft Sound Mapper";
    product = 0;
    return MMSYSERR_NOERROR;
  }
  if (id >= devices.size()) return MMSYSERR_BADDEVICEID;
  name = devices[id].name;
  product = static_cast<WORD>(0x0100 + id);
  return MMSYSERR_NOERROR;
}

}  // namespace

UINT WINAPI waveOutGetNumDevs(void) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  return static_cast<UINT>(sim.Config().outs.size());
}

MMRESULT WINAPI waveOutGetDevCapsA(UINT_PTR device_id, LPWAVEOUTCAPSA pwoc, UINT cbwoc) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  if (pwoc == nullptr) return MMSYSERR_INVALPARAM;
  std::string name;
  WAVEOUTCAPSA caps = {};
  const MMRESULT result = waveCaps(sim.Config().outs, device_id, name, caps.wPid);
  if (result != MMSYSERR_NOERROR) return result;
  caps.wMid = kManufacturer;
  caps.vDriverVersion = kDriverVersion;
  CopyName(caps.szPname, name);
  caps.dwFormats = WAVE_FORMAT_1M16 | WAVE_FORMAT_1S16 | WAVE_FORMAT_4M16 | WAVE_FORMAT_4S16;
  caps.wChannels = 2;
  caps.dwSupport = WAVECAPS_VOLUME | WAVECAPS_LRVOLUME;
  CopyOut(pwoc, cbwoc, caps);
  return MMSYSERR_NOERROR;
}

UINT WINAPI waveInGetNumDevs(void) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  return static_cast<UINT>(sim.Config().ins.size());
}

MMRESULT WINAPI waveInGetDevCapsA(UINT_PTR device_id, LPWAVEINCAPSA pwic, UINT cbwic) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  if (pwic == nullptr) return MMSYSERR_INVALPARAM;
  std::string name;
  WAVEINCAPSA caps = {};
  const MMRESULT result = waveCaps(sim.Config().ins, device_id, name, caps.wPid);
  if (result != MMSYSERR_NOERROR) return result;
  caps.wMid = kManufacturer;
  caps.vDriverVersion = kDriverVersion;
  CopyName(caps.szPname, name);
  caps.dwFormats = WAVE_FORMAT_1M16 | WAVE_FORMAT_4M16;
  caps.wChannels = 1;
  CopyOut(pwic, cbwic, caps);
  return MMSYSERR_NOERROR;
}

UINT WINAPI mixerGetNumDevs(void) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  return static_cast<UINT>(sim.MixerCount());
}

MMRESULT WINAPI mixerGetDevCapsA(UINT_PTR mixer_id, LPMIXERCAPSA pmxcaps, UINT cbmxcaps) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  if (pmxcaps == nullptr) return MMSYSERR_INVALPARAM;
  TSimMixer* mixer = sim.Mixer(ResolveMixer(sim, reinterpret_cast<HMIXEROBJ>(mixer_id), MIXER_OBJECTF_MIXER));
  if (mixer == nullptr) return MMSYSERR_BADDEVICEID;
  MIXERCAPSA caps = {};
  caps.wMid = kManufacturer;
  caps.wPid = static_cast<WORD>(0x0200 + mixer->id);
  caps.vDriverVersion = kDriverVersion;
  CopyName(caps.szPname, mixer->name);
  caps.cDestinations = static_cast<DWORD>(mixer->destinations.size());
  CopyOut(pmxcaps, cbmxcaps, caps);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerOpen(LPHMIXER phmx, UINT mixer_id, DWORD_PTR dw_callback, DWORD_PTR /*dwInstance*/,
                          DWORD fdw_open) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  if (phmx == nullptr) return MMSYSERR_INVALPARAM;
  *phmx = nullptr;
  HWND window = nullptr;
  switch (fdw_open & CALLBACK_TYPEMASK) {
    case CALLBACK_NULL:
      break;
    case CALLBACK_WINDOW:
      window = reinterpret_cast<HWND>(dw_callback);
      if (window != nullptr && !IsWindow(window)) return MMSYSERR_INVALPARAM;
      break;
    default:
      return MMSYSERR_INVALFLAG;
  }
  const int id =
      ResolveMixer(sim, reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(mixer_id)), fdw_open & kObjectTypeMask);
  TSimMixer* mixer = sim.Mixer(id);
  if (mixer == nullptr) return MMSYSERR_BADDEVICEID;
  if (mixer->open_fails) {
    sim.Log("OPENFAIL mixer=" + std::to_string(id));
    return MMSYSERR_NODRIVER;
  }
  *phmx = sim.Open(id, window);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerClose(HMIXER hmx) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  return sim.Close(hmx) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT WINAPI mixerGetID(HMIXEROBJ hmxobj, UINT* pu_mx_id, DWORD fdw_id) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  if (pu_mx_id == nullptr) return MMSYSERR_INVALPARAM;
  const int id = ResolveMixer(sim, hmxobj, fdw_id);
  *pu_mx_id = static_cast<UINT>(id);
  return id >= 0 ? MMSYSERR_NOERROR : MMSYSERR_NODRIVER;
}

MMRESULT WINAPI mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdw_info) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  if (pmxl == nullptr || pmxl->cbStruct < sizeof(MIXERLINEA)) return MMSYSERR_INVALPARAM;
  const int id = ResolveMixer(sim, hmxobj, fdw_info);
  TSimMixer* mixer = sim.Mixer(id);
  if (mixer == nullptr) return MMSYSERR_INVALHANDLE;
  TSimLine* line = nullptr;
  switch (fdw_info & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_DESTINATION:
      line = LineAt(*mixer, pmxl->dwDestination, -1);
      break;
    case MIXER_GETLINEINFOF_SOURCE:
      line = LineAt(*mixer, pmxl->dwDestination, static_cast<int>(std::min<DWORD>(pmxl->dwSource, INT_MAX)));
      break;
    case MIXER_GETLINEINFOF_LINEID:
      line = FindLine(*mixer, pmxl->dwLineID);
      break;
    default:
      return MMSYSERR_NOTSUPPORTED;
  }
  if (line == nullptr) return MIXERR_INVALLINE;
  *pmxl = LineRecord(sim, id, *line);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdw_controls) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  if (pmxlc == nullptr || pmxlc->cbStruct < sizeof(MIXERLINECONTROLSA) || pmxlc->cbmxctrl < sizeof(MIXERCONTROLA) ||
      pmxlc->pamxctrl == nullptr) {
    return MMSYSERR_INVALPARAM;
  }
  TSimMixer* mixer = sim.Mixer(ResolveMixer(sim, hmxobj, fdw_controls));
  if (mixer == nullptr) return MMSYSERR_INVALHANDLE;
  auto* out = reinterpret_cast<BYTE*>(pmxlc->pamxctrl);
  switch (fdw_controls & MIXER_GETLINECONTROLSF_QUERYMASK) {
    case MIXER_GETLINECONTROLSF_ALL: {
      const TSimLine* line = FindLine(*mixer, pmxlc->dwLineID);
      if (line == nullptr) return MIXERR_INVALLINE;
      if (pmxlc->cControls != line->controls.size() || line->controls.empty()) return MMSYSERR_INVALPARAM;
      for (std::size_t i = 0; i < line->controls.size(); ++i) {
        const MIXERCONTROLA record = ControlRecord(line->controls[i]);
        std::memcpy(out + i * pmxlc->cbmxctrl, &record, sizeof record);
      }
      return MMSYSERR_NOERROR;
    }
    case MIXER_GETLINECONTROLSF_ONEBYID: {
      const TControlRef found = FindControl(*mixer, pmxlc->dwControlID);
      if (found.control == nullptr) return MIXERR_INVALCONTROL;
      pmxlc->dwLineID = found.line->line_id;
      const MIXERCONTROLA record = ControlRecord(*found.control);
      std::memcpy(out, &record, sizeof record);
      return MMSYSERR_NOERROR;
    }
    case MIXER_GETLINECONTROLSF_ONEBYTYPE: {
      const TSimLine* line = FindLine(*mixer, pmxlc->dwLineID);
      if (line == nullptr) return MIXERR_INVALLINE;
      for (const TSimControl& control : line->controls) {
        if (control.type != pmxlc->dwControlType) continue;
        const MIXERCONTROLA record = ControlRecord(control);
        std::memcpy(out, &record, sizeof record);
        return MMSYSERR_NOERROR;
      }
      return MIXERR_INVALCONTROL;
    }
    default:
      return MMSYSERR_NOTSUPPORTED;
  }
}

MMRESULT WINAPI mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdw_details) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  if ((fdw_details & MIXER_GETCONTROLDETAILSF_QUERYMASK) != MIXER_GETCONTROLDETAILSF_VALUE) {
    return MMSYSERR_NOTSUPPORTED;
  }
  int mixer = kNoMixer;
  TControlRef found;
  const MMRESULT result = FindRequested(sim, hmxobj, pmxcd, fdw_details, mixer, found);
  if (result != MMSYSERR_NOERROR) return result;
  const std::vector<std::uint32_t> values = ReadValues(*found.control, pmxcd->cChannels);
  std::memcpy(pmxcd->paDetails, values.data(), std::min(values.size(), RequestedValues(*pmxcd)) * sizeof(DWORD));
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdw_details) {
  TSimulation& sim = TSimulation::Instance();
  std::lock_guard<std::mutex> lock(sim.Guard());
  if ((fdw_details & MIXER_SETCONTROLDETAILSF_QUERYMASK) != MIXER_SETCONTROLDETAILSF_VALUE) {
    return MMSYSERR_NOTSUPPORTED;
  }
  int mixer = kNoMixer;
  TControlRef found;
  const MMRESULT result = FindRequested(sim, hmxobj, pmxcd, fdw_details, mixer, found);
  if (result != MMSYSERR_NOERROR) return result;
  const auto* given = static_cast<const std::uint32_t*>(pmxcd->paDetails);
  const std::vector<std::uint32_t> values(given, given + RequestedValues(*pmxcd));
  const bool changed = WriteValues(*found.control, pmxcd->cChannels, values);
  sim.ControlSet(mixer, *found.line, *found.control, changed);
  return MMSYSERR_NOERROR;
}
