#include "tools/skypesim/win32/api_messages.h"

namespace skypesim {

ApiMessages registerApiMessages() {
    ApiMessages messages;
    messages.discover = RegisterWindowMessageA("SkypeControlAPIDiscover");
    messages.attach = RegisterWindowMessageA("SkypeControlAPIAttach");
    messages.uiDiscover = RegisterWindowMessageA("TALVEKWiredUIDiscover");
    return messages;
}

}  // namespace skypesim
