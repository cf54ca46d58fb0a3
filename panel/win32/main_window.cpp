#include "panel/win32/main_window.h"

#include "common/win32/windows_version.h"
#include "panel/instance_names.h"
#include "panel/os_kind.h"
#include "panel/win32/resource_ids.h"
#include "panel/win32/window_ids.h"
#include "skin/win32/gdi.h"

namespace {

constexpr char kWindowClass[] = "TForm1";
constexpr char kTrayIconRefused[] = "Cannot Create System Shell Notification Icon";
// The client area, in 96-dpi pixels.
constexpr int kClientWidth = 488;
constexpr int kClientHeight = 295;

// RegisterWindowMessageA gives 0 when it fails: no message is then taken for it.
bool IsRegistered(UINT message, UINT registered) { return registered != 0 && message == registered; }

std::uint8_t RunningOsKind() {
  const TWindowsVersion version = RunningWindowsVersion();
  return OsKindOf(version.platform_id, version.major, version.minor);
}

}  // namespace

TMainWindow::TMainWindow(TApplicationWindow& application)
    : application_(application), settings_(settings_storage_, SettingsFilePath()) {}

TMainWindow::~TMainWindow() {
  // The window goes before the controls and the form it reaches.
  Destroy();
  // The form lets go of its backend before the endpoints are let go and their window goes.
  form_.reset();
  endpoint_window_.SetEvents(nullptr);
  endpoint_volume_.reset();
}

IVolumeBackend& TMainWindow::HandsetVolumeBackend(std::uint8_t os_kind) {
  // Not on the enumerator alone: Wine registers one also where it reports an older Windows.
  if (RunningWindowsVersion().major >= 6 && endpoint_window_.Available()) {
    endpoint_volume_ = std::make_unique<TEndpointVolumeBackend>(endpoint_window_.Port(), HandsetPatternFor(os_kind),
                                                                [this] {
                                                                  if (form_) form_->WMDeviceChange();
                                                                });
    endpoint_window_.SetEvents(&endpoint_volume_->Events());
    return *endpoint_volume_;
  }
  return handset_volume_;
}

bool TMainWindow::Create(TStartSwitch start_switch) {
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  // Tab and the arrow keys reach the controls on the pages.
  const DWORD ex_style = WS_EX_CONTROLPARENT;
  RECT frame = {0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);

  CreateArgs args;
  args.class_name = kWindowClass;
  args.title = panel_instance::kApplicationTitle;
  args.style = style;
  args.ex_style = ex_style;
  args.width = frame.right - frame.left;
  args.height = frame.bottom - frame.top;
  args.x = work.left + ((work.right - work.left) - args.width) / 2;
  args.y = work.top + ((work.bottom - work.top) - args.height) / 2;
  args.icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_HANDSET_PRESENT));
  if (!TWindow::Create(args)) return false;

  if (!CreateControls()) return false;
  IPanelPorts& ports = *this;
  const std::uint8_t os_kind = RunningOsKind();
  form_ = std::make_unique<TPanelForm>(ports, settings_, FormControls(), FormAudio(HandsetVolumeBackend(os_kind)), os_kind);
  WireEvents();
  if (!CreateTrayIcon()) {
    MessageBoxA(nullptr, kTrayIconRefused, panel_instance::kApplicationTitle, MB_OK | MB_ICONERROR);
    return false;
  }
  form_->Construct();
  form_->FormCreate(start_switch);
  created_ = true;
  return true;
}

bool TMainWindow::TranslateWindowKeys(MSG& message) {
  if (!Handle()) return false;
  if (suiPageControl1.TranslatePageKeys(message)) return true;
  return IsDialogMessageA(Handle(), &message) != FALSE;
}

