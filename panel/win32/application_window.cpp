#include "panel/win32/application_window.h"

#include "panel/instance_names.h"

TApplicationWindow::~TApplicationWindow() { Destroy(); }

bool TApplicationWindow::Create() {
  CreateArgs args;
  args.class_name = panel_instance::kApplicationClass;
  args.title = panel_instance::kApplicationTitle;
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  args.x = 0;
  args.y = 0;
  args.width = 0;
  args.height = 0;
  return TWindow::Create(args);
}

void TApplicationWindow::SetFormProperty(HWND form) {
  SetPropA(Handle(), panel_instance::kFormProperty, form);
}

void TApplicationWindow::RemoveFormProperty() { RemovePropA(Handle(), panel_instance::kFormProperty); }

LRESULT TApplicationWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSCOMMAND) {
    const UINT command = static_cast<UINT>(wparam & 0xFFF0);
    if (command == SC_RESTORE && on_restore) {
      on_restore();
      return 0;
    }
    if (command == SC_MINIMIZE && on_minimize) {
      on_minimize();
      return 0;
    }
  }
  return TWindow::HandleMessage(message, wparam, lparam);
}
