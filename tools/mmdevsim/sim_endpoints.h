#pragma once
// What the stand-in endpoint API simulates: render and capture endpoints in Windows' order,
// each with a friendly name, a master volume scalar and a mute that may fail, and whether it
// is plugged in. Read from a small text file (see README.md); without one, a machine with
// onboard sound, a webcam's microphone and the handset. Commands from a test change a level
// or mute "from elsewhere", or unplug and replug an endpoint.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mmdevsim {

enum class TFlow { Render, Capture };

struct TEndpoint {
  std::string id;  // as IMMDevice::GetId gives it
  std::string name;
  TFlow flow = TFlow::Render;
  float level = 0.5f;
  bool mute = false;
  bool level_fails = false;  // the level calls give E_NOTIMPL
  bool mute_fails = false;   // the mute calls give E_NOTIMPL
  bool present = true;
  // Counts unplugs: a volume object activated before the last one is invalidated.
  unsigned generation = 0;
};

struct TConfig {
  std::vector<TEndpoint> endpoints;
};

TConfig DefaultConfig();
// One statement a line; `errors` gets one text per line that was not understood.
TConfig ParseConfig(std::string_view text, std::vector<std::string>& errors);

struct TCommand {
  enum class TKind { Level, Mute, Unplug, Plug, Fail };
  TKind kind = TKind::Level;
  std::string name;  // the endpoint's friendly name
  float level = 0.0f;
  bool mute = false;
  bool fail_level = false;
  bool fail_mute = false;
};

// "level V NAME", "mute 0|1 NAME", "unplug NAME", "plug NAME", "fail level|mute|both|none NAME".
std::optional<TCommand> ParseCommand(std::string_view line, std::string& error);

// The endpoint with this name, or null.
TEndpoint* FindByName(std::vector<TEndpoint>& endpoints, const std::string& name);

}  // namespace mmdevsim
