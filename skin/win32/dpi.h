#pragma once
// Layouts are written in 96-dpi pixels and scaled to the screen's dots per inch: the
// program declares itself dpi-aware in its manifest, so Windows does not stretch it.
#include <windows.h>

// A rectangle in 96-dpi pixels, relative to the parent's client area.
struct TBounds {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

int ScreenDpi();
int Scale(int pixels_at_96_dpi);
RECT ScaledRect(const TBounds& bounds);
