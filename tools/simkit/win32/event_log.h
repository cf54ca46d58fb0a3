#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace simkit {

// Microseconds on the machine's performance counter: one clock for every process.
std::uint64_t CounterMicroseconds();

// Writes timestamped events to standard output, each at once: tests read it through a pipe
// while the simulator runs. The stamps are the machine's performance counter in milliseconds,
// one clock for every process on the machine, so the stamps of two simulators' logs can be
// subtracted from each other.
class TEventLog {
 public:
  TEventLog();
  // Microseconds on the performance counter now.
  std::uint64_t Now() const;
  void Write(std::string_view event, std::string_view details);
  // An event stamped with an earlier moment, from now(): when what it tells of began.
  void Write(std::string_view event, std::string_view details, std::uint64_t stamp);

 private:
  HANDLE output_;
};

}  // namespace simkit
