#include "skin/win32/gdi.h"

#include <map>
#include <memory>

#include "skin/win32/dpi.h"

namespace {

LOGFONTA MessageFont() {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return metrics.lfMessageFont;
  }
  LOGFONTA fallback = {};
  fallback.lfHeight = -MulDiv(9, ScreenDpi(), 72);
  lstrcpynA(fallback.lfFaceName, "Tahoma", LF_FACESIZE);
  return fallback;
}

class TFonts {
 public:
  TFonts() {
    LOGFONTA font = MessageFont();
    font.lfQuality = CLEARTYPE_QUALITY;
    normal_.Reset(CreateFontIndirectA(&font));
    font.lfWeight = FW_SEMIBOLD;
    caption_.Reset(CreateFontIndirectA(&font));
    font.lfWeight = FW_BOLD;
    font.lfHeight = font.lfHeight * 17 / 10;
    title_.Reset(CreateFontIndirectA(&font));
  }
  HFONT Get(TFontRole role) const {
    const TGdiObject& font = role == TFontRole::Caption ? caption_ : role == TFontRole::Title ? title_ : normal_;
    return static_cast<HFONT>(font.Get());
  }

 private:
  TGdiObject normal_, caption_, title_;
};

}  // namespace

HFONT ThemeFont(TFontRole role) {
  static const TFonts fonts;
  return fonts.Get(role);
}

HBRUSH ThemeBrush(std::uint32_t color) {
  static std::map<std::uint32_t, TGdiObject> brushes;
  TGdiObject& brush = brushes[color];
  if (!brush) brush.Reset(CreateSolidBrush(color));
  return static_cast<HBRUSH>(brush.Get());
}

TPaintBuffer::TPaintBuffer(HDC target, const RECT& area)
    : target_(target), area_(area), canvas_(nullptr, 0, 0) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows, as the canvas expects
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(target);
  bitmap_.Reset(dc_ ? CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr);
  if (!bitmap_) return;
  old_bitmap_ = SelectObject(dc_, bitmap_.Get());
  bits_ = static_cast<std::uint32_t*>(bits);
  canvas_ = TPixelCanvas(bits_, width, height);
  SetBkMode(dc_, TRANSPARENT);
  // Text is drawn in target coordinates.
  SetViewportOrgEx(dc_, -area.left, -area.top, nullptr);
}

TPaintBuffer::~TPaintBuffer() {
  if (bitmap_) {
    GdiFlush();  // the canvas wrote the bits directly; GDI's text must be there too
    SetViewportOrgEx(dc_, 0, 0, nullptr);
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, dc_, 0, 0,
           SRCCOPY);
    SelectObject(dc_, old_bitmap_);
    bitmap_.Close();
  }
  if (dc_) DeleteDC(dc_);
}

void DrawThemeText(HDC dc, const std::string& text, RECT area, TFontRole role, std::uint32_t color,
                   UINT format) {
  TSelectObject font(dc, ThemeFont(role));
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
}

SIZE MeasureThemeText(const std::string& text, TFontRole role) {
  SIZE size = {};
  HDC screen = GetDC(nullptr);
  if (!screen) return size;
  {
    TSelectObject font(screen, ThemeFont(role));
    RECT area = {0, 0, 0, 0};
    DrawTextA(screen, text.c_str(), static_cast<int>(text.size()), &area, DT_CALCRECT | DT_SINGLELINE);
    size = {area.right - area.left, area.bottom - area.top};
  }
  ReleaseDC(nullptr, screen);
  return size;
}

TWindowPaint::TWindowPaint(HWND window, HDC print_dc) : window_(window) {
  GetClientRect(window, &client_);
  HDC dc = print_dc;
  if (!dc) {
    dc = BeginPaint(window, &paint_);
    began_ = true;
  }
  buffer_ = std::make_unique<TPaintBuffer>(dc, client_);
}

TWindowPaint::~TWindowPaint() {
  buffer_.reset();  // copies to the screen first
  if (began_) EndPaint(window_, &paint_);
}
