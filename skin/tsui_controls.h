#pragma once
// What the panel's code sees of the themed controls: their properties and events, without
// Windows. The skin's Win32 classes implement these; the panel's unit tests fake them.
#include <cstdint>
#include <functional>
#include <string>

using TNotifyEvent = std::function<void()>;

class IControl {
 public:
  virtual ~IControl() = default;
  // The control's own setting; a control inside a disabled group also looks and acts disabled.
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
};

class IButton : public IControl {
 public:
  virtual void SetOnClick(TNotifyEvent handler) = 0;
};

class IGroupBox : public IControl {};

class ITrackBar : public IControl {
 public:
  virtual int Position() const = 0;
  // Clamped into Min..Max; raises OnChange when the position changes.
  virtual void SetPosition(int position) = 0;
  virtual int Min() const = 0;
  virtual int Max() const = 0;
  virtual void SetMin(int min) = 0;
  virtual void SetMax(int max) = 0;
  virtual int PageSize() const = 0;
  virtual bool ShowTick() const = 0;
  virtual void SetShowTick(bool show) = 0;
  // Raised for the user's moves and for SetPosition/SetMin/SetMax that move the position.
  virtual void SetOnChange(TNotifyEvent handler) = 0;
};

class ICheckBox : public IControl {
 public:
  virtual bool Checked() const = 0;
  // Raises OnClick when the state changes, as a click would.
  virtual void SetChecked(bool checked) = 0;
  virtual void SetOnClick(TNotifyEvent handler) = 0;
};

// A drop-down list.
class IComboBox : public IControl {
 public:
  virtual void ClearItems() = 0;
  virtual void AddItem(const std::string& text) = 0;
  virtual int ItemCount() const = 0;
  // The first item equal to `text`, or -1.
  virtual int IndexOf(const std::string& text) const = 0;
  // -1 is no selection. Setting it raises no event.
  virtual int ItemIndex() const = 0;
  virtual void SetItemIndex(int index) = 0;
  // The selected item's text; empty without a selection.
  virtual std::string Text() const = 0;
  // A number the panel keeps with the control.
  virtual std::int32_t Tag() const = 0;
  virtual void SetTag(std::int32_t tag) = 0;
  // Raised only for a choice the user makes.
  virtual void SetOnChange(TNotifyEvent handler) = 0;
};

class IPageControl {
 public:
  virtual ~IPageControl() = default;
  virtual int ActivePageIndex() const = 0;
  // Raises OnChange, also when the panel itself changes the page.
  virtual void SetActivePageIndex(int index) = 0;
  virtual void SetOnChange(TNotifyEvent handler) = 0;
};
