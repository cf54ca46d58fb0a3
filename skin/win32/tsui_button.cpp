#include "skin/win32/tsui_button.h"

#include "skin/win32/gdi.h"

bool TsuiButton::Create(HWND parent, int id, const TBounds& bounds, const std::string& caption) {
  return CreateControl({parent, id, bounds, "BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_OWNERDRAW});
}

void TsuiButton::SetCaption(const std::string& caption) {
  if (Handle()) SetWindowTextA(Handle(), caption.c_str());
}

namespace {

// The dialog keys' question about Enter (`lparam` of WM_GETDLGCODE may be no message).
bool AsksForEnter(LPARAM lparam) {
  const auto* message = reinterpret_cast<const MSG*>(lparam);
  return message != nullptr && (message->message == WM_KEYDOWN || message->message == WM_CHAR) &&
         message->wParam == VK_RETURN;
}

}  // namespace

LRESULT TsuiButton::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  TrackHot(message);
  switch (message) {
    case WM_GETDLGCODE: {
      // An owner-drawn button is no push button to the dialog keys, and the window has no
      // default button: Enter would be lost. A focused button takes it, as in any dialog.
      const LRESULT code = DefaultProc(message, wparam, lparam);
      return AsksForEnter(lparam) ? code | DLGC_WANTMESSAGE : code;
    }
    case WM_KEYDOWN:
      if (wparam != VK_RETURN) break;
      // One press per stroke, not one per key repeat.
      if ((lparam & (1 << 30)) == 0) {
        SendMessageA(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(Handle()));
      }
      return 0;
    case WM_CHAR:
      if (wparam == VK_RETURN) return 0;  // no beep for the Enter already taken
      break;
    default:
      break;
  }
  return DefaultProc(message, wparam, lparam);
}

bool TsuiButton::HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    if (on_click_) on_click_();
    result = 0;
    return true;
  }
  if (message == WM_DRAWITEM) {
    PaintItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
    result = TRUE;
    return true;
  }
  return false;
}

void TsuiButton::PaintItem(const DRAWITEMSTRUCT& item) {
  TPaintBuffer buffer(item.hDC, item.rcItem);
  if (!buffer.Ready()) return;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
  const double w = item.rcItem.right - item.rcItem.left;
  const double h = item.rcItem.bottom - item.rcItem.top;
  const double radius = Scale(theme::kControlRadius);

  TPixelCanvas& canvas = buffer.Canvas();
  canvas.Fill(Background());
  std::uint32_t fill = theme::kControlFill;
  std::uint32_t border = theme::kControlBorder;
  if (!enabled) {
    fill = theme::kWindow;
  } else if (pressed) {
    fill = theme::kControlFillPressed;
    border = theme::kControlBorderHot;
  } else if (IsHot()) {
    fill = theme::kAccentSoft;
    border = theme::kAccent;
  }
  canvas.FillRoundRect({0, 0, w, h}, radius, fill);
  // The keyboard focus shows as a thicker accent border.
  canvas.StrokeRoundRect({0, 0, w, h}, radius, focused ? Scale(2) : 1, focused ? theme::kAccent : border);

  char caption[128] = {};
  GetWindowTextA(Handle(), caption, sizeof caption);
  DrawThemeText(buffer.Dc(), caption, item.rcItem, TFontRole::Normal,
                enabled ? theme::kText : theme::kTextDisabled, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
