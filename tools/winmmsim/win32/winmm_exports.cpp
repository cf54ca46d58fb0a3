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
void copyName(char (&to)[N], const std::string& from) {
    const std::size_t length = std::min(from.size(), N - 1);
    std::memcpy(to, from.data(), length);
    to[length] = '\0';
}

// Copies what fits of `record` into the caller's structure of `size` bytes.
template <class Record>
void copyOut(void* to, UINT size, const Record& record) {
    std::memcpy(to, &record, std::min<std::size_t>(size, sizeof record));
}

// The mixer an object names: a mixer id or an open handle (winmm accepts both when no
// object type is given), a handle, or a wave device's index.
int resolveMixer(Simulation& sim, HMIXEROBJ object, DWORD flags) {
    const auto value = reinterpret_cast<UINT_PTR>(object);
    const auto wave = [&](const std::vector<WaveDevice>& devices) {
        return value < devices.size() ? devices[value].mixer : kNoMixer;
    };
    switch (flags & kObjectTypeMask) {
        case MIXER_OBJECTF_MIXER: {
            const int byHandle = sim.mixerOfHandle(reinterpret_cast<HMIXER>(object));
            if (byHandle >= 0) return byHandle;
            return value < static_cast<UINT_PTR>(sim.mixerCount()) ? static_cast<int>(value) : kNoMixer;
        }
        case MIXER_OBJECTF_HMIXER:
            return sim.mixerOfHandle(reinterpret_cast<HMIXER>(object));
        case MIXER_OBJECTF_WAVEOUT:
            return wave(sim.config().outs);
        case MIXER_OBJECTF_WAVEIN:
            return wave(sim.config().ins);
        default:
            return kNoMixer;
    }
}

// The first wave device of the kind that belongs to the mixer, for a line's target.
void fillTarget(Simulation& sim, int mixer, bool recording, MIXERLINEA& line) {
    const std::vector<WaveDevice>& devices = recording ? sim.config().ins : sim.config().outs;
    line.Target.dwType = recording ? MIXERLINE_TARGETTYPE_WAVEIN : MIXERLINE_TARGETTYPE_WAVEOUT;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].mixer != mixer) continue;
        line.Target.dwDeviceID = static_cast<DWORD>(i);
        line.Target.wMid = kManufacturer;
        line.Target.vDriverVersion = kDriverVersion;
        copyName(line.Target.szPname, devices[i].name);
        return;
    }
}

MIXERLINEA lineRecord(Simulation& sim, int mixer, const SimLine& line) {
    MIXERLINEA record = {};
    record.cbStruct = sizeof record;
    record.dwDestination = line.destination;
    record.dwSource = line.source < 0 ? 0 : static_cast<DWORD>(line.source);
    record.dwLineID = line.lineId;
    record.fdwLine = MIXERLINE_LINEF_ACTIVE | (line.source < 0 ? 0 : MIXERLINE_LINEF_SOURCE);
    record.dwComponentType = line.componentType;
    record.cChannels = line.channels;
    record.cConnections = static_cast<DWORD>(line.sources.size());
    record.cControls = static_cast<DWORD>(line.controls.size());
    copyName(record.szShortName, line.name);
    copyName(record.szName, line.name);
    fillTarget(sim, mixer, line.destination == 1, record);
    return record;
}

MIXERCONTROLA controlRecord(const SimControl& control) {
    MIXERCONTROLA record = {};
    record.cbStruct = sizeof record;
    record.dwControlID = control.id;
    record.dwControlType = control.type;
    record.fdwControl = control.flags;
    record.cMultipleItems = control.items;
    copyName(record.szShortName, control.name);
    copyName(record.szName, control.name);
    const bool level = control.type == kTypeVolume;
    record.Bounds.dwMinimum = 0;
    record.Bounds.dwMaximum = level ? 0xFFFF : 1;
    record.Metrics.cSteps = level ? 0xFFFF : 0;
    return record;
}

SimLine* lineAt(SimMixer& mixer, DWORD destination, int source) {
    if (destination >= mixer.destinations.size()) return nullptr;
    SimLine& line = mixer.destinations[destination];
    if (source < 0) return &line;
    return static_cast<std::size_t>(source) < line.sources.size() ? &line.sources[static_cast<std::size_t>(source)]
                                                                    : nullptr;
}

