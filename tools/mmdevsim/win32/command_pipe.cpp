#include "tools/mmdevsim/win32/command_pipe.h"

#include <windows.h>

#include <functional>
#include <thread>

#include "tools/mmdevsim/win32/simulation.h"
#include "tools/simkit/line_splitter.h"

namespace mmdevsim {
namespace {

void Answer(HANDLE pipe, bool ok) {
  const char* text = ok ? "OK\n" : "ERROR\n";
  DWORD written = 0;
  WriteFile(pipe, text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
}

void ServeClient(TSimulation& simulation, HANDLE pipe) {
  simkit::TLineSplitter splitter;
  char buffer[512];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    for (const std::string& line : splitter.Feed(buffer, got)) {
      Answer(pipe, simulation.Command(line));
    }
  }
}

HANDLE MakeInstance(const std::string& path) {
  return CreateNamedPipeA(path.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                          PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
}

void Serve(TSimulation& simulation, std::string path) {
  HANDLE next = MakeInstance(path);
  while (next != INVALID_HANDLE_VALUE) {
    HANDLE pipe = next;
    const bool connected = ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
    // The next instance exists before this client is served, so a client that comes
    // right after it always finds the pipe.
    next = MakeInstance(path);
    if (connected) ServeClient(simulation, pipe);
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
  }
  simulation.Log("ERROR pipe: cannot serve " + path);
}

}  // namespace

void ServeCommandPipe(TSimulation& simulation, const std::string& name) {
  if (name.empty()) return;
  const std::string path = "\\\\.\\pipe\\" + name;
  simulation.Log("PIPE " + path);
  std::thread(Serve, std::ref(simulation), path).detach();
}

}  // namespace mmdevsim
