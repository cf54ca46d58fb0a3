#include "common/win32/window.h"

#include <cstdio>
#include <exception>

namespace {

// What a handler threw is told to a debugger; the message then gets the default handling.
void ReportEscapedException(UINT message, const char* what) {
  char text[256];
  std::snprintf(text, sizeof text, "window message 0x%04X: exception: %s\n", message, what);
  OutputDebugStringA(text);
}

}  // namespace

TWindow::~TWindow() { Destroy(); }

bool TWindow::Create(const CreateArgs& args) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof(existing);
  if (!GetClassInfoExA(instance, args.class_name, &existing)) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TWindow::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = args.class_name;
    wc.hIcon = args.icon;
    if (!RegisterClassExA(&wc)) return false;
  }
  return CreateWindowExA(args.ex_style, args.class_name, args.title, args.style, args.x, args.y,
                         args.width, args.height, args.parent, nullptr, instance, this) != nullptr;
}

void TWindow::Destroy() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK TWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    auto* self = static_cast<TWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // Last message of the window: let go of it so nothing later reaches a dead object.
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, message, wparam, lparam);
  }
  // No C++ exception may unwind through Windows' frames.
  try {
    return self->HandleMessage(message, wparam, lparam);
  } catch (const std::exception& error) {
    ReportEscapedException(message, error.what());
  } catch (...) {
    ReportEscapedException(message, "of an unknown kind");
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}