// The control a details request names, checked against its line; an MMRESULT otherwise.
MMRESULT findRequested(Simulation& sim, HMIXEROBJ object, const MIXERCONTROLDETAILS* details, DWORD flags,
                       int& mixer, ControlRef& found) {
    if (details == nullptr || details->cbStruct < sizeof(MIXERCONTROLDETAILS) || details->paDetails == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    mixer = resolveMixer(sim, object, flags);
    SimMixer* simulated = sim.mixer(mixer);
    if (simulated == nullptr) return MMSYSERR_INVALHANDLE;
    found = findControl(*simulated, details->dwControlID);
    if (found.control == nullptr) return MIXERR_INVALCONTROL;
    if (details->cbDetails != sizeof(MIXERCONTROLDETAILS_UNSIGNED) ||
        !validRequest(*found.line, *found.control, details->cChannels, details->cMultipleItems)) {
        return MMSYSERR_INVALPARAM;
    }
    return MMSYSERR_NOERROR;
}

std::size_t requestedValues(const MIXERCONTROLDETAILS& details) {
    return static_cast<std::size_t>(details.cChannels) * std::max<DWORD>(details.cMultipleItems, 1);
}

MMRESULT waveCaps(const std::vector<WaveDevice>& devices, UINT_PTR id, std::string& name, WORD& product) {
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
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    return static_cast<UINT>(sim.config().outs.size());
}

MMRESULT WINAPI waveOutGetDevCapsA(UINT_PTR uDeviceID, LPWAVEOUTCAPSA pwoc, UINT cbwoc) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    if (pwoc == nullptr) return MMSYSERR_INVALPARAM;
    std::string name;
    WAVEOUTCAPSA caps = {};
    const MMRESULT result = waveCaps(sim.config().outs, uDeviceID, name, caps.wPid);
    if (result != MMSYSERR_NOERROR) return result;
    caps.wMid = kManufacturer;
    caps.vDriverVersion = kDriverVersion;
    copyName(caps.szPname, name);
    caps.dwFormats = WAVE_FORMAT_1M16 | WAVE_FORMAT_1S16 | WAVE_FORMAT_4M16 | WAVE_FORMAT_4S16;
    caps.wChannels = 2;
    caps.dwSupport = WAVECAPS_VOLUME | WAVECAPS_LRVOLUME;
    copyOut(pwoc, cbwoc, caps);
    return MMSYSERR_NOERROR;
}

UINT WINAPI waveInGetNumDevs(void) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    return static_cast<UINT>(sim.config().ins.size());
}

MMRESULT WINAPI waveInGetDevCapsA(UINT_PTR uDeviceID, LPWAVEINCAPSA pwic, UINT cbwic) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    if (pwic == nullptr) return MMSYSERR_INVALPARAM;
    std::string name;
    WAVEINCAPSA caps = {};
    const MMRESULT result = waveCaps(sim.config().ins, uDeviceID, name, caps.wPid);
    if (result != MMSYSERR_NOERROR) return result;
    caps.wMid = kManufacturer;
    caps.vDriverVersion = kDriverVersion;
    copyName(caps.szPname, name);
    caps.dwFormats = WAVE_FORMAT_1M16 | WAVE_FORMAT_4M16;
    caps.wChannels = 1;
    copyOut(pwic, cbwic, caps);
    return MMSYSERR_NOERROR;
}

UINT WINAPI mixerGetNumDevs(void) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    return static_cast<UINT>(sim.mixerCount());
}

MMRESULT WINAPI mixerGetDevCapsA(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    if (pmxcaps == nullptr) return MMSYSERR_INVALPARAM;
    SimMixer* mixer = sim.mixer(resolveMixer(sim, reinterpret_cast<HMIXEROBJ>(uMxId), MIXER_OBJECTF_MIXER));
    if (mixer == nullptr) return MMSYSERR_BADDEVICEID;
    MIXERCAPSA caps = {};
    caps.wMid = kManufacturer;
    caps.wPid = static_cast<WORD>(0x0200 + mixer->id);
    caps.vDriverVersion = kDriverVersion;
    copyName(caps.szPname, mixer->name);
    caps.cDestinations = static_cast<DWORD>(mixer->destinations.size());
    copyOut(pmxcaps, cbmxcaps, caps);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR /*dwInstance*/, DWORD fdwOpen) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    if (phmx == nullptr) return MMSYSERR_INVALPARAM;
    *phmx = nullptr;
    HWND window = nullptr;
    switch (fdwOpen & CALLBACK_TYPEMASK) {
        case CALLBACK_NULL:
            break;
        case CALLBACK_WINDOW:
            window = reinterpret_cast<HWND>(dwCallback);
            if (window != nullptr && !IsWindow(window)) return MMSYSERR_INVALPARAM;
            break;
        default:
            return MMSYSERR_INVALFLAG;
    }
    const int id = resolveMixer(sim, reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(uMxId)),
                                fdwOpen & kObjectTypeMask);
    SimMixer* mixer = sim.mixer(id);
    if (mixer == nullptr) return MMSYSERR_BADDEVICEID;
    if (mixer->openFails) {
        sim.log("OPENFAIL mixer=" + std::to_string(id));
        return MMSYSERR_NODRIVER;
    }
    *phmx = sim.open(id, window);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerClose(HMIXER hmx) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    return sim.close(hmx) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT WINAPI mixerGetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    if (puMxId == nullptr) return MMSYSERR_INVALPARAM;
    const int id = resolveMixer(sim, hmxobj, fdwId);
    *puMxId = static_cast<UINT>(id);
    return id >= 0 ? MMSYSERR_NOERROR : MMSYSERR_NODRIVER;
}

