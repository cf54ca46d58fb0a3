#include "skin/win32/tlabel.h"

bool TLabel::Create(HWND parent, int id, const TBounds& bounds, const std::string& caption,
                    const TLabelStyle& style) {
  style_ = style;
  return CreateControl({parent, id, bounds, "STATIC", caption, WS_VISIBLE | SS_LEFT | SS_NOPREFIX});
}

void TLabel::SetCaption(const std::string& caption) {
  if (Handle()) SetWindowTextA(Handle(), caption.c_str());
}

LRESULT TLabel::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return PaintedWindowProc(message, wparam, lparam);
}

TsuiControlBase::TRepaint TLabel::RepaintAfter(UINT message) const {
  return message == WM_ENABLE || message == WM_SETTEXT ? TRepaint::Later : TRepaint::None;
}

void TLabel::Paint(const TControlPaint& paint) {
  char caption[256] = {};
  GetWindowTextA(Handle(), caption, sizeof caption);
  const std::uint32_t color = paint.enabled ? style_.color : theme::kTextDisabled;
  DrawThemeText(paint.buffer.Dc(), caption, paint.client, style_.font, color,
                style_.align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}
