#include "skin/win32/tsui_combo_box.h"

#include "skin/win32/gdi.h"

namespace {

constexpr int kListHeight = 180;  // the open list, in 96-dpi pixels
constexpr int kItemHeight = 22;

// Messages after which Windows' own combo box paints its field directly, over our look.
bool PaintsNatively(UINT message) {
  switch (message) {
    case CB_SETCURSEL:
    case CB_RESETCONTENT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEWHEEL:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool TsuiComboBox::Create(HWND parent, int id, const TBounds& bounds) {
  // The window is the field and the open list below it.
  const TBounds window{bounds.x, bounds.y, bounds.width, kListHeight};
  const DWORD style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
  if (!CreateControl({parent, id, window, "COMBOBOX", "", style})) return false;
  // The closed field's height follows its item height: make it the height asked for.
  const int field_border = 6;
  SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Scale(bounds.height) - field_border);
  SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, Scale(kItemHeight));
  return true;
}

void TsuiComboBox::ClearItems() {
  items_.clear();
  if (Handle()) SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
}

void TsuiComboBox::AddItem(const std::string& text) {
  items_.push_back(text);
  if (Handle()) SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int TsuiComboBox::IndexOf(const std::string& text) const {
  // Exact: Windows' own search ignores case.
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == text) return static_cast<int>(i);
  }
  return -1;
}

int TsuiComboBox::ItemIndex() const {
  if (!Handle()) return -1;
  const LRESULT index = SendMessageA(Handle(), CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void TsuiComboBox::SetItemIndex(int index) {
  // CB_SETCURSEL sends no CBN_SELCHANGE: no event, as it should be.
  if (Handle()) SendMessageA(Handle(), CB_SETCURSEL, index, 0);
}

std::string TsuiComboBox::Text() const {
  const int index = ItemIndex();
  return index >= 0 && index < ItemCount() ? items_[index] : std::string();
}

bool TsuiComboBox::HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == WM_COMMAND) {
    const WORD code = HIWORD(wparam);
    if (code == CBN_SELCHANGE && on_change_) on_change_();
    if (code == CBN_SELCHANGE || code == CBN_DROPDOWN || code == CBN_CLOSEUP) Repaint();
    result = 0;
    return true;
  }
  if (message == WM_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    if (item.itemState & ODS_COMBOBOXEDIT) {
      Repaint();  // the field is ours to paint whole
    } else {
      PaintItem(item);
    }
    result = TRUE;
    return true;
  }
  if (message == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->itemHeight = Scale(kItemHeight);
    result = TRUE;
    return true;
  }
  return false;
}

LRESULT TsuiComboBox::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  TrackHot(message);
  return PaintedWindowProc(message, wparam, lparam);
}

TsuiControlBase::TRepaint TsuiComboBox::RepaintAfter(UINT message) const {
  return PaintsNatively(message) ? TRepaint::Now : TRepaint::None;
}

void TsuiComboBox::Paint(const TControlPaint& paint) {
  const RECT& client = paint.client;
  const bool enabled = paint.enabled;
  const bool open = SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
  const bool focused = GetFocus() == Handle();
  const double w = client.right - client.left;
  const double h = client.bottom - client.top;
  const double radius = Scale(theme::kControlRadius);

  TPixelCanvas& canvas = paint.canvas;
  canvas.FillRoundRect({0, 0, w, h}, radius, enabled ? theme::kControlFill : theme::kWindow);
  std::uint32_t border = theme::kControlBorder;
  if (!enabled) border = theme::kCardBorder;
  else if (focused || open) border = theme::kAccent;
  else if (IsHot()) border = theme::kControlBorderHot;
  canvas.StrokeRoundRect({0, 0, w, h}, radius, focused && enabled ? Scale(2) : 1, border);

  // The chevron.
  const double cx = w - Scale(14);
  const double cy = h / 2;
  const double arm = Scale(4);
  const std::uint32_t ink = enabled ? theme::kTextMuted : theme::kTextDisabled;
  canvas.DrawLine(cx - arm, cy - arm / 2, cx, cy + arm / 2, Scale(1) * 1.5, ink);
  canvas.DrawLine(cx, cy + arm / 2, cx + arm, cy - arm / 2, Scale(1) * 1.5, ink);

  RECT text = client;
  text.left += Scale(8);
  text.right -= Scale(26);
  DrawThemeText(paint.buffer.Dc(), Text(), text, TFontRole::Normal, enabled ? theme::kText : theme::kTextDisabled,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void TsuiComboBox::PaintItem(const DRAWITEMSTRUCT& item) {
  TPaintBuffer buffer(item.hDC, item.rcItem);
  if (!buffer.Ready()) return;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  buffer.Canvas().Fill(selected ? theme::kMenuHighlight : theme::kControlFill);
  const int index = static_cast<int>(item.itemID);
  if (index < 0 || index >= ItemCount()) return;
  RECT text = item.rcItem;
  text.left += Scale(8);
  text.right -= Scale(4);
  DrawThemeText(buffer.Dc(), items_[index], text, TFontRole::Normal, theme::kText,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}
