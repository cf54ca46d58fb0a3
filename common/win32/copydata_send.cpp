#include "common/win32/copydata_send.h"

#include "common/copydata_text.h"

bool SendCopyDataTextAnswered(HWND to, HWND from, const std::string& text, UINT timeout_ms, LRESULT& result) {
  // The receiver gets its own copy; ours must live until the send returns.
  std::vector<char> payload = copydata::PayloadFor(text);
  COPYDATASTRUCT data = {};
  data.dwData = 0;
  data.cbData = static_cast<DWORD>(payload.size());
  data.lpData = payload.data();
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data),
                           SMTO_ABORTIFHUNG | SMTO_NORMAL, timeout_ms, &answer)) {
    result = 0;
    return false;
  }
  result = static_cast<LRESULT>(answer);
  return true;
}

LRESULT SendCopyDataText(HWND to, HWND from, const std::string& text, UINT timeout_ms) {
  LRESULT result = 0;
  SendCopyDataTextAnswered(to, from, text, timeout_ms, result);
  return result;
}

void BroadcastBounded(UINT message, HWND from, UINT timeout_ms) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, message, reinterpret_cast<WPARAM>(from), 0,
                      SMTO_ABORTIFHUNG | SMTO_NORMAL, timeout_ms, &ignored);
}
