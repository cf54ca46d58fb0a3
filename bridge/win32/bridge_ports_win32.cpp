#include "bridge/win32/bridge_ports_win32.h"

#include "common/win32/copydata_send.h"
#include "common/win32/registry.h"
#include "common/win32/window_handle_cast.h"
#include "common/window_messages.h"

namespace {

// Skype answers a command at once when it is well; a hung Skype may keep the bridge, and the
// handset keys behind it, waiting no longer than any other window may.
constexpr UINT kSkypeSendTimeoutMs = 1000;
// For a moment after a command Skype did not answer, the next ones wait only briefly: a key or
// an attach that sends several commands to a Skype that just froze holds the bridge for one
// full wait, not one for each (Windows itself calls it hung only after 5 s). Later commands
// get the full wait again, so a Skype that thawed is not hurried.
constexpr UINT kUnansweredSkypeSendTimeoutMs = 100;
constexpr DWORD kUnansweredSkypeMomentMs = 2000;
// The panel answers at once; it is only ever waited for briefly.
constexpr UINT kPanelSendTimeoutMs = 500;

constexpr char kSettingsKeyPath[] = "\\Software\\TALVEK\\USB_PHONE_K42";

}  // namespace

bool TWin32BridgePorts::IsWindow(WindowHandle window) {
  return window != 0 && ::IsWindow(AsHwnd(window));
}

bool TWin32BridgePorts::BelongsToThisProcess(WindowHandle window) {
  if (AsHwnd(window) == bridge_) return true;
  DWORD process = 0;
  GetWindowThreadProcessId(AsHwnd(window), &process);
  return process == GetCurrentProcessId();
}

std::intptr_t TWin32BridgePorts::SendToSkypeWindow(WindowHandle skype, const std::string& text) {
  // Unsigned ticks: the difference stays right across the counter's wrap.
  const bool just_unanswered =
      skype == unanswering_skype_ && GetTickCount() - unanswered_at_ < kUnansweredSkypeMomentMs;
  const UINT timeout_ms = just_unanswered ? kUnansweredSkypeSendTimeoutMs : kSkypeSendTimeoutMs;
  LRESULT result = 0;
  const bool answered = SendCopyDataTextAnswered(AsHwnd(skype), bridge_, text, timeout_ms, result);
  unanswering_skype_ = answered ? 0 : skype;
  if (!answered && !just_unanswered) unanswered_at_ = GetTickCount();
  return result;
}

void TWin32BridgePorts::SendToPanelWindow(WindowHandle panel, const std::string& text) {
  SendCopyDataText(AsHwnd(panel), bridge_, text, kPanelSendTimeoutMs);
}

void TWin32BridgePorts::PostPanelStatus(WindowHandle panel, std::uint32_t link_status,
                                        std::uint32_t report) {
  PostMessageA(AsHwnd(panel), msg::WM_BRIDGESTATUS, link_status, static_cast<LPARAM>(report));
}

// Posted, not sent: a sent broadcast waits for every top-level window in turn, so a frozen
// Skype (or any hung window) would hold the bridge for its time-out once per window it owns.
// Skype and the panel answer a posted discovery just the same, with their attach.
void TWin32BridgePorts::BroadcastSkypeDiscover() {
  PostMessageA(HWND_BROADCAST, messages_.skype_discover, reinterpret_cast<WPARAM>(bridge_), 0);
}

void TWin32BridgePorts::BroadcastPanelDiscover() {
  PostMessageA(HWND_BROADCAST, messages_.panel_discover, reinterpret_cast<WPARAM>(bridge_), 0);
}

void TWin32BridgePorts::ReplyToSender() { ReplyMessage(1); }

void TWin32BridgePorts::PostSkypeQuery(int query, std::int32_t argument) {
  PostMessageA(bridge_, msg::WM_SKYPEQUERY, static_cast<WPARAM>(query), static_cast<LPARAM>(argument));
}

void TWin32BridgePorts::PostHandsetKey(std::uint8_t key) {
  PostMessageA(bridge_, msg::WM_HANDSETKEY, key, 0);
}

void TWin32BridgePorts::PostDialBufferReset() { PostMessageA(bridge_, msg::WM_HANDSETDIALRESET, 0, 0); }

void TWin32BridgePorts::NoteRefusedCommand() {
  // Nothing is shown to the user; a debugger can still see it.
  OutputDebugStringA("ERROR\n");
}

std::unique_ptr<IRegistryKey> TWin32BridgePorts::OpenSettingsKey() {
  return OpenRegistryKey(HKEY_CURRENT_USER, kSettingsKeyPath);
}
