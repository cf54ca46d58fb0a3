#pragma once
// The numbers Windows gives the four registered messages of Skype's and the panel's handshakes.
#include <windows.h>

#include "common/window_messages.h"

struct TRegisteredMessages {
  UINT skype_discover = RegisterWindowMessageA(msg::kSkypeDiscover);
  UINT skype_attach = RegisterWindowMessageA(msg::kSkypeAttach);
  UINT panel_discover = RegisterWindowMessageA(msg::kPanelDiscover);
  UINT panel_attach = RegisterWindowMessageA(msg::kPanelAttach);
};
