#pragma once
// The desktop around the panel: a bridge stand-in window that also runs the commands, and
// the notification area's window while the "shell" runs.
#include <windows.h>

#include <memory>
#include <string>

#include "common/win32/registered_messages.h"
#include "common/win32/window.h"
#include "tools/desktopsim/commands.h"
#include "tools/simkit/win32/event_log.h"
#include "tools/simkit/win32/input_thread.h"

namespace desktopsim {

constexpr UINT kInputMessage = WM_APP + 1;

// Shell_TrayWnd: takes the icons that Shell_NotifyIcon sends and remembers the panel's.
class TrayWindow final : public TWindow {
public:
    explicit TrayWindow(simkit::EventLog& log) : log_(log) {}
    ~TrayWindow() override;
    bool create();
    void setRefusing(bool refusing) { refusing_ = refusing; }
    // Posts the mouse messages of a click to the last icon's owner, as the shell does.
    void click(ClickKind kind);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT onIconData(DWORD action, const COPYDATASTRUCT& data);

    simkit::EventLog& log_;
    bool refusing_ = false;
    HWND iconOwner_ = nullptr;
    UINT iconId_ = 0;
    UINT callbackMessage_ = 0;
};

class Desktop final : public TWindow {
public:
    Desktop(simkit::EventLog& log, simkit::InputQueue& input) : log_(log), input_(input) {}
    ~Desktop() override;
    bool create();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void takeInput();
    void run(const Command& command, const std::string& line);
    void onPanelAttach(WPARAM panel, LPARAM status);
    void onPanelText(const COPYDATASTRUCT* data);
    // The panel that attached, else the one found by its names.
    HWND panel() const;

    simkit::EventLog& log_;
    simkit::InputQueue& input_;
    TRegisteredMessages messages_;
    UINT taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    std::unique_ptr<TrayWindow> tray_;
    bool refusing_ = false;
    bool autoDiscover_ = false;
    HWND attachedPanel_ = nullptr;
};

}  // namespace desktopsim
