// skypesim: plays the Skype side of Skype's window-message API from a scenario, for tests
// and demos. Usage: skypesim [SCENARIO_FILE]; without a file the scenario is read from
// standard input. Every event is logged on standard output.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "tools/simkit/log_format.h"
#include "tools/skypesim/scenario_runner.h"
#include "tools/skypesim/win32/api_messages.h"
#include "tools/skypesim/win32/api_window.h"
#include "tools/simkit/win32/event_log.h"
#include "tools/simkit/win32/input_thread.h"
#include "tools/skypesim/win32/win32_port.h"

namespace {

constexpr int kUsageError = 2;

std::string windowText(HWND window) {
    return simkit::hexValue(reinterpret_cast<UINT_PTR>(window));
}

// Opens a new API window, lets input and the port use it, then closes the old one, so no
// scenario line is posted to a window that is gone. False when no new window could be made.
bool reopen(std::unique_ptr<skypesim::ApiWindow>& window, skypesim::ScenarioRunner& runner,
            simkit::InputQueue& queue, const skypesim::ApiMessages& messages, skypesim::Win32Port& port,
            simkit::InputThread& reader, simkit::EventLog& log) {
    auto fresh = std::make_unique<skypesim::ApiWindow>(runner, queue, messages);
    if (fresh->handle() == nullptr) return false;
    port.setWindow(fresh->handle());
    reader.retarget(fresh->handle());
    window->closeForReopen();
    window = std::move(fresh);
    log.write("READY", windowText(window->handle()));
    // Lines that arrived while the old window was closing were announced to it.
    PostMessageA(window->handle(), skypesim::kInputMessage, 0, 0);
    runner.onReopened();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace skypesim;
    if (argc > 2) {
        std::fprintf(stderr, "usage: skypesim [SCENARIO_FILE]\n");
        return kUsageError;
    }
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    const bool ownsInput = argc == 2;
    if (ownsInput) {
        input = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (input == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "skypesim: cannot open %s (error %lu)\n", argv[1], GetLastError());
            return kUsageError;
        }
    }

    simkit::EventLog log;
    const ApiMessages messages = registerApiMessages();
    Win32Port port(log, messages);
    ScenarioRunner runner(port);
    auto queue = std::make_shared<simkit::InputQueue>();
    auto window = std::make_unique<ApiWindow>(runner, *queue, messages);
    if (window->handle() == nullptr) {
        std::fprintf(stderr, "skypesim: cannot create the API window (error %lu)\n", GetLastError());
        if (ownsInput) CloseHandle(input);
        return 1;
    }
    port.setWindow(window->handle());
    log.write("READY", windowText(window->handle()));

    simkit::InputThread reader(input, ownsInput, window->handle(), kInputMessage, queue);
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (message.hwnd == nullptr && message.message == kReopenMessage) {
            if (!reopen(window, runner, *queue, messages, port, reader, log)) {
                std::fprintf(stderr, "skypesim: cannot open a new API window (error %lu)\n", GetLastError());
                return 1;
            }
            continue;
        }
        DispatchMessageA(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}
