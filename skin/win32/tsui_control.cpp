#include "skin/win32/tsui_control.h"

#include <commctrl.h>

#include "skin/win32/gdi.h"

namespace {
constexpr char kControlProperty[] = "TsuiControl";
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

TsuiControlBase::~TsuiControlBase() {
  if (hwnd_) {
    RemoveWindowSubclass(hwnd_, &TsuiControlBase::SubclassProc, kSubclassId);
    RemovePropA(hwnd_, kControlProperty);
  }
}

TsuiControlBase* TsuiControlBase::FromHandle(HWND window) {
  return window ? static_cast<TsuiControlBase*>(GetPropA(window, kControlProperty)) : nullptr;
}

bool TsuiControlBase::CreateControl(const TCreateArgs& args) {
  const RECT r = ScaledRect(args.bounds);
  hwnd_ = CreateWindowExA(args.ex_style, args.class_name, args.text.c_str(), args.style | WS_CHILD, r.left,
                          r.top, r.right - r.left, r.bottom - r.top, args.parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)), GetModuleHandleA(nullptr),
                          nullptr);
  if (!hwnd_) return false;
  SetPropA(hwnd_, kControlProperty, this);
  SetWindowSubclass(hwnd_, &TsuiControlBase::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(ThemeFont(TFontRole::Normal)), FALSE);
  ApplyEnabled();
  return true;
}

LRESULT CALLBACK TsuiControlBase::SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                               UINT_PTR, DWORD_PTR self) {
  auto* control = reinterpret_cast<TsuiControlBase*>(self);
  if (message == WM_NCDESTROY) {
    // The window goes first: the object must not reach it any more.
    RemoveWindowSubclass(hwnd, &TsuiControlBase::SubclassProc, kSubclassId);
    RemovePropA(hwnd, kControlProperty);
    control->hwnd_ = nullptr;
    return DefSubclassProc(hwnd, message, wparam, lparam);
  }
  return control->WindowProc(message, wparam, lparam);
}

LRESULT TsuiControlBase::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefaultProc(message, wparam, lparam);
}

LRESULT TsuiControlBase::DefaultProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefSubclassProc(hwnd_, message, wparam, lparam);
}

LRESULT TsuiControlBase::PaintedWindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      PaintWindow(nullptr);
      return 0;
    case WM_PRINTCLIENT:
      PaintWindow(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      break;
  }
  const LRESULT result = DefaultProc(message, wparam, lparam);
  switch (RepaintAfter(message)) {
    case TRepaint::Later:
      Repaint();
      break;
    case TRepaint::Now:
      // At once, so the native picture is not left on screen until the next paint.
      if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      break;
    case TRepaint::None:
      break;
  }
  return result;
}

void TsuiControlBase::PaintWindow(HDC print_dc) {
  TWindowPaint paint(hwnd_, print_dc);
  TPaintBuffer& buffer = paint.Buffer();
  if (!buffer.Ready()) return;
  buffer.Canvas().Fill(Background());
  Paint({buffer, buffer.Canvas(), paint.Client(), IsWindowEnabled(hwnd_) != FALSE});
}

void TsuiControlBase::Paint(const TControlPaint&) {}

TsuiControlBase::TRepaint TsuiControlBase::RepaintAfter(UINT) const { return TRepaint::None; }

bool TsuiControlBase::RouteChildNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (ReflectToControl(hwnd_, message, wparam, lparam, result)) return true;
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      result = SendMessageA(GetParent(hwnd_), message, wparam, lparam);
      return true;
    default:
      return false;
  }
}

bool TsuiControlBase::HandleParentMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

std::uint32_t TsuiControlBase::Background() const {
  const TsuiControlBase* container = FromHandle(hwnd_ ? GetParent(hwnd_) : nullptr);
  return container ? container->Surface() : theme::kWindow;
}

void TsuiControlBase::SetOwnEnabled(bool enabled) {
  own_enabled_ = enabled;
  ApplyEnabled();
}

void TsuiControlBase::ApplyEnabled() {
  if (!hwnd_) return;
  HWND parent = GetParent(hwnd_);
  const bool parent_enabled = parent == nullptr || IsWindowEnabled(parent);
  EnableWindow(hwnd_, own_enabled_ && parent_enabled);
  Repaint();
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (TsuiControlBase* control = FromHandle(child)) control->ApplyEnabled();
  }
}

void TsuiControlBase::TrackHot(UINT message) {
  if (message == WM_MOUSEMOVE && !hot_) {
    hot_ = true;
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd_, 0};
    TrackMouseEvent(&track);
    Repaint();
  } else if (message == WM_MOUSELEAVE && hot_) {
    hot_ = false;
    Repaint();
  }
}

bool TsuiControlBase::ShowsFocus() const {
  if (!hwnd_ || GetFocus() != hwnd_) return false;
  const LRESULT ui_state = SendMessageA(hwnd_, WM_QUERYUISTATE, 0, 0);
  return (ui_state & UISF_HIDEFOCUS) == 0;
}

void TsuiControlBase::Repaint() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

bool ReflectToControl(HWND parent, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      child = reinterpret_cast<HWND>(lparam);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<const NMHDR*>(lparam)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlType != ODT_MENU) child = item->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lparam);
      if (item->CtlType != ODT_MENU) child = GetDlgItem(parent, static_cast<int>(item->CtlID));
      break;
    }
    default:
      return false;
  }
  TsuiControlBase* control = TsuiControlBase::FromHandle(child);
  return control != nullptr && control->HandleParentMessage(message, wparam, lparam, result);
}
