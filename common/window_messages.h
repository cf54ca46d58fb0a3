#pragma once
// The private and registered window messages by which the bridge, the panel, the handset
// read threads and Skype talk to each other. Plain numbers so the portable logic can use them.

namespace msg {

constexpr unsigned int kWmUser = 0x0400;  // WM_USER

// On the bridge window.
constexpr unsigned int WM_HANDSETKEY = kWmUser + 100;
constexpr unsigned int WM_SKYPEQUERY = kWmUser + 101;
// A handset read thread asks the window thread to empty the dial buffer (a held Clear key).
constexpr unsigned int WM_HANDSETDIALRESET = kWmUser + 102;
// On the panel window.
constexpr unsigned int WM_BRIDGESTATUS = kWmUser + 110;
constexpr unsigned int WM_PANELEXIT = kWmUser + 111;
constexpr unsigned int WM_PANELRESTORE = kWmUser + 112;
// On the device manager's own hidden window.
constexpr unsigned int WM_HIDDEVICEREMOVED = kWmUser + 100;

// Registered by name with RegisterWindowMessageA.
constexpr const char kSkypeDiscover[] = "SkypeControlAPIDiscover";
constexpr const char kSkypeAttach[] = "SkypeControlAPIAttach";
constexpr const char kPanelDiscover[] = "TALVEKWiredUIDiscover";
constexpr const char kPanelAttach[] = "TALVEKWiredUIAttach";

// Attach statuses, shared by Skype's handshake and the panel's copy of it.
constexpr long kAttachSuccess = 0;
constexpr long kAttachApiAvailable = 0x8001;

}  // namespace msg
