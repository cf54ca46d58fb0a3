#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skypesim {

enum class TCommandKind {
  Attach,        // attach S [S ...]
  AttachAll,     // attach-all S | off
  Announce,      // announce S: to the client; before any client, broadcast to every window
  Reopen,        // reopen: close the API window and open a new one, as Skype restarting its API
  Accept,        // accept
  Refuse,        // refuse N | all
  Answer,        // answer PATTERN => REPLY
  Notify,        // notify TEXT
  CopyData,      // copydata CB [TEXT]
  CopyDataBig,   // copydata-big N
  Post,          // post MSG W L
  Send,          // send MSG W L
  Sleep,         // sleep MS
  WaitCommand,   // wait-cmd [timeout=MS] PATTERN
  WaitDiscover,  // wait-discover [TIMEOUT_MS]
  Freeze,        // freeze MS
  Quit,          // quit
};

// One scenario line. Only the fields of its kind are meaningful.
struct TCommand {
  TCommandKind kind = TCommandKind::Quit;
  std::vector<std::uint32_t> statuses;  // attach
  std::optional<std::uint32_t> status;  // announce; attach-all (none means "off")
  bool all = false;                     // refuse all
  std::uint32_t count = 0;              // refuse N
  std::uint32_t milliseconds = 0;       // sleep, freeze; wait-cmd and wait-discover timeouts
  std::size_t size = 0;                 // copydata CB, copydata-big N
  std::string pattern;                  // answer, wait-cmd
  std::string text;                     // answer reply (empty removes it), notify, copydata
  std::uint32_t message = 0;            // post, send
  std::int64_t wparam = 0;
  std::int64_t lparam = 0;
};

enum class TLineKind { Command, Nothing, Invalid };

struct TParsedLine {
  TLineKind kind = TLineKind::Nothing;
  TCommand command;
};

constexpr std::uint32_t kDefaultWaitMs = 10000;
// Keeps a typing slip from asking for gigabytes.
constexpr std::size_t kMaxCopyDataSize = std::size_t{64} << 20;
// The longest interval a window timer accepts.
constexpr std::int64_t kMaxMilliseconds = 0x7FFFFFFF;

// Blank lines and lines starting with '#' are Nothing; unknown keywords and bad arguments
// are Invalid.
TParsedLine ParseLine(std::string_view line);

}  // namespace skypesim
