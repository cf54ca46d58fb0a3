#include "skin/win32/tlabel.h"

bool TLabel::Create(HWND parent, int id, const TBounds& bounds, const std::string& caption,
                    const TLabelStyle& style) {
  style_ = style;
  TCreateArgs args;
  args.parent = parent;
  args.id = id;
  args.bounds = bounds;
  args.class_name = "STATIC";
  args.text = caption;
  args.style = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
  return CreateControl(args);
}

void TLabel::SetCaption(const std::string& caption) {
  if (Handle()) SetWindowTextA(Handle(), caption.c_str());
}

LRESULT TLabel::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      Paint(nullptr);
      return 0;
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_ENABLE: {
      const LRESULT result = DefaultProc(message, wparam, lparam);
      Repaint();
      return result;
    }
    default:
      return DefaultProc(message, wparam, lparam);
  }
}

void TLabel::Paint(HDC print_dc) {
  TWindowPaint paint(Handle(), print_dc);
  TPaintBuffer& buffer = paint.Buffer();
  if (!buffer.Ready()) return;
  buffer.Canvas().Fill(Background());
  char caption[256] = {};
  GetWindowTextA(Handle(), caption, sizeof caption);
  const bool enabled = IsWindowEnabled(Handle()) != FALSE;
  DrawThemeText(buffer.Dc(), caption, paint.Client(), style_.font, enabled ? style_.color : theme::kTextDisabled,
                style_.align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}
