#pragma once
// The handset simulator's command lines, one a line from standard input or a scenario file.
#include <cstdint>
#include <string_view>

#include "tools/handsetsim/bytes.h"
#include "tools/handsetsim/device_config.h"

namespace handsetsim {

enum class TCommandKind {
  Invalid,
  Nothing,     // blank line or comment
  Device,      // device N VID PID [usagepage=] [usage=] [in=] [out=] [version=]
  Press,       // press KEY [dev=N]; report N KEY
  Release,     // release [dev=N]
  Hold,        // hold KEY MS [every=MS] [dev=N]
  Sleep,       // sleep MS
  WaitOutput,  // wait-output [timeout=MS] [dev=N] HEX...
  Unplug,      // unplug N
  Plug,        // plug N
  Quit,        // quit
};

struct TCommand {
  TCommandKind kind = TCommandKind::Invalid;
  int device = 1;                  // the device the command is about
  TDeviceConfig config;            // device
  std::uint8_t key = 0;            // press, hold
  std::uint32_t milliseconds = 0;  // hold duration, sleep, wait-output timeout
  std::uint32_t every = 0;         // hold repeat interval
  Bytes prefix;                    // wait-output
};

constexpr std::uint32_t kDefaultHoldEveryMs = 100;
constexpr std::uint32_t kDefaultWaitMs = 10000;
// The longest interval a window timer accepts.
constexpr std::int64_t kMaxMilliseconds = 0x7FFFFFFF;

TCommand ParseCommand(std::string_view line);

}  // namespace handsetsim
