#pragma once
// A check box with a rounded box and an accent tick. A real Windows check box underneath
// (keyboard, focus, accessibility); only its painting is replaced.
#include "skin/win32/tsui_control.h"

class TsuiCheckBox final : public TsuiControl<ICheckBox> {
 public:
  // `name`, when given, is what screen readers call the box instead of its caption: the
  // window's text, which they read, while the caption is what is drawn.
  bool Create(HWND parent, int id, const TBounds& bounds, const std::string& caption, const std::string& name = "");
  void SetCaption(const std::string& caption);

  bool Checked() const override;
  void SetChecked(bool checked) override;
  void SetOnClick(TNotifyEvent handler) override { on_click_ = std::move(handler); }

  bool HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Paint(const TControlPaint& paint) override;
  TRepaint RepaintAfter(UINT message) const override;

 private:
  std::string caption_;
  bool named_ = false;
  TNotifyEvent on_click_;
};
