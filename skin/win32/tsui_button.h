#pragma once
// A push button: flat, rounded, with a hover and a pressed look. An owner-drawn Windows
// button underneath, so keyboard, focus and accessibility are the system's.
#include "skin/win32/tsui_control.h"

class TsuiButton final : public TsuiControl<IButton> {
 public:
  bool Create(HWND parent, int id, const TBounds& bounds, const std::string& caption);
  void SetCaption(const std::string& caption);
  void SetOnClick(TNotifyEvent handler) override { on_click_ = std::move(handler); }

  bool HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void PaintItem(const DRAWITEMSTRUCT& item);

  TNotifyEvent on_click_;
};
