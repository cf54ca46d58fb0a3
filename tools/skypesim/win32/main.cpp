// skypesim: plays the Skype side of Skype's window-message API from a scenario, for tests
// and demos. Usage: skypesim [SCENARIO_FILE]; without a file the scenario is read from
// standard input. Every event is logged on standard output.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "tools/simkit/log_format.h"
#include "tools/skypesim/scenario_runner.h"
#include "tools/skypesim/win32/api_messages.h"
#include "tools/skypesim/win32/api_window.h"
#include "tools/simkit/win32/event_log.h"
#include "tools/simkit/win32/input_thread.h"
#include "tools/skypesim/win32/win32_port.h"

namespace {

constexpr int kUsageError = 2;

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
    ApiWindow window(runner, *queue, messages);
    if (window.handle() == nullptr) {
        std::fprintf(stderr, "skypesim: cannot create the API window (error %lu)\n", GetLastError());
        if (ownsInput) CloseHandle(input);
        return 1;
    }
    port.setWindow(window.handle());
    log.write("READY", simkit::hexValue(reinterpret_cast<UINT_PTR>(window.handle())));

    simkit::InputThread reader(input, ownsInput, window.handle(), kInputMessage, queue);
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) DispatchMessageA(&message);
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}
