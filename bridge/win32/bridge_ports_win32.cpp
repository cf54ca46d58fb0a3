#include "bridge/win32/bridge_ports_win32.h"

#include "common/win32/copydata_send.h"
#include "common/win32/registry.h"
#include "common/win32/window_handle_cast.h"
#include "common/window_messages.h"

namespace {

// Skype answers a command at once when it is well; a hung Skype may keep the bridge, and the
// handset keys behind it, waiting no longer than any other window may.
constexpr UINT kSkypeSendTimeoutMs = 1000;
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
  return SendCopyDataText(AsHwnd(skype), bridge_, text, kSkypeSendTimeoutMs);
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