LRESULT TMainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (ReflectToControl(Handle(), message, wparam, lparam, result)) return result;
  if (suiPopupMenuTrayIcon.HandleMenuMessage(message, wparam, lparam, result)) return result;
  if (form_ && HandleRegisteredMessage(message, wparam, result)) return result;
  switch (message) {
    case WM_COPYDATA:
      if (form_) return WMCopyData(wparam, lparam);
      break;
    case WM_DEVICECHANGE:
      if (form_) form_->WMDeviceChange();
      break;  // Windows' own handling still runs
    case msg::WM_BRIDGESTATUS:
      if (!form_) break;
      form_->WMBridgeStatus(static_cast<std::uint32_t>(wparam), static_cast<std::uint32_t>(lparam));
      return 1;
    case msg::WM_PANELEXIT:
      if (!form_) break;
      form_->WMPanelExit(wparam, lparam);
      return 1;
    case msg::WM_PANELRESTORE:
      if (!form_) break;
      form_->WMPanelRestore(wparam, lparam);
      return 1;
    case kMsgTrayIcon:
      WMTrayIcon(lparam);
      return 0;
    case kMsgOpenTrayMenu:
      suiPopupMenuTrayIcon.Popup(static_cast<int>(wparam), static_cast<int>(lparam));
      return 0;
    case WM_TIMER:
      WMTimer(wparam);
      return 0;
    case WM_COMMAND:
      // Escape, through the dialog keys: like the close box.
      if (LOWORD(wparam) == IDCANCEL) WMClose();
      return 0;
    case WM_CLOSE:
      WMClose();
      return 0;
    case WM_DESTROY:
      WMDestroy();
      return 0;
    case WM_ENDSESSION:
      WMEndSession(wparam);
      return 0;
    case WM_ACTIVATE:
      WMActivate(wparam);
      return 0;
    case WM_ERASEBKGND:
      return WMEraseBkgnd(reinterpret_cast<HDC>(wparam));
    default:
      break;
  }
  return TWindow::HandleMessage(message, wparam, lparam);
}

bool TMainWindow::HandleRegisteredMessage(UINT message, WPARAM wparam, LRESULT& result) {
  const auto is = [message](UINT registered) { return IsRegistered(message, registered); };
  result = 1;
  if (is(messages_.taskbar_created)) {
    TrayIconSts.TaskbarCreated();
    result = 0;
  } else if (is(messages_.winmm_device_change)) {
    form_->WMWinmmDeviceChange();
  } else if (is(messages_.panel_discover)) {
    form_->WMPanelDiscover(static_cast<WindowHandle>(wparam));
  } else if (is(messages_.panel_attach)) {
    form_->WMPanelAttach();
  } else {
    return false;
  }
  return true;
}

LRESULT TMainWindow::WMCopyData(WPARAM wparam, LPARAM lparam) {
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
  if (data != nullptr && form_->WMCopyData(data->lpData, data->cbData)) return 1;
  return TWindow::HandleMessage(WM_COPYDATA, wparam, lparam);
}

void TMainWindow::WMTimer(UINT_PTR timer) {
  switch (static_cast<TPanelTimer>(timer - kFirstTimerId)) {
    case TPanelTimer::DrvCheck:
      form_->TimerDrvCheckTimer();
      break;
    case TPanelTimer::DevChg:
      form_->TimerDevChgTimer();
      break;
    case TPanelTimer::KeyRepeat:
      form_->TimerKeyRepeatTimer();
      break;
    case TPanelTimer::MouseUp:
      form_->TimerMouseUpTimer();
      break;
  }
}

void TMainWindow::WMTrayIcon(LPARAM mouse_message) {
  POINT cursor = {};
  GetCursorPos(&cursor);
  switch (LOWORD(mouse_message)) {
    case WM_LBUTTONUP:
      form_->TrayIconStsMouseUp(TMouseButton::Left, cursor.x, cursor.y);
      break;
    case WM_RBUTTONUP:
      form_->TrayIconStsMouseUp(TMouseButton::Right, cursor.x, cursor.y);
      break;
    case WM_MBUTTONUP:
      form_->TrayIconStsMouseUp(TMouseButton::Middle, cursor.x, cursor.y);
      break;
    case WM_LBUTTONDBLCLK:
      form_->Restore();
      break;
    default:
      break;
  }
}

void TMainWindow::WMClose() {
  if (form_ && !form_->FormClose()) return;  // only hidden
  DestroyWindow(Handle());
}

void TMainWindow::WMDestroy() {
  for (int timer = 0; timer < kPanelTimerCount; ++timer) KillTimer(Handle(), kFirstTimerId + timer);
  // A start that failed read nothing, so it has nothing to save or say.
  if (created_) form_->FormDestroy();
  TrayIconSts.Remove();
  PostQuitMessage(0);
}

void TMainWindow::WMEndSession(WPARAM ending) {
  if (!ending) return;
  if (created_) form_->FormEndSession();
  TrayIconSts.Remove();
}

void TMainWindow::WMActivate(WPARAM state) {
  // As a dialog does: the focus comes back to the control that had it.
  if (LOWORD(state) == WA_INACTIVE) {
    focus_before_deactivation_ = GetFocus();
    return;
  }
  HWND focus = focus_before_deactivation_;
  if (!focus || !IsChild(Handle(), focus) || !IsWindowVisible(focus) || !IsWindowEnabled(focus)) {
    focus = GetNextDlgTabItem(Handle(), nullptr, FALSE);
  }
  if (focus) SetFocus(focus);
}

LRESULT TMainWindow::WMEraseBkgnd(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, ThemeBrush(theme::kWindow));
  return 1;
}
