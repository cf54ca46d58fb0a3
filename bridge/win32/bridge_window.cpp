#include "bridge/win32/bridge_window.h"

#include "bridge/win32/diagnostic_log_file.h"
#include "common/win32/windows_version.h"
#include "common/window_messages.h"
#include "handset/no_handset_manager.h"
#include "handset/service_binding.h"

namespace {
constexpr char kWindowClass[] = "TTalvekSkypeForm";
constexpr UINT_PTR kCheckTalkingTimer = 1;
constexpr UINT kCheckTalkingIntervalMs = 1000;
// Far off every screen, in case anything ever shows it.
constexpr int kOffScreen = -5000;
}  // namespace

TBridgeWindow::~TBridgeWindow() { Destroy(); }

bool TBridgeWindow::Create() {
  CreateArgs args;
  args.class_name = kWindowClass;
  args.title = "handsetlink";
  args.style = WS_POPUP;
  // A tool window gets no taskbar button; the window is never shown in any case.
  args.ex_style = WS_EX_TOOLWINDOW;
  args.x = kOffScreen;
  args.y = kOffScreen;
  args.width = 1;
  args.height = 1;
  if (!TWindow::Create(args)) return false;
  FormCreate();
  return true;
}

void TBridgeWindow::FormCreate() {
  ports_ = std::make_unique<TWin32BridgePorts>(Handle(), messages_);
  log_ = MakeDiagnosticLog(DiagnosticLogWanted(*ports_));
  logged_ports_ = std::make_unique<TLoggedBridgePorts>(*ports_, *log_);
  form_ = std::make_unique<TTalvekSkypeForm>(*logged_ports_, static_cast<int>(RunningWindowsVersion().major));
  form_->FormCreate(std::make_unique<TLoggedDeviceManager>(CreateDeviceManager(), *log_));
  SetTimer(Handle(), kCheckTalkingTimer, kCheckTalkingIntervalMs, nullptr);
}

std::unique_ptr<IHandsetDeviceManager> TBridgeWindow::CreateDeviceManager() {
  hid_platform_ = std::make_unique<TWin32HidPlatform>();
  try {
    return std::make_unique<TUSBPhoneDevice>(*hid_platform_);
  } catch (const WBSDKError& error) {
    // The HID services are there but incomplete: say so once, and serve Skype without handsets.
    MessageBoxA(nullptr, error.what(), "handsetlink", MB_OK | MB_ICONERROR);
    return std::make_unique<TNoHandsetManager>();
  }
}

void TBridgeWindow::FormDestroy() {
  KillTimer(Handle(), kCheckTalkingTimer);
  if (form_) form_->FormDestroy();
}

LRESULT TBridgeWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!form_) return TWindow::HandleMessage(message, wparam, lparam);

  if (message == messages_.skype_attach) {
    log_->SkypeAttach(lparam);
    return form_->OnSkypeAttach(static_cast<WindowHandle>(wparam), lparam);
  }
  if (message == messages_.panel_attach) {
    return form_->OnPanelAttach(static_cast<WindowHandle>(wparam), lparam);
  }
  switch (message) {
    case WM_COPYDATA:
      return WMCopyData(lparam);
    case msg::WM_HANDSETKEY:
      log_->HandsetKey(static_cast<std::uint8_t>(wparam & 0xFF));
      form_->WMHandsetKey(static_cast<std::uint8_t>(wparam & 0xFF));
      return 0;
    case msg::WM_HANDSETDIALRESET:
      form_->WMHandsetDialReset();
      return 0;
    case msg::WM_SKYPEQUERY:
      form_->WMSkypeQuery(static_cast<std::intptr_t>(wparam), static_cast<std::int32_t>(lparam));
      return 0;
    case WM_TIMER:
      if (wparam == kCheckTalkingTimer) form_->CheckTalkingTimerTimer();
      return 0;
    case WM_ENDSESSION:
      form_->WMEndSession();
      return 0;
    case WM_DESTROY:
      FormDestroy();
      PostQuitMessage(0);
      return 0;
    default:
      return TWindow::HandleMessage(message, wparam, lparam);
  }
}

LRESULT TBridgeWindow::WMCopyData(LPARAM lparam) {
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
  if (data == nullptr) return 1;
  log_->TextIn(data->lpData, data->cbData);
  return form_->WMCopyData(data->lpData, data->cbData);
}
