#include "audio/mixer_model.h"

namespace {

// The driver's counts drive the loops below: a count no real mixer has is taken as a
// failure, as the control count is, so a lying driver cannot keep the panel querying.
constexpr std::uint32_t kMaxDestinations = 64;
constexpr std::uint32_t kMaxConnections = 256;

}  // namespace

TMixerControls::TMixerControls(IMixerPort& port, MixerHandle mixer, std::uint32_t line_id,
                               std::uint32_t count) {
  std::vector<TMixerControl> controls;
  if (port.GetLineControls(mixer, line_id, count, controls)) items_ = std::move(controls);
}

TMixerConnection::TMixerConnection(IMixerPort& port, MixerHandle mixer, const TMixerLine& line)
    : Line(line), Controls(port, mixer, line.dwLineID, line.cControls) {}

TMixerConnections::TMixerConnections(IMixerPort& port, MixerHandle mixer,
                                     const TMixerLine& destination) {
  if (destination.cConnections > kMaxConnections) return;
  for (std::uint32_t source = 0; source < destination.cConnections; ++source) {
    TMixerLine line;
    line.dwDestination = destination.dwDestination;
    line.dwSource = source;
    if (port.GetLineInfo(mixer, TLineQuery::Source, line)) Items.emplace_back(port, mixer, line);
  }
}

TMixerDestination::TMixerDestination(IMixerPort& port, MixerHandle mixer, const TMixerLine& line)
    : Line(line), Controls(port, mixer, line.dwLineID, line.cControls), Connections(port, mixer, line) {}

TMixerDestinations::TMixerDestinations(IMixerPort& port, MixerHandle mixer,
                                       std::uint32_t destination_count) {
  if (destination_count > kMaxDestinations) return;
  for (std::uint32_t number = 0; number < destination_count; ++number) {
    TMixerLine line;
    line.dwDestination = number;
    if (port.GetLineInfo(mixer, TLineQuery::Destination, line)) Items.emplace_back(port, mixer, line);
  }
}
