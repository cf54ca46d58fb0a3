#pragma once
// The model of an open mixer: its destination lines, the source lines connected to each
// ("connections"), and every line's controls. Built once when the mixer is opened and
// dropped when it is closed; each object owns those below it.
#include <vector>

#include "audio/mixer_port.h"

// The controls of one line, in the mixer's order; none when the mixer would not list them.
class TMixerControls {
 public:
  TMixerControls(IMixerPort& port, MixerHandle mixer, std::uint32_t line_id, std::uint32_t count);

  const std::vector<TMixerControl>& Items() const { return items_; }

 private:
  std::vector<TMixerControl> items_;
};

struct TMixerConnection {
  TMixerConnection(IMixerPort& port, MixerHandle mixer, const TMixerLine& line);

  TMixerLine Line;
  TMixerControls Controls;
};

using TMixerConnectionList = std::vector<TMixerConnection>;

// The source lines of one destination; a source whose line information cannot be read is
// left out, so positions and Windows' source numbers may differ.
struct TMixerConnections {
  TMixerConnections(IMixerPort& port, MixerHandle mixer, const TMixerLine& destination);

  TMixerConnectionList Items;
};

struct TMixerDestination {
  TMixerDestination(IMixerPort& port, MixerHandle mixer, const TMixerLine& line);

  TMixerLine Line;
  TMixerControls Controls;
  TMixerConnections Connections;
};

using TMixerDestinationList = std::vector<TMixerDestination>;

// The mixer's destination lines; one whose line information cannot be read is left out.
struct TMixerDestinations {
  TMixerDestinations(IMixerPort& port, MixerHandle mixer, std::uint32_t destination_count);

  TMixerDestinationList Items;
};
