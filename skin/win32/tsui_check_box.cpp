#include "skin/win32/tsui_check_box.h"

#include "skin/win32/gdi.h"

namespace {

// Messages after which Windows' own check box paints itself directly, over our look.
bool PaintsNatively(UINT message) {
  switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool TsuiCheckBox::Create(HWND parent, int id, const TBounds& bounds, const std::string& caption,
                          const std::string& name) {
  caption_ = caption;
  named_ = !name.empty();
  return CreateControl(
      {parent, id, bounds, "BUTTON", named_ ? name : caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX});
}

void TsuiCheckBox::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (!Handle()) return;
  if (named_) {
    InvalidateRect(Handle(), nullptr, FALSE);
  } else {
    SetWindowTextA(Handle(), caption.c_str());
  }
}

bool TsuiCheckBox::Checked() const {
  return Handle() && SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TsuiCheckBox::SetChecked(bool checked) {
  if (!Handle() || checked == Checked()) return;
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  // As a click would.
  if (on_click_) on_click_();
}

bool TsuiCheckBox::HandleParentMessage(UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) return false;
  if (on_click_) on_click_();
  result = 0;
  return true;
}

LRESULT TsuiCheckBox::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  TrackHot(message);
  return PaintedWindowProc(message, wparam, lparam);
}

TsuiControlBase::TRepaint TsuiCheckBox::RepaintAfter(UINT message) const {
  return PaintsNatively(message) ? TRepaint::Now : TRepaint::None;
}

void TsuiCheckBox::Paint(const TControlPaint& paint) {
  const RECT& client = paint.client;
  const bool enabled = paint.enabled;
  const bool checked = Checked();
  const bool pressed = (SendMessageA(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;

  TPixelCanvas& canvas = paint.canvas;
  const double box = Scale(theme::kCheckBoxSize);
  const double top = ((client.bottom - client.top) - box) / 2;
  const double left = Scale(2);
  const TRectF box_rect{left, top, left + box, top + box};
  const double radius = Scale(3);
  if (checked) {
    const std::uint32_t fill = !enabled ? theme::kTextDisabled : (IsHot() || pressed) ? theme::kAccentHot : theme::kAccent;
    canvas.FillRoundRect(box_rect, radius, fill);
    // The tick: a short and a long stroke.
    const double s = box / 16;
    canvas.DrawLine(left + 4 * s, top + 8.5 * s, left + 7 * s, top + 11.5 * s, 1.8 * s, theme::kCard);
    canvas.DrawLine(left + 7 * s, top + 11.5 * s, left + 12 * s, top + 5 * s, 1.8 * s, theme::kCard);
  } else {
    canvas.FillRoundRect(box_rect, radius, enabled ? (pressed ? theme::kControlFillPressed : theme::kControlFill) : theme::kWindow);
    const std::uint32_t border = !enabled ? theme::kCardBorder : IsHot() ? theme::kAccent : theme::kControlBorderHot;
    canvas.StrokeRoundRect(box_rect, radius, 1, border);
  }
  if (ShowsFocus()) {
    const double gap = Scale(theme::kFocusGap);
    canvas.StrokeRoundRect({box_rect.left - gap, box_rect.top - gap, box_rect.right + gap, box_rect.bottom + gap},
                           radius + gap, Scale(1), theme::kAccent);
  }

  RECT text = client;
  text.left += static_cast<LONG>(left + box + Scale(8));
  DrawThemeText(paint.buffer.Dc(), caption_, text, TFontRole::Normal, enabled ? theme::kText : theme::kTextDisabled,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}
