#include "tools/desktopsim/win32/desktop.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "common/copydata_text.h"
#include "common/win32/copydata_send.h"
#include "common/window_messages.h"
#include "panel/win32/window_ids.h"
#include "tools/desktopsim/tray_data.h"
#include "tools/desktopsim/win32/panel_view.h"
#include "tools/simkit/log_format.h"

namespace desktopsim {
namespace {

constexpr UINT kSendTimeoutMs = 2000;

std::string Hex(const void* window) { return simkit::HexValue(reinterpret_cast<UINT_PTR>(window)); }

const char* ActionName(DWORD action) {
  switch (action) {
    case NIM_ADD:
      return "ADD";
    case NIM_MODIFY:
      return "MODIFY";
    case NIM_DELETE:
      return "DELETE";
    case NIM_SETVERSION:
      return "SETVERSION";
    default:
      return "OTHER";
  }
}

int TrackBarId(TPanelPart part) { return part == TPanelPart::In ? kIdTrackBarVolIn : kIdTrackBarVolOut; }

int CheckBoxId(TPanelPart part) { return part == TPanelPart::In ? kIdCheckBoxVolIn : kIdCheckBoxVolOut; }

int ListId(TPanelPart part) {
  switch (part) {
    case TPanelPart::In:
      return kIdComboBoxSkypeIn;
    case TPanelPart::Ring:
      return kIdComboBoxSkypeRing;
    case TPanelPart::Out:
    default:
      return kIdComboBoxSkypeOut;
  }
}

const char* PartName(TPanelPart part) {
  switch (part) {
    case TPanelPart::In:
      return "in";
    case TPanelPart::Ring:
      return "ring";
    case TPanelPart::Out:
    default:
      return "out";
  }
}

}  // namespace

TTrayWindow::~TTrayWindow() { Destroy(); }

bool TTrayWindow::Create() {
  CreateArgs args;
  args.class_name = "Shell_TrayWnd";
  args.style = WS_POPUP;
  args.ex_style = WS_EX_TOOLWINDOW;
  return TWindow::Create(args);
}

void TTrayWindow::Click(TClickKind kind) {
  if (!icon_owner_) {
    log_.Write("ERROR", "click: no icon");
    return;
  }
  std::vector<UINT> mouse;
  switch (kind) {
    case TClickKind::Left:
      mouse = {WM_LBUTTONDOWN, WM_LBUTTONUP};
      break;
    case TClickKind::Right:
      mouse = {WM_RBUTTONDOWN, WM_RBUTTONUP};
      break;
    case TClickKind::Middle:
      mouse = {WM_MBUTTONDOWN, WM_MBUTTONUP};
      break;
    case TClickKind::Double:
      mouse = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
      break;
  }
  for (UINT event : mouse) PostMessageA(icon_owner_, callback_message_, icon_id_, event);
  log_.Write("CLICK", Hex(icon_owner_));
}

LRESULT TTrayWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COPYDATA && lparam) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    return OnIconData(static_cast<DWORD>(data->dwData), *data);
  }
  return TWindow::HandleMessage(message, wparam, lparam);
}

LRESULT TTrayWindow::OnIconData(DWORD action, const COPYDATASTRUCT& data) {
  const std::optional<TTrayIconData> icon = DecodeTrayIconData(data.lpData, data.cbData);
  if (!icon) {
    log_.Write("ERROR", "tray data of " + std::to_string(data.cbData) + " bytes not understood");
    return FALSE;
  }
  std::string details = std::string(ActionName(action)) + " id=" + std::to_string(icon->id);
  if (action != NIM_DELETE) details += " image=" + icon->image + " tip=" + TipOnOneLine(icon->tip);
  if (refusing_) {
    log_.Write("TRAY", details + " REFUSED");
    return FALSE;
  }
  log_.Write("TRAY", details);
  if (action == NIM_ADD || action == NIM_MODIFY) {
    icon_owner_ = reinterpret_cast<HWND>(static_cast<UINT_PTR>(icon->window));
    icon_id_ = icon->id;
    if (icon->flags & NIF_MESSAGE) callback_message_ = icon->callback_message;
  } else if (action == NIM_DELETE) {
    icon_owner_ = nullptr;
  }
  return TRUE;
}

TDesktop::~TDesktop() { Destroy(); }

bool TDesktop::Create() {
  CreateArgs args;
  args.class_name = kDesktopWindowClass;
  args.title = "desktopsim";
  args.style = WS_POPUP;
  args.ex_style = WS_EX_TOOLWINDOW;
  return TWindow::Create(args);
}

