#pragma once
// The one conversion between the logic's WindowHandle and Windows' HWND.
#include <windows.h>

#include "common/window_handle.h"

inline HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle AsWindowHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }
