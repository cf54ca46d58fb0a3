#include "common/win32/copydata_send.h"

#include "common/copydata_text.h"

LRESULT SendCopyDataText(HWND to, HWND from, const std::string& text, UINT timeout_ms) {
  // The receiver gets its own copy; ours must live until the send returns.
  std::vector<char> payload = copydata::PayloadFor(text);
  COPYDATASTRUCT data = {};
  data.dwData = 0;
  data.cbData = static_cast<DWORD>(payload.size());
  data.lpData = payload.data();
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                           reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_NORMAL,
                           timeout_ms, &result)) {
    return 0;
  }
  return static_cast<LRESULT>(result);
}

void BroadcastBounded(UINT message, HWND from, UINT timeout_ms) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, message, reinterpret_cast<WPARAM>(from), 0,
                      SMTO_ABORTIFHUNG | SMTO_NORMAL, timeout_ms, &ignored);
}
