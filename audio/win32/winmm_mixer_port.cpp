#include "audio/win32/winmm_mixer_port.h"

#include <mmsystem.h>

#include <cstring>

using namespace mixer_api;

static_assert(kControlTypeVolume == MIXERCONTROL_CONTROLTYPE_VOLUME);
static_assert(kControlTypeMute == MIXERCONTROL_CONTROLTYPE_MUTE);
static_assert(kControlTypeMixer == MIXERCONTROL_CONTROLTYPE_MIXER);
static_assert(kControlTypeMux == MIXERCONTROL_CONTROLTYPE_MUX);
static_assert(kControlUniform == MIXERCONTROL_CONTROLF_UNIFORM);
static_assert(kControlMultiple == MIXERCONTROL_CONTROLF_MULTIPLE);
static_assert(kControlDisabled == MIXERCONTROL_CONTROLF_DISABLED);
static_assert(kLineChange == MM_MIXM_LINE_CHANGE);
static_assert(kControlChange == MM_MIXM_CONTROL_CHANGE);

namespace {

// The driver's count sizes the array: a count no real line has is taken as a failure.
constexpr std::uint32_t kMaxLineControls = 1024;

// The open mixer's handle, passed with no MIXER_OBJECTF_* bit: winmm accepts a handle there.
HMIXEROBJ Object(MixerHandle mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }

TMixerLine LineFrom(const MIXERLINEA& line) {
  TMixerLine out;
  out.dwDestination = line.dwDestination;
  out.dwSource = line.dwSource;
  out.dwLineID = line.dwLineID;
  out.fdwLine = line.fdwLine;
  out.dwComponentType = line.dwComponentType;
  out.cChannels = line.cChannels;
  out.cConnections = line.cConnections;
  out.cControls = line.cControls;
  out.szName.assign(line.szName, strnlen(line.szName, sizeof line.szName));
  return out;
}

TMixerControl ControlFrom(const MIXERCONTROLA& control) {
  TMixerControl out;
  out.dwControlID = control.dwControlID;
  out.dwControlType = control.dwControlType;
  out.fdwControl = control.fdwControl;
  out.cMultipleItems = control.cMultipleItems;
  out.szName.assign(control.szName, strnlen(control.szName, sizeof control.szName));
  return out;
}

MIXERCONTROLDETAILS DetailsFor(const TControlDetails& details, const std::uint32_t* values) {
  MIXERCONTROLDETAILS out = {};
  out.cbStruct = sizeof out;
  out.dwControlID = details.dwControlID;
  out.cChannels = details.cChannels;
  out.cMultipleItems = details.cMultipleItems;
  out.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
  out.paDetails = const_cast<std::uint32_t*>(values);
  return out;
}

}  // namespace

std::uint32_t TWinmmMixerPort::GetNumDevs() { return mixerGetNumDevs(); }

std::optional<MixerHandle> TWinmmMixerPort::Open(std::uint32_t id) {
  HMIXER mixer = nullptr;
  if (mixerOpen(&mixer, id, reinterpret_cast<DWORD_PTR>(notification_window_), 0, CALLBACK_WINDOW) !=
      MMSYSERR_NOERROR) {
    return std::nullopt;
  }
  return reinterpret_cast<MixerHandle>(mixer);
}

void TWinmmMixerPort::Close(MixerHandle mixer) { mixerClose(reinterpret_cast<HMIXER>(mixer)); }

bool TWinmmMixerPort::GetDevCaps(std::uint32_t id, TMixerCaps& caps) {
  MIXERCAPSA windows_caps = {};
  if (mixerGetDevCapsA(id, &windows_caps, sizeof windows_caps) != MMSYSERR_NOERROR) return false;
  caps.cDestinations = windows_caps.cDestinations;
  caps.szPname.assign(windows_caps.szPname, strnlen(windows_caps.szPname, sizeof windows_caps.szPname));
  return true;
}

bool TWinmmMixerPort::GetLineInfo(MixerHandle mixer, TLineQuery query, TMixerLine& line) {
  MIXERLINEA windows_line = {};
  windows_line.cbStruct = sizeof windows_line;
  windows_line.dwDestination = line.dwDestination;
  windows_line.dwSource = line.dwSource;
  const DWORD flags = query == TLineQuery::Destination ? MIXER_GETLINEINFOF_DESTINATION : MIXER_GETLINEINFOF_SOURCE;
  if (mixerGetLineInfoA(Object(mixer), &windows_line, flags) != MMSYSERR_NOERROR) return false;
  line = LineFrom(windows_line);
  return true;
}

bool TWinmmMixerPort::GetLineControls(MixerHandle mixer, std::uint32_t line_id, std::uint32_t count,
                                      std::vector<TMixerControl>& controls) {
  if (count > kMaxLineControls) return false;
  std::vector<MIXERCONTROLA> records(count);
  MIXERLINECONTROLSA request = {};
  request.cbStruct = sizeof request;
  request.dwLineID = line_id;
  request.cControls = count;
  request.cbmxctrl = sizeof(MIXERCONTROLA);
  request.pamxctrl = records.data();
  if (mixerGetLineControlsA(Object(mixer), &request, MIXER_GETLINECONTROLSF_ALL) != MMSYSERR_NOERROR) {
    return false;
  }
  controls.clear();
  for (const MIXERCONTROLA& record : records) controls.push_back(ControlFrom(record));
  return true;
}

bool TWinmmMixerPort::GetControlDetails(MixerHandle mixer, TControlDetails& details) {
  MIXERCONTROLDETAILS request = DetailsFor(details, details.values.data());
  return mixerGetControlDetailsA(Object(mixer), &request, MIXER_GETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
}

bool TWinmmMixerPort::SetControlDetails(MixerHandle mixer, const TControlDetails& details) {
  MIXERCONTROLDETAILS request = DetailsFor(details, details.values.data());
  return mixerSetControlDetails(Object(mixer), &request, MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
}
