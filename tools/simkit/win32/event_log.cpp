#include "tools/simkit/win32/event_log.h"

#include <string>

#include "tools/simkit/log_format.h"

namespace simkit {

// The performance counter rather than the tick count: latencies are measured from the logs.
std::uint64_t CounterMicroseconds() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
  const auto per_second = static_cast<std::uint64_t>(frequency.QuadPart);
  return ticks / per_second * 1000000 + ticks % per_second * 1000000 / per_second;
}

TEventLog::TEventLog() : output_(GetStdHandle(STD_OUTPUT_HANDLE)) {}

std::uint64_t TEventLog::Now() const { return CounterMicroseconds(); }

void TEventLog::Write(std::string_view event, std::string_view details) { Write(event, details, Now()); }

void TEventLog::Write(std::string_view event, std::string_view details, std::uint64_t stamp) {
  // WriteFile rather than the C runtime: no buffering and no "\n" to "\r\n" translation.
  const std::string line = LogLine(stamp, event, details);
  const char* data = line.data();
  std::size_t left = line.size();
  while (left > 0 && output_ != nullptr && output_ != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    if (!WriteFile(output_, data, static_cast<DWORD>(left), &written, nullptr) || written == 0) return;
    data += written;
    left -= written;
  }
}

}  // namespace simkit
