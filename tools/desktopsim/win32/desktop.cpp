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

std::string hex(const void* window) { return simkit::hexValue(reinterpret_cast<UINT_PTR>(window)); }

const char* actionName(DWORD action) {
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

int trackBarId(PanelPart part) { return part == PanelPart::In ? kIdTrackBarVolIn : kIdTrackBarVolOut; }

int checkBoxId(PanelPart part) { return part == PanelPart::In ? kIdCheckBoxVolIn : kIdCheckBoxVolOut; }

int listId(PanelPart part) {
    switch (part) {
    case PanelPart::In:
        return kIdComboBoxSkypeIn;
    case PanelPart::Ring:
        return kIdComboBoxSkypeRing;
    case PanelPart::Out:
    default:
        return kIdComboBoxSkypeOut;
    }
}

const char* partName(PanelPart part) {
    switch (part) {
    case PanelPart::In:
        return "in";
    case PanelPart::Ring:
        return "ring";
    case PanelPart::Out:
    default:
        return "out";
    }
}

}  // namespace

TrayWindow::~TrayWindow() { Destroy(); }

bool TrayWindow::create() {
    CreateArgs args;
    args.class_name = "Shell_TrayWnd";
    args.style = WS_POPUP;
    args.ex_style = WS_EX_TOOLWINDOW;
    return Create(args);
}

void TrayWindow::click(ClickKind kind) {
    if (!iconOwner_) {
        log_.write("ERROR", "click: no icon");
        return;
    }
    std::vector<UINT> mouse;
    switch (kind) {
    case ClickKind::Left:
        mouse = {WM_LBUTTONDOWN, WM_LBUTTONUP};
        break;
    case ClickKind::Right:
        mouse = {WM_RBUTTONDOWN, WM_RBUTTONUP};
        break;
    case ClickKind::Middle:
        mouse = {WM_MBUTTONDOWN, WM_MBUTTONUP};
        break;
    case ClickKind::Double:
        mouse = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
        break;
    }
    for (UINT event : mouse) PostMessageA(iconOwner_, callbackMessage_, iconId_, event);
    log_.write("CLICK", hex(iconOwner_));
}

LRESULT TrayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA && lParam) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        return onIconData(static_cast<DWORD>(data->dwData), *data);
    }
    return TWindow::HandleMessage(message, wParam, lParam);
}

LRESULT TrayWindow::onIconData(DWORD action, const COPYDATASTRUCT& data) {
    const std::optional<TrayIconData> icon = decodeTrayIconData(data.lpData, data.cbData);
    if (!icon) {
        log_.write("ERROR", "tray data of " + std::to_string(data.cbData) + " bytes not understood");
        return FALSE;
    }
    std::string details = std::string(actionName(action)) + " id=" + std::to_string(icon->id);
    if (action != NIM_DELETE) details += " image=" + icon->image + " tip=" + tipOnOneLine(icon->tip);
    if (refusing_) {
        log_.write("TRAY", details + " REFUSED");
        return FALSE;
    }
    log_.write("TRAY", details);
    if (action == NIM_ADD || action == NIM_MODIFY) {
        iconOwner_ = reinterpret_cast<HWND>(static_cast<UINT_PTR>(icon->window));
        iconId_ = icon->id;
        if (icon->flags & NIF_MESSAGE) callbackMessage_ = icon->callbackMessage;
    } else if (action == NIM_DELETE) {
        iconOwner_ = nullptr;
    }
    return TRUE;
}

Desktop::~Desktop() { Destroy(); }

bool Desktop::create() {
    CreateArgs args;
    args.class_name = "DesktopSimulatorWindow";
    args.title = "desktopsim";
    args.style = WS_POPUP;
    args.ex_style = WS_EX_TOOLWINDOW;
    return Create(args);
}

HWND Desktop::panel() const {
    if (attachedPanel_ && IsWindow(attachedPanel_)) return attachedPanel_;
    return findPanelWindow();
}

