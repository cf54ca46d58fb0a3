#include "skin/win32/tsui_group_box.h"

#include "skin/win32/gdi.h"

bool TsuiGroupBox::Create(HWND parent, int id, const TBounds& bounds, const std::string& caption) {
  // WS_EX_CONTROLPARENT: tab and arrow keys go on into the controls the group holds.
  return CreateControl(
      {parent, id, bounds, "BUTTON", caption, WS_VISIBLE | WS_CLIPCHILDREN | BS_GROUPBOX, WS_EX_CONTROLPARENT});
}

void TsuiGroupBox::SetCaption(const std::string& caption) {
  if (Handle()) SetWindowTextA(Handle(), caption.c_str());
}

LRESULT TsuiGroupBox::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (RouteChildNotification(message, wparam, lparam, result)) return result;
  // A plain group box lets the mouse through to what lies behind; a card is solid.
  if (message == WM_NCHITTEST) return HTCLIENT;
  return PaintedWindowProc(message, wparam, lparam);
}

TsuiControlBase::TRepaint TsuiGroupBox::RepaintAfter(UINT message) const {
  switch (message) {
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_UPDATEUISTATE:
      // Windows' group box paints itself directly at these.
      return TRepaint::Now;
    default:
      return TRepaint::None;
  }
}

void TsuiGroupBox::Paint(const TControlPaint& paint) {
  const RECT& client = paint.client;
  const double w = client.right - client.left;
  const double h = client.bottom - client.top;
  const double radius = Scale(theme::kCornerRadius);
  TPixelCanvas& canvas = paint.canvas;
  canvas.FillRoundRect({0, 0, w, h}, radius, theme::kCardBorder);
  canvas.FillRoundRect({1, 1, w - 1, h - 1}, radius - 1, theme::kCard);

  char caption[128] = {};
  GetWindowTextA(Handle(), caption, sizeof caption);
  if (caption[0] == '\0') return;
  const double band = Scale(theme::kCardCaptionHeight);
  const double margin = Scale(12);
  canvas.FillRoundRect({margin, band, w - margin, band + 1}, 0, theme::kCardBorder);
  RECT text = {Scale(12), 0, client.right - Scale(12), static_cast<LONG>(band)};
  const std::uint32_t color = paint.enabled ? theme::kText : theme::kTextDisabled;
  DrawThemeText(paint.buffer.Dc(), caption, text, TFontRole::Caption, color,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}
