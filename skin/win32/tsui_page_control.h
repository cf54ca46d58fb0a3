#pragma once
// Pages with flat tabs: the tab captions on the window's background, the active one in the
// accent colour and underlined. A Windows tab control underneath (arrow keys, focus,
// accessibility); each page is a TsuiTabSheet laid over the area below the tabs.
#include <vector>

#include "skin/win32/tsui_control.h"

class TsuiTabSheet final : public TsuiControlBase {
 public:
  // A sheet is made by its page control.
  std::uint32_t Surface() const override { return theme::kWindow; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  friend class TsuiPageControl;
  bool Create(HWND parent, const TBounds& bounds);
};

class TsuiPageControl final : public IPageControl, public TsuiControlBase {
 public:
  // `bounds`: the tabs and the pages below them.
  bool Create(HWND parent, int id, const TBounds& bounds);
  // Adds a page; its controls are created as children of the sheet.
  bool AddSheet(TsuiTabSheet& sheet, const std::string& caption);
  void SetSheetCaption(int index, const std::string& caption);

  int ActivePageIndex() const override;
  void SetActivePageIndex(int index) override;
  void SetOnChange(TNotifyEvent handler) override { on_change_ = std::move(handler); }

  // Ctrl+Tab and Ctrl+Shift+Tab anywhere in the window turn the pages; true when it did.
  bool TranslatePageKeys(const MSG& message);

  bool HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Paint(const TControlPaint& paint) override;
  TRepaint RepaintAfter(UINT message) const override;

 private:
  void ShowActiveSheet();
  // Makes the strip as wide as its tabs, within the bounds.
  void FitToTabs();
  int HotTab() const;

  TBounds bounds_;
  std::vector<TsuiTabSheet*> sheets_;
  std::vector<std::string> captions_;
  TNotifyEvent on_change_;
};
