#pragma once
// The winmm mixer calls that TAudioMixer makes, as a port: audio/win32 answers them with
// winmm, unit tests with fake mixers. The records carry the members of MIXERCAPSA,
// MIXERLINEA and MIXERCONTROLA that the panel uses, under their Windows names.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An open mixer's HMIXER, as an opaque number.
using MixerHandle = std::uintptr_t;

// Values from <mmsystem.h>, named so that they do not collide with its macros.
namespace mixer_api {
constexpr std::uint32_t kControlTypeVolume = 0x50030001;  // MIXERCONTROL_CONTROLTYPE_VOLUME
constexpr std::uint32_t kControlTypeMute = 0x20010002;    // MIXERCONTROL_CONTROLTYPE_MUTE
constexpr std::uint32_t kControlTypeMixer = 0x71010001;   // MIXERCONTROL_CONTROLTYPE_MIXER
constexpr std::uint32_t kControlTypeMux = 0x70010001;     // MIXERCONTROL_CONTROLTYPE_MUX
constexpr std::uint32_t kControlUniform = 0x00000001;     // MIXERCONTROL_CONTROLF_UNIFORM
constexpr std::uint32_t kControlMultiple = 0x00000002;    // MIXERCONTROL_CONTROLF_MULTIPLE
constexpr std::uint32_t kControlDisabled = 0x80000000;    // MIXERCONTROL_CONTROLF_DISABLED
constexpr unsigned kLineChange = 0x3D0;                   // MM_MIXM_LINE_CHANGE
constexpr unsigned kControlChange = 0x3D1;                // MM_MIXM_CONTROL_CHANGE
}  // namespace mixer_api

struct TMixerCaps {
  std::uint32_t cDestinations = 0;
  std::string szPname;
};

struct TMixerLine {
  std::uint32_t dwDestination = 0;
  std::uint32_t dwSource = 0;
  std::uint32_t dwLineID = 0;
  std::uint32_t fdwLine = 0;
  std::uint32_t dwComponentType = 0;
  std::uint32_t cChannels = 0;
  std::uint32_t cConnections = 0;
  std::uint32_t cControls = 0;
  std::string szName;
};

struct TMixerControl {
  std::uint32_t dwControlID = 0;
  std::uint32_t dwControlType = 0;
  std::uint32_t fdwControl = 0;
  std::uint32_t cMultipleItems = 0;
  std::string szName;
};

// MIXERCONTROLDETAILS with 32-bit values (cbDetails 4): `values` holds
// cChannels × max(cMultipleItems, 1) of them.
struct TControlDetails {
  std::uint32_t dwControlID = 0;
  std::uint32_t cChannels = 0;
  std::uint32_t cMultipleItems = 0;
  std::vector<std::uint32_t> values;
};

// Which line mixerGetLineInfoA is asked for.
enum class TLineQuery {
  Destination,  // MIXER_GETLINEINFOF_DESTINATION: by dwDestination
  Source,       // MIXER_GETLINEINFOF_SOURCE: by dwDestination and dwSource
};

class IMixerPort {
 public:
  virtual ~IMixerPort() = default;

  virtual std::uint32_t GetNumDevs() = 0;
  // mixerOpen with CALLBACK_WINDOW to the mixer's notification window; nullopt on failure.
  virtual std::optional<MixerHandle> Open(std::uint32_t id) = 0;
  virtual void Close(MixerHandle mixer) = 0;
  virtual bool GetDevCaps(std::uint32_t id, TMixerCaps& caps) = 0;
  // `line` brings dwDestination (and dwSource) in and takes the whole record out.
  virtual bool GetLineInfo(MixerHandle mixer, TLineQuery query, TMixerLine& line) = 0;
  // MIXER_GETLINECONTROLSF_ALL: the line's `count` controls, in the mixer's order.
  virtual bool GetLineControls(MixerHandle mixer, std::uint32_t line_id, std::uint32_t count,
                               std::vector<TMixerControl>& controls) = 0;
  // MIXER_GETCONTROLDETAILSF_VALUE into `details.values`, which the caller has sized.
  virtual bool GetControlDetails(MixerHandle mixer, TControlDetails& details) = 0;
  // MIXER_SETCONTROLDETAILSF_VALUE.
  virtual bool SetControlDetails(MixerHandle mixer, const TControlDetails& details) = 0;
};
