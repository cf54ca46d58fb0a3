#pragma once
// A horizontal track bar: a thin channel filled in the accent colour up to a round thumb,
// with optional tick dots. A Windows track bar underneath (keys, mouse, accessibility);
// only its painting is replaced.
#include "skin/track_bar_position.h"
#include "skin/win32/tsui_control.h"

struct TTrackBarSettings {
  int min = 0;
  int max = 10;
  int page_size = 1;
  int line_size = 1;
  int frequency = 1;  // one tick per this many steps
  bool show_tick = false;
};

class TsuiTrackBar final : public TsuiControl<ITrackBar> {
 public:
  bool Create(HWND parent, int id, const TBounds& bounds, const TTrackBarSettings& settings);

  int Position() const override { return range_.Position(); }
  void SetPosition(int position) override;
  int Min() const override { return range_.Min(); }
  int Max() const override { return range_.Max(); }
  void SetMin(int min) override;
  void SetMax(int max) override;
  int PageSize() const override { return page_size_; }
  bool ShowTick() const override { return show_tick_; }
  void SetShowTick(bool show) override;
  void SetOnChange(TNotifyEvent handler) override { on_change_ = std::move(handler); }

  bool HandleParentMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Paint(const TControlPaint& paint) override;
  TRepaint RepaintAfter(UINT message) const override;

 private:
  // Shows the stored range and position on the control and raises OnChange if it moved.
  void Changed(bool moved);

  TTrackBarPosition range_;
  int page_size_ = 1;
  int frequency_ = 1;
  bool show_tick_ = false;
  TNotifyEvent on_change_;
};
