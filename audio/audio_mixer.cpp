#include "audio/audio_mixer.h"

#include <algorithm>

using namespace mixer_api;

namespace {

// Channel and item counts come from the driver: a buffer bigger than this is not attempted.
constexpr std::uint64_t kMaxDetailValues = 1u << 16;

bool Has(const TMixerControl& control, std::uint32_t flag) { return (control.fdwControl & flag) != 0; }

bool IsLevelOrMute(const TMixerControl& control) {
  return (control.dwControlType == kControlTypeVolume || control.dwControlType == kControlTypeMute) &&
         !Has(control, kControlMultiple);
}

bool IsSelector(const TMixerControl& control) {
  return control.dwControlType == kControlTypeMixer || control.dwControlType == kControlTypeMux;
}

}  // namespace

TAudioMixer::TAudioMixer(IMixerPort& port) : port_(port) {
  GetMixerNumDevs();
  SetMixerId(0);
}

TAudioMixer::~TAudioMixer() { CloseMixer(); }

void TAudioMixer::GetMixerNumDevs() {
  SetMixerId(-1);
  const std::uint32_t reported = port_.GetNumDevs();
  device_count_ = static_cast<std::int32_t>(std::min<std::uint32_t>(reported, INT32_MAX));
  std::int32_t openable = 0;
  for (std::int32_t id = 0; id < device_count_; ++id) {
    SetMixerId(id);
    if (mixer_id_ == id) ++openable;
  }
  device_count_ = openable;
  SetMixerId(-1);
}

void TAudioMixer::SetMixerId(std::int32_t id) {
  if (device_count_ == 0 || id >= device_count_) return;
  CloseMixer();
  if (id < 0) return;
  const std::optional<MixerHandle> handle = port_.Open(static_cast<std::uint32_t>(id));
  if (!handle) return;
  handle_ = *handle;
  mixer_id_ = id;
  TMixerCaps caps;
  port_.GetDevCaps(static_cast<std::uint32_t>(id), caps);
  destinations_ = std::make_unique<TMixerDestinations>(port_, handle_, caps.cDestinations);
}

void TAudioMixer::CloseMixer() {
  if (mixer_id_ >= 0) {
    port_.Close(handle_);
    mixer_id_ = -1;
    handle_ = 0;
  }
  destinations_.reset();
}

std::optional<TAudioMixer::LineRef> TAudioMixer::Line(std::int32_t d, std::int32_t c) const {
  if (mixer_id_ < 0 || !destinations_) return std::nullopt;
  const TMixerDestinationList& destinations = destinations_->Items;
  if (d < 0 || static_cast<std::size_t>(d) >= destinations.size()) return std::nullopt;
  const TMixerDestination& destination = destinations[static_cast<std::size_t>(d)];
  if (c < 0) return LineRef{destination.Line, destination.Controls};
  const TMixerConnectionList& connections = destination.Connections.Items;
  if (static_cast<std::size_t>(c) >= connections.size()) return std::nullopt;
  const TMixerConnection& connection = connections[static_cast<std::size_t>(c)];
  return LineRef{connection.Line, connection.Controls};
}

TControlDetails TAudioMixer::DetailsFor(const TMixerControl& control, const TMixerLine& line,
                                        std::uint32_t multiple_items) const {
  TControlDetails details;
  details.dwControlID = control.dwControlID;
  details.cChannels = Has(control, kControlUniform) ? 1 : line.cChannels;
  details.cMultipleItems = multiple_items;
  // Sized from the control itself, so no channel or item count can overrun it.
  const std::uint64_t count = std::uint64_t{details.cChannels} * std::max<std::uint32_t>(multiple_items, 1);
  if (count <= kMaxDetailValues) details.values.assign(static_cast<std::size_t>(count), 0);
  return details;
}

bool TAudioMixer::CheckCtrlID(std::int32_t d, std::int32_t c, std::uint32_t control_id) const {
  const std::optional<LineRef> line = Line(d, c);
  if (!line) return false;
  for (const TMixerControl& control : line->controls.Items()) {
    if (IsLevelOrMute(control) && control.dwControlID == control_id) return true;
  }
  return false;
}

std::optional<TLineVolume> TAudioMixer::GetVolume(std::int32_t d, std::int32_t c) {
  const std::optional<LineRef> line = Line(d, c);
  if (!line) return std::nullopt;
  TLineVolume volume;
  for (const TMixerControl& control : line->controls.Items()) {
    if (!IsLevelOrMute(control)) continue;
    TControlDetails details = DetailsFor(control, line->line, 0);
    if (details.values.empty() || !port_.GetControlDetails(handle_, details)) continue;
    // A disabled control is passed over for a later one of the same kind.
    if (Has(control, kControlDisabled)) continue;
    if (control.dwControlType == kControlTypeVolume && volume.left == -1) {
      volume.left = static_cast<std::int32_t>(details.values[0]);
      if (details.cChannels > 1 && details.values.size() > 1) {
        volume.right = static_cast<std::int32_t>(details.values[1]);
      }
    } else if (control.dwControlType == kControlTypeMute && volume.mute == -1) {
      volume.mute = details.values[0] != 0 ? 1 : 0;
    }
  }
  // A source line without a mute of its own is muted through its destination's selector.
  if (volume.mute == -1 && c >= 0) volume.mute = ReadSelectorMute(d, c);
  volume.volume_unavailable = volume.left == -1;
  volume.mute_unavailable = volume.mute == -1;
  return volume;
}

