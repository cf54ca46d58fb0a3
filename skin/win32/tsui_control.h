#pragma once
// The base of every themed control: a Windows control (or container) bound to its C++
// object by a subclass, notifications that its parent passes back to it, the colour behind
// it, and Enabled as the panel means it — a control in a disabled group looks and acts
// disabled, and comes back as it was when the group does.
#include <windows.h>

#include <cstdint>
#include <string>

#include "skin/theme.h"
#include "skin/tsui_controls.h"
#include "skin/win32/dpi.h"

class TPaintBuffer;
class TPixelCanvas;

// What a self-painted control draws with: the off-screen buffer over its client area, its
// canvas already filled with the colour behind the control, and whether the window is
// enabled (every control dims when it is not).
struct TControlPaint {
  TPaintBuffer& buffer;
  TPixelCanvas& canvas;
  const RECT& client;
  bool enabled;
};

class TsuiControlBase {
 public:
  TsuiControlBase() = default;
  virtual ~TsuiControlBase();
  TsuiControlBase(const TsuiControlBase&) = delete;
  TsuiControlBase& operator=(const TsuiControlBase&) = delete;

  HWND Handle() const { return hwnd_; }
  static TsuiControlBase* FromHandle(HWND window);

  // A notification that the parent received about this control (WM_COMMAND, WM_NOTIFY,
  // WM_HSCROLL, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR...): true when handled.
  virtual bool HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  // The colour this control paints behind itself: its container's surface.
  std::uint32_t Background() const;
  // The surface a container paints for its children; others pass their parent's on.
  virtual std::uint32_t Surface() const { return Background(); }

  // The window's enabled state from the control's own Enabled and its parent's state;
  // passed on to the children.
  void ApplyEnabled();

 protected:
  // Given in braces, in the order of its fields.
  struct TCreateArgs {
    HWND parent = nullptr;
    int id = 0;
    TBounds bounds;
    const char* class_name = nullptr;
    std::string text;
    DWORD style = 0;
    DWORD ex_style = 0;
  };
  bool CreateControl(const TCreateArgs& args);

  // Every message of the window; the default passes it to the control's own procedure.
  virtual LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT DefaultProc(UINT message, WPARAM wparam, LPARAM lparam);

  // For controls that replace a Windows control's painting: WM_PAINT and WM_PRINTCLIENT go
  // to Paint, WM_ERASEBKGND is swallowed (Paint covers every pixel, so erasing would only
  // flicker), anything else to DefaultProc followed by the repaint RepaintAfter asks for.
  LRESULT PaintedWindowProc(UINT message, WPARAM wparam, LPARAM lparam);
  // Draws the whole control for PaintedWindowProc.
  virtual void Paint(const TControlPaint& paint);
  enum class TRepaint {
    None,
    Later,  // the themed look depends on a state the message changed
    Now,    // Windows' own control has just painted itself over the themed look
  };
  virtual TRepaint RepaintAfter(UINT message) const;
  // For containers: a child's notification goes to the child's object when it is themed,
  // and on to the window above when it is not. True when routed, with its result.
  bool RouteChildNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  bool OwnEnabled() const { return own_enabled_; }
  void SetOwnEnabled(bool enabled);
  bool IsHot() const { return hot_; }
  // Follows the mouse entering and leaving; repaints on each change.
  void TrackHot(UINT message);
  // Whether focus cues are to be drawn (keyboard use), and the window has the focus.
  bool ShowsFocus() const;
  void Repaint();

 private:
  // The paint preamble every self-painted control shares, then Paint.
  void PaintWindow(HDC print_dc);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR id, DWORD_PTR self);

  HWND hwnd_ = nullptr;
  bool own_enabled_ = true;
  bool hot_ = false;
};

// For windows that hold themed controls: hands a child's notification to the child's
// object. True when it handled it, with its result.
bool ReflectToControl(HWND parent, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

// The IControl properties for a control class; `Interface` is the control's interface.
template <class Interface>
class TsuiControl : public Interface, public TsuiControlBase {
 public:
  bool Enabled() const override { return OwnEnabled(); }
  void SetEnabled(bool enabled) override { SetOwnEnabled(enabled); }
  bool Visible() const override { return Handle() && IsWindowVisible(Handle()); }
  void SetVisible(bool visible) override {
    if (Handle()) ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
  }
};
