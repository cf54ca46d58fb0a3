#pragma once
// A popup menu drawn in the theme: roomy items, a soft highlight, thin separators. Its
// items keep their text for screen readers and answer their access keys.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/tsui_controls.h"

class TsuiPopupMenu {
 public:
  TsuiPopupMenu();
  ~TsuiPopupMenu();
  TsuiPopupMenu(const TsuiPopupMenu&) = delete;
  TsuiPopupMenu& operator=(const TsuiPopupMenu&) = delete;

  // `owner` receives the menu's drawing messages (see HandleMenuMessage).
  bool Create(HWND owner);
  // A caption of "-" adds a separator.
  void AddItem(const std::string& caption, TNotifyEvent on_click);
  void SetItemCaption(int index, const std::string& caption);

  // Opens the menu at a screen position and runs the chosen item's OnClick. Does nothing
  // while the menu is open already.
  void Popup(int x, int y);

  // The owner's WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR for this menu; true when handled.
  bool HandleMenuMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

 private:
  struct TItem;
  const TItem* ItemOf(ULONG_PTR data) const;
  void Measure(MEASUREITEMSTRUCT& measure) const;
  void Draw(const DRAWITEMSTRUCT& draw) const;
  LRESULT MenuChar(WPARAM wparam, LPARAM lparam) const;

  HWND owner_ = nullptr;
  HMENU menu_ = nullptr;
  bool open_ = false;
  std::vector<std::unique_ptr<TItem>> items_;
};
