#include "tools/skypesim/win32/win32_port.h"

namespace skypesim {
namespace {

// Long enough for any live client, short enough that a hung one does not stall the scenario.
constexpr UINT kSendTimeoutMs = 5000;

HWND toHandle(WindowId id) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(id));
}

}  // namespace

void Win32Port::log(const std::string& event, const std::string& details) {
    if (sendReturned_) log_.write(event, details, sendBegan_);
    else log_.write(event, details);
    sendReturned_ = false;
}

SendResult Win32Port::sendAttach(WindowId client, std::uint32_t status) {
    return sendWithTimeout(client, messages_.attach, reinterpret_cast<WPARAM>(window_), static_cast<LPARAM>(status));
}

SendResult Win32Port::broadcastAttach(std::uint32_t status) {
    // Each window gets the time a client gets; a hung one is passed over.
    SendResult result;
    DWORD_PTR ignored = 0;
    result.delivered = SendMessageTimeoutA(HWND_BROADCAST, messages_.attach, reinterpret_cast<WPARAM>(window_),
                                           static_cast<LPARAM>(status), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                           &ignored) != 0;
    if (!result.delivered) result.error = GetLastError();
    return result;
}

SendResult Win32Port::sendCopyData(WindowId client, const char* data, std::size_t size) {
    COPYDATASTRUCT copyData = {};
    copyData.dwData = 0;
    copyData.cbData = static_cast<DWORD>(size);
    copyData.lpData = const_cast<char*>(data);  // the receiver only reads it
    return sendWithTimeout(client, WM_COPYDATA, reinterpret_cast<WPARAM>(window_),
                           reinterpret_cast<LPARAM>(&copyData));
}

SendResult Win32Port::sendMessage(WindowId client, std::uint32_t message, std::int64_t wParam,
                                  std::int64_t lParam) {
    return sendWithTimeout(client, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

SendResult Win32Port::postMessage(WindowId client, std::uint32_t message, std::int64_t wParam,
                                  std::int64_t lParam) {
    SendResult result;
    result.delivered = PostMessageA(toHandle(client), message, static_cast<WPARAM>(wParam),
                                    static_cast<LPARAM>(lParam)) != FALSE;
    if (!result.delivered) result.error = GetLastError();
    return result;
}

// While waiting, messages other programs send to this thread are still handled, so a client
// may send commands back while it handles ours.
SendResult Win32Port::sendWithTimeout(WindowId client, UINT message, WPARAM wParam, LPARAM lParam) {
    SendResult result;
    DWORD_PTR value = 0;
    const std::uint64_t began = log_.now();
    SetLastError(ERROR_SUCCESS);
    result.delivered =
        SendMessageTimeoutA(toHandle(client), message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &value) != 0;
    if (result.delivered) result.value = static_cast<std::int64_t>(static_cast<LONG_PTR>(value));
    else result.error = GetLastError();
    // Set after the send: what was logged while the client handled it had its own moments.
    sendBegan_ = began;
    sendReturned_ = true;
    return result;
}

void Win32Port::startTimer(unsigned id, std::uint32_t milliseconds) {
    // Never leave the scenario paused for good: without a timer, end the pause at once.
    if (SetTimer(window_, id, milliseconds, nullptr) == 0) PostMessageA(window_, WM_TIMER, id, 0);
}

void Win32Port::stopTimer(unsigned id) {
    KillTimer(window_, id);
}

void Win32Port::wakeUp() {
    PostMessageA(window_, kWakeUpMessage, 0, 0);
}

void Win32Port::freeze(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

void Win32Port::quit() {
    PostQuitMessage(0);
}

void Win32Port::reopenWindow() {
    // The window cannot be replaced from inside its own window procedure: the message loop does it.
    PostThreadMessageA(GetCurrentThreadId(), kReopenMessage, 0, 0);
}

}  // namespace skypesim
