#pragma once
// A drop-down list with a flat rounded field and a chevron, its items drawn in the theme.
// A Windows combo box underneath (keys, wheel, accessibility); only its painting is
// replaced.
#include <vector>

#include "skin/win32/tsui_control.h"

class TsuiComboBox final : public TsuiControl<IComboBox> {
 public:
  // `bounds` is the closed field; the list opens below it.
  bool Create(HWND parent, int id, const TBounds& bounds);

  void ClearItems() override;
  void AddItem(const std::string& text) override;
  int ItemCount() const override { return static_cast<int>(items_.size()); }
  int IndexOf(const std::string& text) const override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;
  std::string Text() const override;
  std::int32_t Tag() const override { return tag_; }
  void SetTag(std::int32_t tag) override { tag_ = tag; }
  void SetOnChange(TNotifyEvent handler) override { on_change_ = std::move(handler); }

  bool HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  // The closed field.
  void Paint(const TControlPaint& paint) override;
  TRepaint RepaintAfter(UINT message) const override;

 private:
  void PaintItem(const DRAWITEMSTRUCT& item);

  std::vector<std::string> items_;
  std::int32_t tag_ = 0;
  TNotifyEvent on_change_;
};
