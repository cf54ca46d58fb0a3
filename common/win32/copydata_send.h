#pragma once
// Sending a text by WM_COPYDATA with a bounded wait, so a hung receiver cannot freeze us.
#include <windows.h>

#include <string>

// Sends `text` and its zero byte (cbData = length + 1). Returns the receiver's result, or 0
// when it is hung or did not answer within `timeout_ms`.
LRESULT SendCopyDataText(HWND to, HWND from, const std::string& text, UINT timeout_ms);
// The same; false when the receiver is hung or did not answer in time, else its result.
bool SendCopyDataTextAnswered(HWND to, HWND from, const std::string& text, UINT timeout_ms, LRESULT& result);

// Broadcasts `message` (wParam = `from`, lParam 0) to every top-level window, giving each
// at most `timeout_ms`.
void BroadcastBounded(UINT message, HWND from, UINT timeout_ms);
