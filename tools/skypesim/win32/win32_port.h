#pragma once

#include <windows.h>

#include "tools/skypesim/simulator_port.h"
#include "tools/skypesim/win32/api_messages.h"
#include "tools/simkit/win32/event_log.h"

namespace skypesim {

// The simulator's outside world as Win32 calls made on behalf of its API window.
class Win32Port : public SimulatorPort {
public:
    Win32Port(simkit::EventLog& log, const ApiMessages& messages) : log_(log), messages_(messages) {}

    void setWindow(HWND window) { window_ = window; }

    void log(const std::string& event, const std::string& details) override;
    SendResult sendAttach(WindowId client, std::uint32_t status) override;
    SendResult broadcastAttach(std::uint32_t status) override;
    SendResult sendCopyData(WindowId client, const char* data, std::size_t size) override;
    SendResult sendMessage(WindowId client, std::uint32_t message, std::int64_t wParam,
                           std::int64_t lParam) override;
    SendResult postMessage(WindowId client, std::uint32_t message, std::int64_t wParam,
                           std::int64_t lParam) override;
    void startTimer(unsigned id, std::uint32_t milliseconds) override;
    void stopTimer(unsigned id) override;
    void wakeUp() override;
    void freeze(std::uint32_t milliseconds) override;
    void quit() override;
    void reopenWindow() override;

private:
    SendResult sendWithTimeout(WindowId client, UINT message, WPARAM wParam, LPARAM lParam);

    simkit::EventLog& log_;
    ApiMessages messages_;
    HWND window_ = nullptr;
    // When the send that just returned began: the event that tells of it, logged next, carries
    // that moment (the client handles a send before it returns).
    std::uint64_t sendBegan_ = 0;
    bool sendReturned_ = false;
};

}  // namespace skypesim