HWND TDesktop::Panel() const {
  if (attached_panel_ && IsWindow(attached_panel_)) return attached_panel_;
  return FindPanelWindow();
}

LRESULT TDesktop::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == messages_.panel_attach) {
    OnPanelAttach(wparam, lparam);
    return 1;
  }
  if (message == messages_.panel_discover) return 0;  // a real bridge's, or our own
  if (message == track_bars_taken_) {
    if (watch_) watch_->TrackBarsTaken(wparam);
    return 0;
  }
  switch (message) {
    case WM_COPYDATA:
      OnPanelText(reinterpret_cast<const COPYDATASTRUCT*>(lparam));
      return 1;
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

void TDesktop::OnPanelAttach(WPARAM panel, LPARAM status) {
  const HWND window = reinterpret_cast<HWND>(panel);
  if (status == msg::kAttachApiAvailable) {
    log_.Write("ANNOUNCE", Hex(window));
    if (auto_discover_) {
      // As the bridge does: release the panel's broadcast, then answer it.
      ReplyMessage(1);
      BroadcastBounded(messages_.panel_discover, Handle(), kSendTimeoutMs);
    }
    return;
  }
  log_.Write("ATTACH", Hex(window) + " " + simkit::HexValue(static_cast<UINT_PTR>(status)));
  if (status == msg::kAttachSuccess) attached_panel_ = window;
}

void TDesktop::OnPanelText(const COPYDATASTRUCT* data) {
  if (!data) {
    log_.Write("TEXT", "cb=0");
    return;
  }
  const std::string text = copydata::TextFrom(data->lpData, data->cbData);
  log_.Write("TEXT", "cb=" + std::to_string(data->cbData) + " " + text);
}

void TDesktop::TakeInput() {
  const bool ended = input_.RunLines([this](std::string& line) {
    Run(ParseCommand(line), line);
    return Handle() != nullptr;  // gone after quit
  });
  if (ended) {
    log_.Write("QUIT", "");
    Destroy();
  }
}

void TDesktop::Run(const TCommand& command, const std::string& line) {
  DWORD_PTR result = 0;
  switch (command.kind) {
    case TCommandKind::Nothing:
      return;
    case TCommandKind::Invalid:
      log_.Write("ERROR", line);
      return;
    case TCommandKind::TrayOn:
      if (!tray_) {
        tray_ = std::make_unique<TTrayWindow>(log_);
        if (!tray_->Create()) log_.Write("ERROR", "cannot create the notification area");
        tray_->SetRefusing(refusing_);
      }
      log_.Write("TRAYON", Hex(tray_->Handle()));
      return;
    case TCommandKind::TrayOff:
      tray_.reset();
      log_.Write("TRAYOFF", "");
      return;
    case TCommandKind::TrayRefuse:
      refusing_ = command.on;
      if (tray_) tray_->SetRefusing(refusing_);
      return;
    case TCommandKind::TaskbarCreated:
      BroadcastBounded(taskbar_created_, nullptr, kSendTimeoutMs);
      log_.Write("TASKBARCREATED", "");
      return;
    case TCommandKind::Click:
      if (tray_)
        tray_->Click(command.click);
      else
        log_.Write("ERROR", "click: no notification area");
      return;
    case TCommandKind::BridgeDiscover:
      BroadcastBounded(messages_.panel_discover, Handle(), kSendTimeoutMs);
      log_.Write("DISCOVER", Hex(Handle()));
      return;
    case TCommandKind::BridgeAuto:
      auto_discover_ = command.on;
      return;
    case TCommandKind::Watch:
      if (command.on) break;  // needs the panel
      watch_.reset();
      log_.Write("WATCH", "off");
      return;
    case TCommandKind::Look:
      log_.Write("LOOK", DescribePanel(FindPanelWindow()));
      return;
    case TCommandKind::Menu:
      log_.Write("MENU", FindOpenMenu() ? "open" : "none");
      return;
    case TCommandKind::Dialog: {
      std::string text;
      HWND box = FindPanelMessageBox(text);
      log_.Write("DIALOG", box ? text : "none");
      if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
      return;
    }
    case TCommandKind::MenuChar: {
      HWND menu = FindOpenMenu();
      if (!menu) {
        log_.Write("ERROR", "menu-char: no menu open");
        return;
      }
      PostMessageA(menu, WM_CHAR, static_cast<unsigned char>(command.text[0]), 0);
      log_.Write("MENUCHAR", command.text);
      return;
    }
    case TCommandKind::Sleep:
      Sleep(command.milliseconds);
      return;
    case TCommandKind::Quit:
      log_.Write("QUIT", "");
      Destroy();
      return;
    default:
      break;
  }

  HWND target = Panel();
  if (!target) {
    log_.Write("ERROR", line + " (no panel window)");
    return;
  }
  switch (command.kind) {
    case TCommandKind::Tabs:
      log_.Write("TABS", DescribeTabs(target));
      break;
    case TCommandKind::About:
      log_.Write("ABOUT", DescribeAbout(target));
      break;
    case TCommandKind::Watch:
      watch_ = std::make_unique<TValueWatch>(log_);
      if (!watch_->Start(target)) {
        watch_.reset();
        log_.Write("ERROR", line + " (no hook)");
      }
      break;
    case TCommandKind::Key: {
      // To the control with the focus, as the keyboard would deliver it.
      HWND focused = FindPanelFocus(target);
      if (!focused) {
        log_.Write("ERROR", "key: nothing has the focus");
        break;
      }
      PostMessageA(focused, WM_KEYDOWN, static_cast<WPARAM>(command.wparam), 1);
      PostMessageA(focused, WM_KEYUP, static_cast<WPARAM>(command.wparam), static_cast<LPARAM>(0xC0000001u));
      log_.Write("KEY", std::to_string(command.wparam));
      break;
    }
    case TCommandKind::Slide: {
      HWND bar = FindControl(target, TrackBarId(command.part));
      if (!bar) {
        log_.Write("ERROR", line + " (no track bar)");
        break;
      }
      // As a drag ends: the bar takes the position, then tells its parent. Both posted, so
      // the panel's thread takes them in this order.
      const auto position = static_cast<WPARAM>(command.wparam);
      PostMessageA(bar, TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
      PostMessageA(GetParent(bar), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(bar));
      log_.Write("SLIDE", std::string(PartName(command.part)) + " " + std::to_string(command.wparam));
      break;
    }
    case TCommandKind::Toggle:
    case TCommandKind::Press: {
      const bool toggle = command.kind == TCommandKind::Toggle;
      HWND button = FindControl(target, toggle ? CheckBoxId(command.part) : kIdButtonDefault);
      if (!button) {
        log_.Write("ERROR", line + " (no such button)");
        break;
      }
      // A click as the button itself plays it: pressed, released, its parent told.
      PostMessageA(button, BM_CLICK, 0, 0);
      log_.Write(toggle ? "TOGGLE" : "PRESS", toggle ? PartName(command.part) : "default");
      break;
    }
    case TCommandKind::Choose: {
      HWND list = FindControl(target, ListId(command.part));
      if (!list) {
        log_.Write("ERROR", line + " (no list)");
        break;
      }
      // As a choice from the drop-down: the selection, then the parent told of the change.
      PostMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(command.wparam), 0);
      PostMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
      log_.Write("CHOOSE", std::string(PartName(command.part)) + " " + std::to_string(command.wparam));
      break;
    }
    case TCommandKind::List:
      log_.Write("LIST",
                 std::string(PartName(command.part)) + " " + DescribeList(FindControl(target, ListId(command.part))));
      break;
    case TCommandKind::Report:
      PostMessageA(target, msg::WM_BRIDGESTATUS, static_cast<WPARAM>(command.wparam),
                   static_cast<LPARAM>(command.lparam));
      log_.Write("REPORT", line.substr(line.find("report") + 7));
      break;
    case TCommandKind::Answer: {
      const LRESULT answer = SendCopyDataText(target, Handle(), command.text, kSendTimeoutMs);
      log_.Write("ANSWER", command.text + " RESULT " + std::to_string(answer));
      break;
    }
    case TCommandKind::Post:
      PostMessageA(target, command.message, static_cast<WPARAM>(command.wparam), static_cast<LPARAM>(command.lparam));
      log_.Write("POST", line.substr(line.find("post") + 5));
      break;
    case TCommandKind::Send: {
      const BOOL sent =
          SendMessageTimeoutA(target, command.message, static_cast<WPARAM>(command.wparam),
                              static_cast<LPARAM>(command.lparam), SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
      log_.Write("SEND", line.substr(line.find("send") + 5) +
                             (sent ? " RESULT " + std::to_string(result) : std::string(" RESULT FAILED")));
      break;
    }
    default:
      break;
  }
}

}  // namespace desktopsim
