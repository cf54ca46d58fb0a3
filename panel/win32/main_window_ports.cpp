// What the panel logic asks of Windows, done for the main window.
#include "audio/win32/sound_control_panel.h"
#include "common/win32/copydata_send.h"
#include "common/win32/window_handle_cast.h"
#include "common/window_messages.h"
#include "panel/win32/main_window.h"
#include "panel/win32/window_ids.h"

namespace {

// Every send toward another window gives up after this, or at once when it hangs.
constexpr UINT kSendTimeoutMs = 500;

UINT IntervalOf(TPanelTimer timer) {
  switch (timer) {
    case TPanelTimer::DrvCheck:
      return 3000;
    case TPanelTimer::DevChg:
      return 1000;
    case TPanelTimer::KeyRepeat:
      return 300;
    case TPanelTimer::MouseUp:
    default:
      return 500;
  }
}

}  // namespace

void TMainWindow::ReplyToSender() { ReplyMessage(1); }

void TMainWindow::AnnounceToBridges() {
  SendAttach(HWND_BROADCAST, reinterpret_cast<WPARAM>(Handle()), msg::kAttachApiAvailable);
}

void TMainWindow::AnswerDiscovery(WindowHandle bridge) {
  PostMessageA(AsHwnd(bridge), messages_.panel_attach, reinterpret_cast<WPARAM>(Handle()), msg::kAttachSuccess);
}

void TMainWindow::SayFarewell(WindowHandle bridge) { SendAttach(AsHwnd(bridge), 0, 0); }

void TMainWindow::SendAttach(HWND to, WPARAM wparam, LPARAM lparam) {
  // Inside a message sent to us the sender may be waiting for us: never block on it.
  if (InSendMessage()) return;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(to, messages_.panel_attach, wparam, lparam, SMTO_ABORTIFHUNG | SMTO_NORMAL, kSendTimeoutMs,
                      &ignored);
}

void TMainWindow::SendTextBounded(WindowHandle to, const std::string& text) {
  if (InSendMessage()) return;
  SendCopyDataText(AsHwnd(to), Handle(), text, kSendTimeoutMs);
}

void TMainWindow::StartTimer(TPanelTimer timer) {
  SetTimer(Handle(), kFirstTimerId + static_cast<UINT_PTR>(timer), IntervalOf(timer), nullptr);
}

void TMainWindow::StopTimer(TPanelTimer timer) { KillTimer(Handle(), kFirstTimerId + static_cast<UINT_PTR>(timer)); }

void TMainWindow::SetTrayIconIndex(int index) { TrayIconSts.SetIconIndex(index); }

void TMainWindow::ShowLinkState(const std::string& tray_hint, const std::string& grey_groups_note) {
  TrayIconSts.SetHint(tray_hint);
  LabelGreyGroups.SetCaption(grey_groups_note);
  LabelGreyGroups.SetVisible(!grey_groups_note.empty());
}

TScreenPoint TMainWindow::CursorPos() {
  POINT cursor = {};
  GetCursorPos(&cursor);
  return {cursor.x, cursor.y};
}

void TMainWindow::PopupTrayMenu(TScreenPoint at) {
  // Opened from a message of its own, after the click's handling has returned.
  PostMessageA(Handle(), kMsgOpenTrayMenu, static_cast<WPARAM>(at.x), static_cast<LPARAM>(at.y));
}

void TMainWindow::ShowMainWindow() {
  if (!IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOW);
}

void TMainWindow::HideMainWindow() { ShowWindow(Handle(), SW_HIDE); }

void TMainWindow::ForceForeground() {
  HWND window = Handle();
  HWND foreground = GetForegroundWindow();
  if (foreground == window) return;
  const DWORD foreground_thread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  const DWORD own_thread = GetCurrentThreadId();
  if (foreground_thread != 0 && foreground_thread != own_thread) {
    // Windows lets the foreground pass only from the thread that has it: share its input
    // for the moment of the switch.
    AttachThreadInput(foreground_thread, own_thread, TRUE);
    SetForegroundWindow(window);
    AttachThreadInput(foreground_thread, own_thread, FALSE);
  } else {
    SetForegroundWindow(window);
  }
  ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
}

void TMainWindow::CloseMainWindow() {
  // Posted: the window is never destroyed in the middle of one of its own handlers.
  PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TMainWindow::TerminateApplication() { PostQuitMessage(0); }

void TMainWindow::SetFormProperty() { application_.SetFormProperty(Handle()); }

void TMainWindow::RemoveFormProperty() { application_.RemoveFormProperty(); }

void TMainWindow::StartSoundControlPanel(std::uint8_t os_kind) { ::StartSoundControlPanel(os_kind); }
