#include "skin/win32/tsui_image_panel.h"

bool TsuiImagePanel::Create(HWND parent, int id, const TBounds& bounds) {
  return CreateControl({parent, id, bounds, "STATIC", "", WS_VISIBLE | SS_OWNERDRAW});
}

void TsuiImagePanel::SetIcon(HICON icon) {
  icon_ = icon;
  Repaint();
}

void TsuiImagePanel::SetPainter(TPainter painter) {
  painter_ = std::move(painter);
  Repaint();
}

bool TsuiImagePanel::HandleParentMessage(UINT message, WPARAM, LPARAM lparam, LRESULT& result) {
  if (message != WM_DRAWITEM) return false;
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
  TPaintBuffer buffer(item.hDC, item.rcItem);
  if (buffer.Ready()) {
    buffer.Canvas().Fill(Background());
    if (painter_) painter_(buffer, item.rcItem, IsWindowEnabled(Handle()) != FALSE);
    if (icon_) {
      DrawIconEx(buffer.Dc(), item.rcItem.left, item.rcItem.top, icon_, item.rcItem.right - item.rcItem.left,
                 item.rcItem.bottom - item.rcItem.top, 0, nullptr, DI_NORMAL);
    }
  }
  result = TRUE;
  return true;
}
