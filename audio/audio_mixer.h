#pragma once
// TAudioMixer: the panel's access to one Windows mixer at a time. While a mixer is open it
// holds the mixer's model, reads and writes the volume and mute of any one line of it, and
// raises OnCtrlChange for the mixer's control changes, whoever made them.
//
// A line is a destination index d (position in Destinations) and a connection index c:
// c = -1 is the destination line itself, c >= 0 the destination's connection c.
// Everywhere here -1 means none, or leave unchanged.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "audio/mixer_model.h"
#include "audio/mixer_port.h"

class TAudioMixer;

// (sender, mixer handle, control id or line id)
using TMixerChangeEvent = std::function<void(TAudioMixer& sender, MixerHandle mixer, std::uint32_t id)>;

// What GetVolume reads from a line; -1 where the line gave nothing.
struct TLineVolume {
  std::int32_t left = -1;
  // -1 whenever the volume control is uniform or the line has one channel: use left.
  std::int32_t right = -1;
  // The raw mute value: 0 or 1 from a mute control, the selector's own value through the
  // MIXER/MUX fall-back.
  std::int32_t mute = -1;
  bool volume_unavailable = true;
  bool mute_unavailable = true;
};

class TAudioMixer {
 public:
  // Counts the mixers that open, then opens mixer 0 when there is one.
  explicit TAudioMixer(IMixerPort& port);
  ~TAudioMixer();
  TAudioMixer(const TAudioMixer&) = delete;
  TAudioMixer& operator=(const TAudioMixer&) = delete;

  // The open mixer's id; -1 = none open.
  std::int32_t MixerID() const { return mixer_id_; }
  // How many mixers could be opened at the last GetMixerNumDevs; bounds SetMixerId.
  std::int32_t DeviceCount() const { return device_count_; }
  // The open mixer's model; null while none is open.
  const TMixerDestinations* Destinations() const { return destinations_.get(); }
  std::size_t DestinationCount() const { return destinations_ ? destinations_->Items.size() : 0; }

  // Re-counts the mixers that can be opened; leaves none open.
  void GetMixerNumDevs();
  // Opens mixer `id` (closing the open one first); -1 closes. An id at or beyond
  // DeviceCount, or any id while DeviceCount is 0, changes nothing at all.
  void SetMixerId(std::int32_t id);
  void CloseMixer();

  // Whether `control_id` is one of the line's volume or mute controls.
  bool CheckCtrlID(std::int32_t d, std::int32_t c, std::uint32_t control_id) const;
  // nullopt when no mixer is open or the line does not exist.
  std::optional<TLineVolume> GetVolume(std::int32_t d, std::int32_t c);
  // left or mute -1: leave that kind unchanged; right -1: the left value. False when no
  // mixer is open or the line does not exist; failing writes are not reported.
  bool SetVolume(std::int32_t d, std::int32_t c, std::int32_t left, std::int32_t right, std::int32_t mute);

  // The notification window's messages: true for a mixer notice (consumed), false for
  // anything else, which gets the window's default handling.
  bool MixerCallBack(unsigned message, std::uintptr_t wparam, std::intptr_t lparam);

  TMixerChangeEvent OnCtrlChange;
  TMixerChangeEvent OnLineChange;

 private:
  struct LineRef {
    const TMixerLine& line;
    const TMixerControls& controls;
  };
  std::optional<LineRef> Line(std::int32_t d, std::int32_t c) const;
  TControlDetails DetailsFor(const TMixerControl& control, const TMixerLine& line,
                             std::uint32_t multiple_items) const;
  void WriteLevel(const TMixerControl& control, const TMixerLine& line, std::int32_t left, std::int32_t right);
  void WriteMute(const TMixerControl& control, const TMixerLine& line, std::int32_t mute);
  std::int32_t ReadSelectorMute(std::int32_t d, std::int32_t c);
  void WriteSelectorMute(std::int32_t d, std::int32_t c, std::int32_t mute);

  IMixerPort& port_;
  std::int32_t mixer_id_ = -1;
  std::int32_t device_count_ = 0;
  MixerHandle handle_ = 0;
  std::unique_ptr<TMixerDestinations> destinations_;
};
