#pragma once
// The theme's fonts and brushes, and double-buffered painting into a pixel canvas.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "common/win32/scoped_handles.h"
#include "skin/pixel_canvas.h"

enum class TFontRole { Normal, Caption, Title };

// The user's message font (Segoe UI on current Windows), a semibold one for captions and a
// large one for the About page's title; made once, freed at exit.
HFONT ThemeFont(TFontRole role);
// A solid brush of a theme colour, kept for the program's life.
HBRUSH ThemeBrush(std::uint32_t color);

// Paints a rectangle of `target` off screen: shapes go to Canvas(), text to Dc(); the result
// is copied to `target` when the buffer is destroyed. Coordinates are the target's.
class TPaintBuffer {
 public:
  TPaintBuffer(HDC target, const RECT& area);
  ~TPaintBuffer();
  TPaintBuffer(const TPaintBuffer&) = delete;
  TPaintBuffer& operator=(const TPaintBuffer&) = delete;

  bool Ready() const { return bitmap_.Valid(); }
  HDC Dc() const { return dc_; }
  // In the buffer's own coordinates, (0, 0) at the area's top left.
  TPixelCanvas& Canvas() { return canvas_; }
  int Left() const { return area_.left; }
  int Top() const { return area_.top; }

 private:
  HDC target_;
  RECT area_;
  HDC dc_ = nullptr;
  TGdiObject bitmap_;
  HGDIOBJ old_bitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  TPixelCanvas canvas_;
};

// Text in a theme font and colour, transparent over what is there.
void DrawThemeText(HDC dc, const std::string& text, RECT area, TFontRole role, std::uint32_t color,
                   UINT format);
SIZE MeasureThemeText(const std::string& text, TFontRole role);

// Paints a window with a buffer between BeginPaint and EndPaint (or into the DC of
// WM_PRINTCLIENT).
class TWindowPaint {
 public:
  TWindowPaint(HWND window, HDC print_dc = nullptr);
  ~TWindowPaint();
  TWindowPaint(const TWindowPaint&) = delete;
  TWindowPaint& operator=(const TWindowPaint&) = delete;
  TPaintBuffer& Buffer() { return *buffer_; }
  const RECT& Client() const { return client_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  bool began_ = false;
  RECT client_ = {};
  std::unique_ptr<TPaintBuffer> buffer_;
};
