#include "tools/panelsim/win32/panel_window.h"

#include <string>
#include <vector>

#include "common/copydata_text.h"
#include "common/win32/copydata_send.h"
#include "common/window_messages.h"
#include "tools/simkit/log_format.h"

namespace panelsim {
namespace {

// The real panel's bound on every send to the bridge.
constexpr UINT kPanelSendTimeoutMs = 500;

std::string Hex(const void* window) { return simkit::HexValue(reinterpret_cast<UINT_PTR>(window)); }

}  // namespace

TPanelWindow::TPanelWindow(simkit::TEventLog& log, simkit::TInputQueue& input)
    : log_(log), input_(input), send_timeout_ms_(kPanelSendTimeoutMs) {}

bool TPanelWindow::Create() {
  CreateArgs args;
  args.class_name = "PanelSimulatorWindow";
  args.title = "panelsim";
  args.style = WS_POPUP;
  args.ex_style = WS_EX_TOOLWINDOW;
  return TWindow::Create(args);
}

LRESULT TPanelWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == messages_.panel_discover) {
    OnDiscover(reinterpret_cast<HWND>(wparam));
    return 0;
  }
  switch (message) {
    case msg::WM_BRIDGESTATUS:
      log_.Write("STATUS", StatusReportText(wparam, static_cast<std::uint32_t>(lparam)));
      return 0;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      const std::string text = data ? copydata::TextFrom(data->lpData, data->cbData) : std::string();
      log_.Write("TEXT", "cb=" + std::to_string(data ? data->cbData : 0) + " " + text);
      return 1;
    }
    case kInputMessage:
      TakeInput();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return TWindow::HandleMessage(message, wparam, lparam);
  }
}

void TPanelWindow::OnDiscover(HWND bridge) {
  log_.Write("DISCOVER", Hex(bridge));
  bridge_ = bridge;
  if (auto_attach_) {
    // Posted, as the real panel does: the bridge is inside its broadcast right now.
    PostMessageA(bridge_, messages_.panel_attach, reinterpret_cast<WPARAM>(Handle()), 0);
    log_.Write("ATTACH", Hex(bridge_));
  }
}

void TPanelWindow::TakeInput() {
  const bool ended = input_.RunLines([this](std::string& line) {
    Run(ParsePanelCommand(line), line);
    return Handle() != nullptr;  // gone after quit
  });
  if (ended) {
    log_.Write("QUIT", "");
    Destroy();
  }
}

void TPanelWindow::LogResult(const char* event, const std::string& details, BOOL sent, DWORD_PTR result) {
  const std::string outcome =
      sent ? "RESULT " + std::to_string(result) : "RESULT FAILED " + std::to_string(GetLastError());
  log_.Write(event, details.empty() ? outcome : details + " " + outcome);
}

void TPanelWindow::Run(const TPanelCommand& command, const std::string& line) {
  const WPARAM self = reinterpret_cast<WPARAM>(Handle());
  DWORD_PTR result = 0;
  switch (command.kind) {
    case TPanelCommandKind::Nothing:
      return;
    case TPanelCommandKind::Invalid:
      log_.Write("ERROR", line);
      return;
    case TPanelCommandKind::Announce:
      SendMessageTimeoutA(HWND_BROADCAST, messages_.panel_attach, self, msg::kAttachApiAvailable, SMTO_ABORTIFHUNG,
                          send_timeout_ms_, &result);
      log_.Write("ANNOUNCE", "");
      return;
    case TPanelCommandKind::AutoAttach:
      auto_attach_ = command.on;
      return;
    case TPanelCommandKind::Freeze:
      Sleep(command.milliseconds);
      return;
    case TPanelCommandKind::SendTimeout:
      send_timeout_ms_ = command.milliseconds;
      return;
    case TPanelCommandKind::Quit:
      log_.Write("QUIT", "");
      Destroy();
      return;
    case TPanelCommandKind::PostTo: {
      // Any program can reach a top-level window of a known class.
      HWND target = FindWindowA(command.window_class.c_str(), nullptr);
      const BOOL posted =
          target != nullptr && PostMessageA(target, command.message, static_cast<WPARAM>(command.wparam),
                                            static_cast<LPARAM>(command.lparam));
      log_.Write("POST-TO", line.substr(line.find("post-to") + 8) + (posted ? "" : " FAILED"));
      return;
    }
    default:
      break;
  }

  if (bridge_ == nullptr) {
    log_.Write("ERROR", line + " (no bridge window)");
    return;
  }
  switch (command.kind) {
    case TPanelCommandKind::Attach: {
      const WPARAM named = command.window != 0 ? static_cast<WPARAM>(command.window) : self;
      PostMessageA(bridge_, messages_.panel_attach, named, 0);
      log_.Write("ATTACH", Hex(bridge_) + (command.window != 0 ? " naming " + simkit::HexValue(named) : ""));
      break;
    }
    case TPanelCommandKind::SendText: {
      const LRESULT answer = SendCopyDataText(bridge_, Handle(), command.text, send_timeout_ms_);
      log_.Write("SENT", command.text + " RESULT " + std::to_string(answer));
      break;
    }
    case TPanelCommandKind::Request: {
      const LRESULT answer = SendCopyDataText(bridge_, Handle(), "!" + command.text, send_timeout_ms_);
      log_.Write("REQUEST", command.text + " RESULT " + std::to_string(answer));
      break;
    }
    case TPanelCommandKind::Farewell: {
      const BOOL sent =
          SendMessageTimeoutA(bridge_, messages_.panel_attach, 0, 0, SMTO_ABORTIFHUNG, send_timeout_ms_, &result) != 0;
      LogResult("FAREWELL", "", sent, result);
      break;
    }
    case TPanelCommandKind::Post:
      PostMessageA(bridge_, command.message, static_cast<WPARAM>(command.wparam), static_cast<LPARAM>(command.lparam));
      log_.Write("POST", line.substr(line.find("post") + 5));
      break;
    default:
      break;
  }
}

}  // namespace panelsim
