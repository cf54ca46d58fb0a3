#include "tools/skypesim/win32/win32_port.h"

namespace skypesim {
namespace {

// Long enough for any live client, short enough that a hung one does not stall the scenario.
constexpr UINT kSendTimeoutMs = 5000;

HWND ToHandle(WindowId id) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(id)); }

}  // namespace

void TWin32Port::Log(const std::string& event, const std::string& details) {
  if (send_returned_)
    log_.Write(event, details, send_began_);
  else
    log_.Write(event, details);
  send_returned_ = false;
}

TSendResult TWin32Port::SendAttach(WindowId client, std::uint32_t status) {
  return SendWithTimeout(client, messages_.attach, reinterpret_cast<WPARAM>(window_), static_cast<LPARAM>(status));
}

TSendResult TWin32Port::BroadcastAttach(std::uint32_t status) {
  // Each window gets the time a client gets; a hung one is passed over.
  TSendResult result;
  DWORD_PTR ignored = 0;
  result.delivered = SendMessageTimeoutA(HWND_BROADCAST, messages_.attach, reinterpret_cast<WPARAM>(window_),
                                         static_cast<LPARAM>(status), SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored) != 0;
  if (!result.delivered) result.error = GetLastError();
  return result;
}

TSendResult TWin32Port::SendCopyData(WindowId client, const char* data, std::size_t size) {
  COPYDATASTRUCT copy_data = {};
  copy_data.dwData = 0;
  copy_data.cbData = static_cast<DWORD>(size);
  copy_data.lpData = const_cast<char*>(data);  // the receiver only reads it
  return SendWithTimeout(client, WM_COPYDATA, reinterpret_cast<WPARAM>(window_), reinterpret_cast<LPARAM>(&copy_data));
}

TSendResult TWin32Port::SendToWindow(WindowId client, std::uint32_t message, std::int64_t wparam, std::int64_t lparam) {
  return SendWithTimeout(client, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

TSendResult TWin32Port::PostToWindow(WindowId client, std::uint32_t message, std::int64_t wparam, std::int64_t lparam) {
  TSendResult result;
  result.delivered =
      PostMessageA(ToHandle(client), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam)) != FALSE;
  if (!result.delivered) result.error = GetLastError();
  return result;
}

// While waiting, messages other programs send to this thread are still handled, so a client
// may send commands back while it handles ours.
TSendResult TWin32Port::SendWithTimeout(WindowId client, UINT message, WPARAM wparam, LPARAM lparam) {
  TSendResult result;
  DWORD_PTR value = 0;
  const std::uint64_t began = log_.Now();
  SetLastError(ERROR_SUCCESS);
  result.delivered =
      SendMessageTimeoutA(ToHandle(client), message, wparam, lparam, SMTO_NORMAL, kSendTimeoutMs, &value) != 0;
  if (result.delivered)
    result.value = static_cast<std::int64_t>(static_cast<LONG_PTR>(value));
  else
    result.error = GetLastError();
  // Set after the send: what was logged while the client handled it had its own moments.
  send_began_ = began;
  send_returned_ = true;
  return result;
}

void TWin32Port::StartTimer(unsigned id, std::uint32_t milliseconds) {
  // Never leave the scenario paused for good: without a timer, end the pause at once.
  if (SetTimer(window_, id, milliseconds, nullptr) == 0) PostMessageA(window_, WM_TIMER, id, 0);
}

void TWin32Port::StopTimer(unsigned id) { KillTimer(window_, id); }

void TWin32Port::WakeUp() { PostMessageA(window_, kWakeUpMessage, 0, 0); }

void TWin32Port::Freeze(std::uint32_t milliseconds) { Sleep(milliseconds); }

void TWin32Port::Quit() { PostQuitMessage(0); }

void TWin32Port::ReopenWindow() {
  // The window cannot be replaced from inside its own window procedure: the message loop does it.
  PostThreadMessageA(GetCurrentThreadId(), kReopenMessage, 0, 0);
}

}  // namespace skypesim
