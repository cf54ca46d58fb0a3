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

std::string hex(const void* window) { return simkit::hexValue(reinterpret_cast<UINT_PTR>(window)); }

}  // namespace

PanelWindow::PanelWindow(simkit::EventLog& log, simkit::InputQueue& input)
    : log_(log), input_(input), sendTimeoutMs_(kPanelSendTimeoutMs) {}

bool PanelWindow::Create() {
    CreateArgs args;
    args.class_name = "PanelSimulatorWindow";
    args.title = "panelsim";
    args.style = WS_POPUP;
    args.ex_style = WS_EX_TOOLWINDOW;
    return TWindow::Create(args);
}

LRESULT PanelWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == messages_.panel_discover) {
        onDiscover(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    switch (message) {
    case msg::WM_BRIDGESTATUS:
        log_.write("STATUS", statusReportText(wParam, static_cast<std::uint32_t>(lParam)));
        return 0;
    case WM_COPYDATA: {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const std::string text = data ? copydata::TextFrom(data->lpData, data->cbData) : std::string();
        log_.write("TEXT", "cb=" + std::to_string(data ? data->cbData : 0) + " " + text);
        return 1;
    }
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

void PanelWindow::onDiscover(HWND bridge) {
    log_.write("DISCOVER", hex(bridge));
    bridge_ = bridge;
    if (autoAttach_) {
        // Posted, as the real panel does: the bridge is inside its broadcast right now.
        PostMessageA(bridge_, messages_.panel_attach, reinterpret_cast<WPARAM>(Handle()), 0);
        log_.write("ATTACH", hex(bridge_));
    }
}

void PanelWindow::takeInput() {
    const bool ended = input_.runLines([this](std::string& line) {
        run(parsePanelCommand(line), line);
        return Handle() != nullptr;  // gone after quit
    });
    if (ended) {
        log_.write("QUIT", "");
        Destroy();
    }
}

void PanelWindow::logResult(const char* event, const std::string& details, BOOL sent, DWORD_PTR result) {
    const std::string outcome = sent ? "RESULT " + std::to_string(result)
                                     : "RESULT FAILED " + std::to_string(GetLastError());
    log_.write(event, details.empty() ? outcome : details + " " + outcome);
}

void PanelWindow::run(const PanelCommand& command, const std::string& line) {
    const WPARAM self = reinterpret_cast<WPARAM>(Handle());
    DWORD_PTR result = 0;
    switch (command.kind) {
    case PanelCommandKind::Nothing:
        return;
    case PanelCommandKind::Invalid:
        log_.write("ERROR", line);
        return;
    case PanelCommandKind::Announce:
        SendMessageTimeoutA(HWND_BROADCAST, messages_.panel_attach, self, msg::kAttachApiAvailable,
                            SMTO_ABORTIFHUNG, sendTimeoutMs_, &result);
        log_.write("ANNOUNCE", "");
        return;
    case PanelCommandKind::AutoAttach:
        autoAttach_ = command.on;
        return;
    case PanelCommandKind::Freeze:
        Sleep(command.milliseconds);
        return;
    case PanelCommandKind::SendTimeout:
        sendTimeoutMs_ = command.milliseconds;
        return;
    case PanelCommandKind::Quit:
        log_.write("QUIT", "");
        Destroy();
        return;
    case PanelCommandKind::PostTo: {
        // Any program can reach a top-level window of a known class.
        HWND target = FindWindowA(command.windowClass.c_str(), nullptr);
        const BOOL posted = target != nullptr && PostMessageA(target, command.message, static_cast<WPARAM>(command.wParam),
                                                              static_cast<LPARAM>(command.lParam));
        log_.write("POST-TO", line.substr(line.find("post-to") + 8) + (posted ? "" : " FAILED"));
        return;
    }
    default:
        break;
    }

    if (bridge_ == nullptr) {
        log_.write("ERROR", line + " (no bridge window)");
        return;
    }
    switch (command.kind) {
    case PanelCommandKind::Attach: {
        const WPARAM named = command.window != 0 ? static_cast<WPARAM>(command.window) : self;
        PostMessageA(bridge_, messages_.panel_attach, named, 0);
        log_.write("ATTACH", hex(bridge_) + (command.window != 0 ? " naming " + simkit::hexValue(named) : ""));
        break;
    }
    case PanelCommandKind::SendText: {
        const LRESULT answer = SendCopyDataText(bridge_, Handle(), command.text, sendTimeoutMs_);
        log_.write("SENT", command.text + " RESULT " + std::to_string(answer));
        break;
    }
    case PanelCommandKind::Request: {
        const LRESULT answer = SendCopyDataText(bridge_, Handle(), "!" + command.text, sendTimeoutMs_);
        log_.write("REQUEST", command.text + " RESULT " + std::to_string(answer));
        break;
    }
    case PanelCommandKind::Farewell: {
        const BOOL sent = SendMessageTimeoutA(bridge_, messages_.panel_attach, 0, 0, SMTO_ABORTIFHUNG,
                                              sendTimeoutMs_, &result) != 0;
        logResult("FAREWELL", "", sent, result);
        break;
    }
    case PanelCommandKind::Post:
        PostMessageA(bridge_, command.message, static_cast<WPARAM>(command.wParam),
                     static_cast<LPARAM>(command.lParam));
        log_.write("POST", line.substr(line.find("post") + 5));
        break;
    default:
        break;
    }
}

}  // namespace panelsim
