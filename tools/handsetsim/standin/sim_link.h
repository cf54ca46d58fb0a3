#pragma once
// The stand-in DLLs' line to the simulator's control pipe. Every wait is bounded except the
// device-change listener's wait for the next event.
#include <windows.h>

#include <optional>
#include <string>

namespace handsetsim::standin {

// How long a request and its reply may take before the simulator counts as absent.
constexpr DWORD kReplyTimeoutMs = 2000;

// "\\.\pipe\" + HANDSETSIM_PIPE (default "handsetsim").
std::string ControlPath();

// An overlapped connection in message mode, or INVALID_HANDLE_VALUE when the simulator does
// not run.
HANDLE ConnectControl();

bool WriteMessage(HANDLE pipe, const std::string& text, DWORD timeout_ms);
// One whole message; nullopt on a broken pipe or when timeoutMs passes (INFINITE: no limit).
std::optional<std::string> ReadMessage(HANDLE pipe, DWORD timeout_ms);

// One request and its reply, on a connection of its own.
std::optional<std::string> Request(const std::string& text);

// Writes `size` bytes to a handle opened with or without FILE_FLAG_OVERLAPPED, waiting at
// most timeoutMs for an overlapped one.
bool WriteBytes(HANDLE handle, const void* data, DWORD size, DWORD timeout_ms);

}  // namespace handsetsim::standin
