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

enum class Flow { Render, Capture };

struct Endpoint {
    std::string id;  // as IMMDevice::GetId gives it
    std::string name;
    Flow flow = Flow::Render;
    float level = 0.5f;
    bool mute = false;
    bool levelFails = false;  // the level calls give E_NOTIMPL
    bool muteFails = false;   // the mute calls give E_NOTIMPL
    bool present = true;
    // Counts unplugs: a volume object activated before the last one is invalidated.
    unsigned generation = 0;
};

struct Config {
    std::vector<Endpoint> endpoints;
};

Config defaultConfig();
// One statement a line; `errors` gets one text per line that was not understood.
Config parseConfig(std::string_view text, std::vector<std::string>& errors);

struct Command {
    enum class Kind { Level, Mute, Unplug, Plug, Fail };
    Kind kind = Kind::Level;
    std::string name;  // the endpoint's friendly name
    float level = 0.0f;
    bool mute = false;
    bool failLevel = false;
    bool failMute = false;
};

// "level V NAME", "mute 0|1 NAME", "unplug NAME", "plug NAME", "fail level|mute|both|none NAME".
std::optional<Command> parseCommand(std::string_view line, std::string& error);

// The endpoint with this name, or null.
Endpoint* findByName(std::vector<Endpoint>& endpoints, const std::string& name);

}  // namespace mmdevsim