LRESULT Desktop::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == messages_.panel_attach) {
        onPanelAttach(wParam, lParam);
        return 1;
    }
    if (message == messages_.panel_discover) return 0;  // a real bridge's, or our own
    switch (message) {
    case WM_COPYDATA:
        onPanelText(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return 1;
    case kInputMessage:
        takeInput();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return TWindow::HandleMessage(message, wParam, lParam);
    }
}

void Desktop::onPanelAttach(WPARAM panel, LPARAM status) {
    const HWND window = reinterpret_cast<HWND>(panel);
    if (status == msg::kAttachApiAvailable) {
        log_.write("ANNOUNCE", hex(window));
        if (autoDiscover_) {
            // As the bridge does: release the panel's broadcast, then answer it.
            ReplyMessage(1);
            BroadcastBounded(messages_.panel_discover, Handle(), kSendTimeoutMs);
        }
        return;
    }
    log_.write("ATTACH", hex(window) + " " + simkit::hexValue(static_cast<UINT_PTR>(status)));
    if (status == msg::kAttachSuccess) attachedPanel_ = window;
}

void Desktop::onPanelText(const COPYDATASTRUCT* data) {
    if (!data) {
        log_.write("TEXT", "cb=0");
        return;
    }
    const std::string text = copydata::TextFrom(data->lpData, data->cbData);
    log_.write("TEXT", "cb=" + std::to_string(data->cbData) + " " + text);
}

void Desktop::takeInput() {
    const bool ended = input_.runLines([this](std::string& line) {
        run(parseCommand(line), line);
        return Handle() != nullptr;  // gone after quit
    });
    if (ended) {
        log_.write("QUIT", "");
        Destroy();
    }
}

