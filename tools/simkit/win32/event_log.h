#pragma once

#include <windows.h>

#include <string_view>

namespace simkit {

// Writes timestamped events to standard output, each at once: tests read it through a pipe
// while the simulator runs.
class EventLog {
public:
    EventLog();
    void write(std::string_view event, std::string_view details);

private:
    LARGE_INTEGER start_;
    LARGE_INTEGER frequency_;
    HANDLE output_;
};

}  // namespace simkit
