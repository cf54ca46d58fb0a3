#pragma once
// A line of text on the window's surface, drawn in the theme's colours: dimmed when it or
// its group is disabled. A Windows static control underneath, so screen readers take it as
// the name of the control that follows it.
#include "skin/win32/gdi.h"
#include "skin/win32/tsui_control.h"

struct TLabelStyle {
  TFontRole font = TFontRole::Normal;
  std::uint32_t color = theme::kText;
  UINT align = DT_LEFT;
};

class TLabel final : public TsuiControl<IControl> {
 public:
  bool Create(HWND parent, int id, const TBounds& bounds, const std::string& caption,
              const TLabelStyle& style = TLabelStyle());
  void SetCaption(const std::string& caption);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Paint(const TControlPaint& paint) override;
  TRepaint RepaintAfter(UINT message) const override;

 private:

  TLabelStyle style_;
};
