#pragma once
// The hidden application window. A second start of the panel finds the running copy by
// this window's class and title, and the main window's handle in its property.
#include <functional>

#include "common/win32/window.h"

class TApplicationWindow final : public TWindow {
 public:
  TApplicationWindow() = default;
  ~TApplicationWindow() override;

  bool Create();
  void SetFormProperty(HWND form);
  void RemoveFormProperty();

  // The system commands restore and minimize, should anything send them.
  std::function<void()> on_restore;
  std::function<void()> on_minimize;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
};
