#include "tools/handsetsim/standin/sim_link.h"

#include <cstdlib>
#include <vector>

#include "tools/handsetsim/device_config.h"

namespace handsetsim::standin {
namespace {

constexpr DWORD kBusyWaitMs = 1000;
constexpr DWORD kChunk = 4096;

// Starts ReadFile or WriteFile and waits for it; on a timeout the operation is cancelled and
// allowed to end before its OVERLAPPED goes out of scope.
template <typename Start>
bool Transfer(HANDLE handle, DWORD timeout_ms, DWORD& bytes, DWORD& error, Start start) {
  OVERLAPPED overlapped = {};
  overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (overlapped.hEvent == nullptr) return false;
  bytes = 0;
  error = start(&overlapped) ? ERROR_SUCCESS : GetLastError();
  if (error == ERROR_IO_PENDING && WaitForSingleObject(overlapped.hEvent, timeout_ms) != WAIT_OBJECT_0) {
    CancelIoEx(handle, &overlapped);
  }
  // Also for an operation that ended at once: the count of bytes is only found here.
  if (error == ERROR_SUCCESS || error == ERROR_IO_PENDING || error == ERROR_MORE_DATA) {
    error = GetOverlappedResult(handle, &overlapped, &bytes, TRUE) ? ERROR_SUCCESS : GetLastError();
  }
  CloseHandle(overlapped.hEvent);
  return error == ERROR_SUCCESS || error == ERROR_MORE_DATA;
}

}  // namespace

std::string ControlPath() {
  const char* base = std::getenv("HANDSETSIM_PIPE");
  const bool usable = base != nullptr && ValidPipeBase(base);
  return ControlPipePath(usable ? std::string_view(base) : kDefaultPipeBase);
}

HANDLE ConnectControl() {
  const std::string path = ControlPath();
  HANDLE pipe = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 2 && pipe == INVALID_HANDLE_VALUE; ++attempt) {
    pipe = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                       nullptr);
    // Every instance taken: the simulator makes the next one at once.
    if (pipe == INVALID_HANDLE_VALUE &&
        (GetLastError() != ERROR_PIPE_BUSY || !WaitNamedPipeA(path.c_str(), kBusyWaitMs))) {
      return INVALID_HANDLE_VALUE;
    }
  }
  DWORD mode = PIPE_READMODE_MESSAGE;
  if (pipe != INVALID_HANDLE_VALUE && !SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr)) {
    CloseHandle(pipe);
    return INVALID_HANDLE_VALUE;
  }
  return pipe;
}

bool WriteMessage(HANDLE pipe, const std::string& text, DWORD timeout_ms) {
  return WriteBytes(pipe, text.data(), static_cast<DWORD>(text.size()), timeout_ms);
}

bool WriteBytes(HANDLE handle, const void* data, DWORD size, DWORD timeout_ms) {
  DWORD bytes = 0;
  DWORD error = 0;
  const bool written = Transfer(handle, timeout_ms, bytes, error, [&](OVERLAPPED* overlapped) {
    return WriteFile(handle, data, size, nullptr, overlapped);
  });
  return written && bytes == size;
}

std::optional<std::string> ReadMessage(HANDLE pipe, DWORD timeout_ms) {
  std::string message;
  std::vector<char> chunk(kChunk);
  for (;;) {
    DWORD bytes = 0;
    DWORD error = 0;
    const bool read = Transfer(pipe, timeout_ms, bytes, error, [&](OVERLAPPED* overlapped) {
      return ReadFile(pipe, chunk.data(), kChunk, nullptr, overlapped);
    });
    if (!read) return std::nullopt;
    message.append(chunk.data(), bytes);
    if (error != ERROR_MORE_DATA) return message;
  }
}

std::optional<std::string> Request(const std::string& text) {
  HANDLE pipe = ConnectControl();
  if (pipe == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> reply;
  if (WriteMessage(pipe, text, kReplyTimeoutMs)) reply = ReadMessage(pipe, kReplyTimeoutMs);
  CloseHandle(pipe);
  return reply;
}

}  // namespace handsetsim::standin
