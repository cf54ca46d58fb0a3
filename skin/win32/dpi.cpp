#include "skin/win32/dpi.h"

int ScreenDpi() {
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return dpi;
}

int Scale(int pixels_at_96_dpi) { return MulDiv(pixels_at_96_dpi, ScreenDpi(), 96); }

RECT ScaledRect(const TBounds& bounds) {
  const int left = Scale(bounds.x);
  const int top = Scale(bounds.y);
  return {left, top, left + Scale(bounds.width), top + Scale(bounds.height)};
}
