#pragma once
// The bridge's one window, TTalvekSkypeForm: never shown, it receives Skype's and the
// panel's messages and the handset keys, and hands each to the bridge logic.
#include <memory>

#include "bridge/diagnostic_log.h"
#include "bridge/logged_ports.h"
#include "bridge/talvek_skype_form.h"
#include "bridge/win32/bridge_ports_win32.h"
#include "common/win32/registered_messages.h"
#include "common/win32/window.h"
#include "handset/win32/hid_platform_win32.h"

class TBridgeWindow final : public TWindow {
 public:
  TBridgeWindow() = default;
  ~TBridgeWindow() override;

  // Creates the hidden window and runs the start sequence; false when no window could be made.
  bool Create();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void FormCreate();
  std::unique_ptr<IHandsetDeviceManager> CreateDeviceManager();
  void FormDestroy();
  LRESULT WMCopyData(LPARAM lparam);

  TRegisteredMessages messages_;
  std::unique_ptr<TWin32BridgePorts> ports_;
  // The diagnostic log (off unless asked for) and the ports that write to it on the way
  // out; the form uses these. Declared before the form, which reaches both.
  std::unique_ptr<TDiagnosticLog> log_;
  std::unique_ptr<TLoggedBridgePorts> logged_ports_;
  // Declared before the form, which owns the device manager that uses it.
  std::unique_ptr<TWin32HidPlatform> hid_platform_;
  std::unique_ptr<TTalvekSkypeForm> form_;
};
