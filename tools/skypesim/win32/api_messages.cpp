#include "tools/skypesim/win32/api_messages.h"

namespace skypesim {

TApiMessages RegisterApiMessages() {
  TApiMessages messages;
  messages.discover = RegisterWindowMessageA("SkypeControlAPIDiscover");
  messages.attach = RegisterWindowMessageA("SkypeControlAPIAttach");
  messages.ui_discover = RegisterWindowMessageA("TALVEKWiredUIDiscover");
  return messages;
}

}  // namespace skypesim
