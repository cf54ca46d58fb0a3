#pragma once
// A picture on the window's surface: an icon at a given size, or anything a painter draws.
#include <functional>

#include "skin/win32/gdi.h"
#include "skin/win32/tsui_control.h"

class TsuiImagePanel final : public TsuiControl<IControl> {
 public:
  // Draws into `area` of the buffer (target coordinates); the background is already there.
  // `enabled`: whether the panel, and so its group, is enabled.
  using TPainter = std::function<void(TPaintBuffer& buffer, const RECT& area, bool enabled)>;

  bool Create(HWND parent, int id, const TBounds& bounds);
  // The panel does not own the icon.
  void SetIcon(HICON icon);
  void SetPainter(TPainter painter);

  bool HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  HICON icon_ = nullptr;
  TPainter painter_;
};
