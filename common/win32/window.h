#pragma once
// A thin wrapper that binds a window to its C++ object at WM_NCCREATE and routes every later
// message to HandleMessage. Messages that arrive after the object let go of the window (or
// before it was bound) get default processing, and so does a message whose handler threw:
// the exception is logged with OutputDebugStringA and goes no further.
#include <windows.h>

class TWindow {
 public:
  TWindow() = default;
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  HWND Handle() const { return hwnd_; }

 protected:
  struct CreateArgs {
    const char* class_name = nullptr;
    const char* title = "";
    DWORD style = WS_OVERLAPPED;
    DWORD ex_style = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HICON icon = nullptr;
  };

  // Registers the class on first use and creates the window; false when Windows refuses.
  bool Create(const CreateArgs& args);
  void Destroy();

  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
};
