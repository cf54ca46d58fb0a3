#include "tools/skypesim/win32/event_log.h"

#include <string>

#include "tools/skypesim/log_format.h"

namespace skypesim {

EventLog::EventLog() : start_(GetTickCount64()), output_(GetStdHandle(STD_OUTPUT_HANDLE)) {}

void EventLog::write(std::string_view event, std::string_view details) {
    // WriteFile rather than the C runtime: no buffering and no "\n" to "\r\n" translation.
    const std::string line = logLine(GetTickCount64() - start_, event, details);
    const char* data = line.data();
    std::size_t left = line.size();
    while (left > 0 && output_ != nullptr && output_ != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        if (!WriteFile(output_, data, static_cast<DWORD>(left), &written, nullptr) || written == 0) return;
        data += written;
        left -= written;
    }
}

}  // namespace skypesim
