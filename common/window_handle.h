#pragma once
// A window handle as an opaque number, so the portable logic can keep and compare windows;
// 0 is no window. common/win32/window_handle_cast.h turns it into an HWND and back.
#include <cstdint>

using WindowHandle = std::uintptr_t;
