#include "tools/mmdevsim/win32/command_pipe.h"

#include <windows.h>

#include <functional>
#include <thread>

#include "tools/mmdevsim/win32/simulation.h"
#include "tools/simkit/line_splitter.h"

namespace mmdevsim {
namespace {

void answer(HANDLE pipe, bool ok) {
    const char* text = ok ? "OK\n" : "ERROR\n";
    DWORD written = 0;
    WriteFile(pipe, text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
}

void serveClient(Simulation& simulation, HANDLE pipe) {
    simkit::LineSplitter splitter;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        for (const std::string& line : splitter.feed(buffer, got)) {
            answer(pipe, simulation.command(line));
        }
    }
}

HANDLE makeInstance(const std::string& path) {
    return CreateNamedPipeA(path.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                            PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
}

void serve(Simulation& simulation, std::string path) {
    HANDLE next = makeInstance(path);
    while (next != INVALID_HANDLE_VALUE) {
        HANDLE pipe = next;
        const bool connected = ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
        // The next instance exists before this client is served, so a client that comes
        // right after it always finds the pipe.
        next = makeInstance(path);
        if (connected) serveClient(simulation, pipe);
        DisconnectNamedPipe(pipe);
        CloseHandle(pipe);
    }
    simulation.log("ERROR pipe: cannot serve " + path);
}

}  // namespace

void serveCommandPipe(Simulation& simulation, const std::string& name) {
    if (name.empty()) return;
    const std::string path = "\\\\.\\pipe\\" + name;
    simulation.log("PIPE " + path);
    std::thread(serve, std::ref(simulation), path).detach();
}

}  // namespace mmdevsim