std::int32_t TAudioMixer::ReadSelectorMute(std::int32_t d, std::int32_t c) {
  const LineRef destination = *Line(d, -1);
  for (const TMixerControl& control : destination.controls.Items()) {
    if (!IsSelector(control)) continue;
    const std::uint32_t items = Has(control, kControlMultiple) ? control.cMultipleItems : 0;
    TControlDetails details = DetailsFor(control, destination.line, items);
    if (details.values.empty() || !port_.GetControlDetails(handle_, details)) continue;
    // A connection index beyond what the selector returned is ignored.
    if (static_cast<std::size_t>(c) >= details.values.size()) continue;
    return static_cast<std::int32_t>(details.values[static_cast<std::size_t>(c)]);
  }
  return -1;
}

bool TAudioMixer::SetVolume(std::int32_t d, std::int32_t c, std::int32_t left, std::int32_t right,
                            std::int32_t mute) {
  const std::optional<LineRef> line = Line(d, c);
  if (!line) return false;
  bool volume_applied = left == -1;
  bool mute_applied = mute == -1;
  bool mute_control_met = false;
  for (const TMixerControl& control : line->controls.Items()) {
    if (volume_applied && mute_applied) break;
    if (!IsLevelOrMute(control)) continue;
    // A further control of a kind already written gets the same values; a kind given as
    // -1 is never written.
    if (control.dwControlType == kControlTypeVolume) {
      if (left != -1) WriteLevel(control, line->line, left, right);
      volume_applied = true;
    } else {
      mute_control_met = true;
      if (mute != -1) WriteMute(control, line->line, mute);
      mute_applied = true;
    }
  }
  if (mute != -1 && !mute_control_met && c >= 0) WriteSelectorMute(d, c, mute);
  return true;
}

void TAudioMixer::WriteLevel(const TMixerControl& control, const TMixerLine& line, std::int32_t left,
                             std::int32_t right) {
  TControlDetails details = DetailsFor(control, line, 0);
  if (details.values.empty()) return;
  const std::uint32_t left_value = static_cast<std::uint32_t>(left);
  const std::uint32_t right_value = static_cast<std::uint32_t>(right == -1 ? left : right);
  // Channels beyond the first two alternate: even ones take left, odd ones right.
  for (std::size_t channel = 0; channel < details.values.size(); ++channel) {
    details.values[channel] = channel % 2 == 0 ? left_value : right_value;
  }
  port_.SetControlDetails(handle_, details);
}

void TAudioMixer::WriteMute(const TMixerControl& control, const TMixerLine& line, std::int32_t mute) {
  TControlDetails details = DetailsFor(control, line, 0);
  if (details.values.empty()) return;
  std::fill(details.values.begin(), details.values.end(), static_cast<std::uint32_t>(mute));
  port_.SetControlDetails(handle_, details);
}

void TAudioMixer::WriteSelectorMute(std::int32_t d, std::int32_t c, std::int32_t mute) {
  const LineRef destination = *Line(d, -1);
  const auto& controls = destination.controls.Items();
  const auto selector = std::find_if(controls.begin(), controls.end(), IsSelector);
  if (selector == controls.end()) return;
  const std::uint32_t items = Has(*selector, kControlMultiple) ? selector->cMultipleItems : 0;
  TControlDetails details = DetailsFor(*selector, destination.line, items);
  if (static_cast<std::size_t>(c) >= details.values.size()) return;
  // Whether the read succeeds is not looked at: the write below is made either way.
  port_.GetControlDetails(handle_, details);
  if (selector->dwControlType == kControlTypeMux) {
    // A MUX selects one source: the others are cleared.
    const std::size_t cleared = std::min<std::size_t>(selector->cMultipleItems, details.values.size());
    std::fill_n(details.values.begin(), cleared, 0u);
  }
  details.values[static_cast<std::size_t>(c)] = static_cast<std::uint32_t>(mute);
  port_.SetControlDetails(handle_, details);
}

bool TAudioMixer::MixerCallBack(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  if (message != kControlChange && message != kLineChange) return false;
  const TMixerChangeEvent& event = message == kControlChange ? OnCtrlChange : OnLineChange;
  if (mixer_id_ >= 0 && event) event(*this, wparam, static_cast<std::uint32_t>(lparam));
  return true;
}
