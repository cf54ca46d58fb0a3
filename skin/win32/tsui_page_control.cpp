#include "skin/win32/tsui_page_control.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/win32/gdi.h"

namespace {

constexpr char kSheetClass[] = "TsuiTabSheet";

bool RegisterSheetClass() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, kSheetClass, &existing)) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kSheetClass;
  return RegisterClassExA(&wc) != 0;
}

bool IsWithin(HWND window, HWND ancestor) {
  for (HWND w = window; w; w = GetParent(w)) {
    if (w == ancestor) return true;
  }
  return false;
}

}  // namespace

bool TsuiTabSheet::Create(HWND parent, const TBounds& bounds) {
  if (!RegisterSheetClass()) return false;
  return CreateControl(
      {parent, 0, bounds, kSheetClass, "", WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT});
}

LRESULT TsuiTabSheet::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (RouteChildNotification(message, wparam, lparam, result)) return result;
  if (message == WM_ERASEBKGND) {
    RECT client;
    GetClientRect(Handle(), &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, ThemeBrush(Surface()));
    return 1;
  }
  return DefaultProc(message, wparam, lparam);
}

bool TsuiPageControl::Create(HWND parent, int id, const TBounds& bounds) {
  bounds_ = bounds;
  // The window holds the tabs only; AddSheet makes it as wide as they are.
  const TBounds tabs{bounds.x, bounds.y, bounds.width, theme::kTabHeight};
  const DWORD style = WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_FOCUSONBUTTONDOWN;
  if (!CreateControl({parent, id, tabs, WC_TABCONTROLA, "", style})) return false;
  SendMessageA(Handle(), TCM_SETPADDING, 0, MAKELPARAM(Scale(theme::kTabPadding), Scale(4)));
  SendMessageA(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(0, Scale(theme::kTabHeight - theme::kTabUnderline)));
  return true;
}

bool TsuiPageControl::AddSheet(TsuiTabSheet& sheet, const std::string& caption) {
  const TBounds page{bounds_.x, bounds_.y + theme::kTabHeight, bounds_.width, bounds_.height - theme::kTabHeight};
  if (!sheet.Create(GetParent(Handle()), page)) return false;
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  std::string text = caption;
  item.pszText = &text[0];
  const int index = static_cast<int>(sheets_.size());
  SendMessageA(Handle(), TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
  sheets_.push_back(&sheet);
  captions_.push_back(caption);
  FitToTabs();
  ShowActiveSheet();
  return true;
}

void TsuiPageControl::SetSheetCaption(int index, const std::string& caption) {
  if (index < 0 || index >= static_cast<int>(captions_.size())) return;
  captions_[index] = caption;
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  std::string text = caption;
  item.pszText = &text[0];
  SendMessageA(Handle(), TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
  // A longer caption (or a larger font) widens its tab: a strip left at the old width would
  // hide the last tabs under the control's scroll arrows.
  FitToTabs();
  Repaint();
}

void TsuiPageControl::FitToTabs() {
  const int count = static_cast<int>(captions_.size());
  if (!Handle() || count == 0) return;
  RECT window;
  GetWindowRect(Handle(), &window);
  const int height = window.bottom - window.top;
  const int full = Scale(bounds_.width);
  constexpr UINT kSizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  // Measured at the whole width: in a strip too narrow for them the tabs are scrolled.
  SetWindowPos(Handle(), nullptr, 0, 0, full, height, kSizeOnly);
  RECT last = {};
  SendMessageA(Handle(), TCM_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
  SetWindowPos(Handle(), nullptr, 0, 0, std::min(static_cast<int>(last.right) + Scale(2), full), height, kSizeOnly);
}

int TsuiPageControl::ActivePageIndex() const {
  return Handle() ? static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0)) : -1;
}

void TsuiPageControl::SetActivePageIndex(int index) {
  if (Handle()) SendMessageA(Handle(), TCM_SETCURSEL, index, 0);
  ShowActiveSheet();
  if (on_change_) on_change_();
}

bool TsuiPageControl::TranslatePageKeys(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0) return false;
  if (!Handle() || sheets_.empty() || !IsWithin(message.hwnd, GetAncestor(Handle(), GA_ROOT))) return false;
  const int count = static_cast<int>(sheets_.size());
  const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
  SetActivePageIndex((ActivePageIndex() + step) % count);
  SetFocus(Handle());
  return true;
}

bool TsuiPageControl::HandleParentMessage(UINT message, WPARAM, LPARAM lparam, LRESULT& result) {
  if (message != WM_NOTIFY) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lparam);
  if (header->code != TCN_SELCHANGE) return false;
  ShowActiveSheet();
  if (on_change_) on_change_();
  result = 0;
  return true;
}

void TsuiPageControl::ShowActiveSheet() {
  const int active = ActivePageIndex();
  HWND focus = GetFocus();
  for (int i = 0; i < static_cast<int>(sheets_.size()); ++i) {
    HWND sheet = sheets_[i]->Handle();
    if (i == active) continue;
    // Keep the keyboard focus out of a page that goes away.
    if (IsWithin(focus, sheet)) SetFocus(Handle());
    ShowWindow(sheet, SW_HIDE);
  }
  if (active >= 0 && active < static_cast<int>(sheets_.size())) ShowWindow(sheets_[active]->Handle(), SW_SHOWNA);
  Repaint();
}

LRESULT TsuiPageControl::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  TrackHot(message);
  return PaintedWindowProc(message, wparam, lparam);
}

TsuiControlBase::TRepaint TsuiPageControl::RepaintAfter(UINT message) const {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      return TRepaint::Later;
    default:
      return TRepaint::None;
  }
}

int TsuiPageControl::HotTab() const {
  if (!IsHot()) return -1;
  TCHITTESTINFO hit = {};
  GetCursorPos(&hit.pt);
  ScreenToClient(Handle(), &hit.pt);
  return static_cast<int>(SendMessageA(Handle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void TsuiPageControl::Paint(const TControlPaint& paint) {
  TPixelCanvas& canvas = paint.canvas;
  const int active = ActivePageIndex();
  const int hot = HotTab();
  const bool enabled = paint.enabled;
  const double underline = Scale(theme::kTabUnderline);
  const double bottom = paint.client.bottom;
  for (int i = 0; i < static_cast<int>(captions_.size()); ++i) {
    RECT item = {};
    SendMessageA(Handle(), TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    RECT text = {item.left, 0, item.right, static_cast<LONG>(bottom - underline)};
    std::uint32_t color = theme::kTextMuted;
    if (!enabled) color = theme::kTextDisabled;
    else if (i == active) color = theme::kAccent;
    else if (i == hot) color = theme::kText;
    if (i == active) {
      // The keyboard focus shows as a soft fill behind the active tab.
      if (ShowsFocus()) {
        canvas.FillRoundRect({item.left + 2.0, 2.0, item.right - 2.0, bottom - underline - 2}, Scale(4),
                             theme::kAccentSoft);
      }
      const double inset = Scale(theme::kTabPadding) - Scale(4);
      canvas.FillRoundRect({item.left + inset, bottom - underline, item.right - inset, bottom}, underline / 2, color);
    }
    DrawThemeText(paint.buffer.Dc(), captions_[i], text, i == active ? TFontRole::Caption : TFontRole::Normal, color,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}
