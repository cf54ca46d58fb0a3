#pragma once
// The panel simulator's hidden window: it answers the bridge's discoveries, logs the reports
// and texts the bridge sends, and carries out the command lines.
#include <windows.h>

#include <memory>

#include "common/win32/registered_messages.h"
#include "common/win32/window.h"
#include "tools/panelsim/panel_commands.h"
#include "tools/simkit/win32/event_log.h"
#include "tools/simkit/win32/input_thread.h"

namespace panelsim {

constexpr UINT kInputMessage = WM_APP + 1;

class PanelWindow final : public TWindow {
public:
    PanelWindow(simkit::EventLog& log, simkit::InputQueue& input);
    ~PanelWindow() override { Destroy(); }
    bool Create();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void onDiscover(HWND bridge);
    void takeInput();
    void run(const PanelCommand& command, const std::string& line);
    void logResult(const char* event, const std::string& details, BOOL sent, DWORD_PTR result);

    simkit::EventLog& log_;
    simkit::InputQueue& input_;
    TRegisteredMessages messages_;
    HWND bridge_ = nullptr;
    bool autoAttach_ = true;
    UINT sendTimeoutMs_;
};

}  // namespace panelsim
