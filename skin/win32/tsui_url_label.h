#pragma once
// A web address that opens in the browser: a Windows link control, so it takes the focus,
// opens with Enter too and reads as a link to screen readers.
#include "skin/win32/tsui_control.h"

class TsuiURLLabel final : public TsuiControl<IControl> {
 public:
  bool Create(HWND parent, int id, const TBounds& bounds, const std::string& caption, const std::string& url);

  bool HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  std::string url_;
};