void Desktop::run(const Command& command, const std::string& line) {
    DWORD_PTR result = 0;
    switch (command.kind) {
    case CommandKind::Nothing:
        return;
    case CommandKind::Invalid:
        log_.write("ERROR", line);
        return;
    case CommandKind::TrayOn:
        if (!tray_) {
            tray_ = std::make_unique<TrayWindow>(log_);
            if (!tray_->create()) log_.write("ERROR", "cannot create the notification area");
            tray_->setRefusing(refusing_);
        }
        log_.write("TRAYON", hex(tray_->Handle()));
        return;
    case CommandKind::TrayOff:
        tray_.reset();
        log_.write("TRAYOFF", "");
        return;
    case CommandKind::TrayRefuse:
        refusing_ = command.on;
        if (tray_) tray_->setRefusing(refusing_);
        return;
    case CommandKind::TaskbarCreated:
        BroadcastBounded(taskbarCreated_, nullptr, kSendTimeoutMs);
        log_.write("TASKBARCREATED", "");
        return;
    case CommandKind::Click:
        if (tray_) tray_->click(command.click);
        else log_.write("ERROR", "click: no notification area");
        return;
    case CommandKind::BridgeDiscover:
        BroadcastBounded(messages_.panel_discover, Handle(), kSendTimeoutMs);
        log_.write("DISCOVER", hex(Handle()));
        return;
    case CommandKind::BridgeAuto:
        autoDiscover_ = command.on;
        return;
    case CommandKind::Look:
        log_.write("LOOK", describePanel(findPanelWindow()));
        return;
    case CommandKind::Menu:
        log_.write("MENU", findOpenMenu() ? "open" : "none");
        return;
    case CommandKind::Dialog: {
        std::string text;
        HWND box = findPanelMessageBox(text);
        log_.write("DIALOG", box ? text : "none");
        if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
    }
    case CommandKind::MenuChar: {
        HWND menu = findOpenMenu();
        if (!menu) {
            log_.write("ERROR", "menu-char: no menu open");
            return;
        }
        PostMessageA(menu, WM_CHAR, static_cast<unsigned char>(command.text[0]), 0);
        log_.write("MENUCHAR", command.text);
        return;
    }
    case CommandKind::Sleep:
        Sleep(command.milliseconds);
        return;
    case CommandKind::Quit:
        log_.write("QUIT", "");
        Destroy();
        return;
    default:
        break;
    }

    HWND target = panel();
    if (!target) {
        log_.write("ERROR", line + " (no panel window)");
        return;
    }
    switch (command.kind) {
    case CommandKind::Tabs:
        log_.write("TABS", describeTabs(target));
        break;
    case CommandKind::Key: {
        // To the control with the focus, as the keyboard would deliver it.
        HWND focused = findPanelFocus(target);
        if (!focused) {
            log_.write("ERROR", "key: nothing has the focus");
            break;
        }
        PostMessageA(focused, WM_KEYDOWN, static_cast<WPARAM>(command.wParam), 1);
        PostMessageA(focused, WM_KEYUP, static_cast<WPARAM>(command.wParam), static_cast<LPARAM>(0xC0000001u));
        log_.write("KEY", std::to_string(command.wParam));
        break;
    }
    case CommandKind::Slide: {
        HWND bar = findControl(target, trackBarId(command.part));
        if (!bar) {
            log_.write("ERROR", line + " (no track bar)");
            break;
        }
        // As a drag ends: the bar takes the position, then tells its parent. Both posted, so
        // the panel's thread takes them in this order.
        const auto position = static_cast<WPARAM>(command.wParam);
        PostMessageA(bar, TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
        PostMessageA(GetParent(bar), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(bar));
        log_.write("SLIDE", std::string(partName(command.part)) + " " + std::to_string(command.wParam));
        break;
    }
    case CommandKind::Toggle:
    case CommandKind::Press: {
        const bool toggle = command.kind == CommandKind::Toggle;
        HWND button = findControl(target, toggle ? checkBoxId(command.part) : kIdButtonDefault);
        if (!button) {
            log_.write("ERROR", line + " (no such button)");
            break;
        }
        // A click as the button itself plays it: pressed, released, its parent told.
        PostMessageA(button, BM_CLICK, 0, 0);
        log_.write(toggle ? "TOGGLE" : "PRESS", toggle ? partName(command.part) : "default");
        break;
    }
    case CommandKind::Choose: {
        HWND list = findControl(target, listId(command.part));
        if (!list) {
            log_.write("ERROR", line + " (no list)");
            break;
        }
        // As a choice from the drop-down: the selection, then the parent told of the change.
        PostMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(command.wParam), 0);
        PostMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        log_.write("CHOOSE", std::string(partName(command.part)) + " " + std::to_string(command.wParam));
        break;
    }
    case CommandKind::List:
        log_.write("LIST", std::string(partName(command.part)) + " " +
                               describeList(findControl(target, listId(command.part))));
        break;
    case CommandKind::Report:
        PostMessageA(target, msg::WM_BRIDGESTATUS, static_cast<WPARAM>(command.wParam),
                     static_cast<LPARAM>(command.lParam));
        log_.write("REPORT", line.substr(line.find("report") + 7));
        break;
    case CommandKind::Answer: {
        const LRESULT answer = SendCopyDataText(target, Handle(), command.text, kSendTimeoutMs);
        log_.write("ANSWER", command.text + " RESULT " + std::to_string(answer));
        break;
    }
    case CommandKind::Post:
        PostMessageA(target, command.message, static_cast<WPARAM>(command.wParam), static_cast<LPARAM>(command.lParam));
        log_.write("POST", line.substr(line.find("post") + 5));
        break;
    case CommandKind::Send: {
        const BOOL sent = SendMessageTimeoutA(target, command.message, static_cast<WPARAM>(command.wParam),
                                              static_cast<LPARAM>(command.lParam), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                              &result);
        log_.write("SEND", line.substr(line.find("send") + 5) +
                               (sent ? " RESULT " + std::to_string(result) : std::string(" RESULT FAILED")));
        break;
    }
    default:
        break;
    }
}

}  // namespace desktopsim