MMRESULT WINAPI mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    if (pmxl == nullptr || pmxl->cbStruct < sizeof(MIXERLINEA)) return MMSYSERR_INVALPARAM;
    const int id = resolveMixer(sim, hmxobj, fdwInfo);
    SimMixer* mixer = sim.mixer(id);
    if (mixer == nullptr) return MMSYSERR_INVALHANDLE;
    SimLine* line = nullptr;
    switch (fdwInfo & MIXER_GETLINEINFOF_QUERYMASK) {
        case MIXER_GETLINEINFOF_DESTINATION:
            line = lineAt(*mixer, pmxl->dwDestination, -1);
            break;
        case MIXER_GETLINEINFOF_SOURCE:
            line = lineAt(*mixer, pmxl->dwDestination, static_cast<int>(std::min<DWORD>(pmxl->dwSource, INT_MAX)));
            break;
        case MIXER_GETLINEINFOF_LINEID:
            line = findLine(*mixer, pmxl->dwLineID);
            break;
        default:
            return MMSYSERR_NOTSUPPORTED;
    }
    if (line == nullptr) return MIXERR_INVALLINE;
    *pmxl = lineRecord(sim, id, *line);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    if (pmxlc == nullptr || pmxlc->cbStruct < sizeof(MIXERLINECONTROLSA) || pmxlc->cbmxctrl < sizeof(MIXERCONTROLA) ||
        pmxlc->pamxctrl == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    SimMixer* mixer = sim.mixer(resolveMixer(sim, hmxobj, fdwControls));
    if (mixer == nullptr) return MMSYSERR_INVALHANDLE;
    auto* out = reinterpret_cast<BYTE*>(pmxlc->pamxctrl);
    switch (fdwControls & MIXER_GETLINECONTROLSF_QUERYMASK) {
        case MIXER_GETLINECONTROLSF_ALL: {
            const SimLine* line = findLine(*mixer, pmxlc->dwLineID);
            if (line == nullptr) return MIXERR_INVALLINE;
            if (pmxlc->cControls != line->controls.size() || line->controls.empty()) return MMSYSERR_INVALPARAM;
            for (std::size_t i = 0; i < line->controls.size(); ++i) {
                const MIXERCONTROLA record = controlRecord(line->controls[i]);
                std::memcpy(out + i * pmxlc->cbmxctrl, &record, sizeof record);
            }
            return MMSYSERR_NOERROR;
        }
        case MIXER_GETLINECONTROLSF_ONEBYID: {
            const ControlRef found = findControl(*mixer, pmxlc->dwControlID);
            if (found.control == nullptr) return MIXERR_INVALCONTROL;
            pmxlc->dwLineID = found.line->lineId;
            const MIXERCONTROLA record = controlRecord(*found.control);
            std::memcpy(out, &record, sizeof record);
            return MMSYSERR_NOERROR;
        }
        case MIXER_GETLINECONTROLSF_ONEBYTYPE: {
            const SimLine* line = findLine(*mixer, pmxlc->dwLineID);
            if (line == nullptr) return MIXERR_INVALLINE;
            for (const SimControl& control : line->controls) {
                if (control.type != pmxlc->dwControlType) continue;
                const MIXERCONTROLA record = controlRecord(control);
                std::memcpy(out, &record, sizeof record);
                return MMSYSERR_NOERROR;
            }
            return MIXERR_INVALCONTROL;
        }
        default:
            return MMSYSERR_NOTSUPPORTED;
    }
}

MMRESULT WINAPI mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    if ((fdwDetails & MIXER_GETCONTROLDETAILSF_QUERYMASK) != MIXER_GETCONTROLDETAILSF_VALUE) {
        return MMSYSERR_NOTSUPPORTED;
    }
    int mixer = kNoMixer;
    ControlRef found;
    const MMRESULT result = findRequested(sim, hmxobj, pmxcd, fdwDetails, mixer, found);
    if (result != MMSYSERR_NOERROR) return result;
    const std::vector<std::uint32_t> values = readValues(*found.control, pmxcd->cChannels);
    std::memcpy(pmxcd->paDetails, values.data(), std::min(values.size(), requestedValues(*pmxcd)) * sizeof(DWORD));
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
    Simulation& sim = Simulation::instance();
    std::lock_guard<std::mutex> lock(sim.guard());
    if ((fdwDetails & MIXER_SETCONTROLDETAILSF_QUERYMASK) != MIXER_SETCONTROLDETAILSF_VALUE) {
        return MMSYSERR_NOTSUPPORTED;
    }
    int mixer = kNoMixer;
    ControlRef found;
    const MMRESULT result = findRequested(sim, hmxobj, pmxcd, fdwDetails, mixer, found);
    if (result != MMSYSERR_NOERROR) return result;
    const auto* given = static_cast<const std::uint32_t*>(pmxcd->paDetails);
    const std::vector<std::uint32_t> values(given, given + requestedValues(*pmxcd));
    const bool changed = writeValues(*found.control, pmxcd->cChannels, values);
    sim.controlSet(mixer, *found.line, *found.control, changed);
    return MMSYSERR_NOERROR;
}
