#include "panel/win32/tray_icon.h"

#include <shellapi.h>

namespace {
constexpr UINT kIconId = 1;
// The notification area's window, when the shell runs.
constexpr char kShellTrayClass[] = "Shell_TrayWnd";
}  // namespace

TTrayIcon::~TTrayIcon() { Remove(); }

bool TTrayIcon::Create(HWND owner, UINT callback_message, HICON image0, HICON image1) {
  owner_ = owner;
  callback_message_ = callback_message;
  images_[0] = image0;
  images_[1] = image1;
  const bool added = Notify(NIM_ADD);
  const bool shell_present = FindWindowA(kShellTrayClass, nullptr) != nullptr;
  return state_.AddResult(added, shell_present) != TTrayAddOutcome::Failed;
}

void TTrayIcon::SetHint(const std::string& hint) {
  hint_ = hint;
  if (state_.InNotificationArea()) Notify(NIM_MODIFY);
}

void TTrayIcon::SetIconIndex(int index) {
  if (state_.SetIconIndex(index)) Notify(NIM_MODIFY);
}

void TTrayIcon::TaskbarCreated() {
  if (!state_.TaskbarCreated()) return;
  // A shell that still knows the icon would refuse to add it twice.
  if (state_.InNotificationArea()) Notify(NIM_DELETE);
  state_.AddResult(Notify(NIM_ADD), true);
}

void TTrayIcon::Remove() {
  if (state_.InNotificationArea()) Notify(NIM_DELETE);
  state_.Removed();
}

bool TTrayIcon::Notify(DWORD action) {
  if (!owner_) return false;
  NOTIFYICONDATAA data = {};
  // The size Windows 2000 and XP know, which every later Windows takes as well.
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = owner_;
  data.uID = kIconId;
  if (action != NIM_DELETE) {
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callback_message_;
    data.hIcon = images_[state_.IconIndex() == 1 ? 1 : 0];
    lstrcpynA(data.szTip, hint_.c_str(), sizeof data.szTip);
  }
  return Shell_NotifyIconA(action, &data) != FALSE;
}
