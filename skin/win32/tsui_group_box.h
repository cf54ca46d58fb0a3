#pragma once
// A group: a white card with rounded corners and its caption in a band at the top; the
// controls inside are its children. A Windows group box underneath, so screen readers name
// the group when the focus enters it. Disabling the group disables what it holds.
#include "skin/win32/tsui_control.h"

class TsuiGroupBox final : public TsuiControl<IGroupBox> {
 public:
  // An empty caption gives a plain card.
  bool Create(HWND parent, int id, const TBounds& bounds, const std::string& caption);
  void SetCaption(const std::string& caption);

  std::uint32_t Surface() const override { return theme::kCard; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Paint(const TControlPaint& paint) override;
  TRepaint RepaintAfter(UINT message) const override;
};
