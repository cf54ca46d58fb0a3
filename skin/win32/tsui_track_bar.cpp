#include "skin/win32/tsui_track_bar.h"

#include <commctrl.h>

#include "skin/win32/gdi.h"

bool TsuiTrackBar::Create(HWND parent, int id, const TBounds& bounds, const TTrackBarSettings& settings) {
  const DWORD style = WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_BOTH | TBS_NOTICKS;
  if (!CreateControl({parent, id, bounds, TRACKBAR_CLASSA, "", style})) return false;
  range_.SetMin(settings.min);
  range_.SetMax(settings.max);
  range_.SetPosition(settings.min);
  page_size_ = settings.page_size;
  frequency_ = settings.frequency > 0 ? settings.frequency : 1;
  show_tick_ = settings.show_tick;
  // The full range needs the separate messages: TBM_SETRANGE packs it into 16-bit halves.
  SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, range_.Min());
  SendMessageA(Handle(), TBM_SETRANGEMAX, FALSE, range_.Max());
  SendMessageA(Handle(), TBM_SETPAGESIZE, 0, page_size_);
  SendMessageA(Handle(), TBM_SETLINESIZE, 0, settings.line_size);
  SendMessageA(Handle(), TBM_SETPOS, TRUE, range_.Position());
  return true;
}

void TsuiTrackBar::SetPosition(int position) { Changed(range_.SetPosition(position)); }

void TsuiTrackBar::SetMin(int min) { Changed(range_.SetMin(min)); }

void TsuiTrackBar::SetMax(int max) { Changed(range_.SetMax(max)); }

void TsuiTrackBar::SetShowTick(bool show) {
  show_tick_ = show;
  Repaint();
}

void TsuiTrackBar::Changed(bool moved) {
  if (Handle()) {
    SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, range_.Min());
    SendMessageA(Handle(), TBM_SETRANGEMAX, FALSE, range_.Max());
    SendMessageA(Handle(), TBM_SETPOS, TRUE, range_.Position());
    Repaint();
  }
  if (moved && on_change_) on_change_();
}

bool TsuiTrackBar::HandleParentMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (message != WM_HSCROLL) return false;
  // The user moved it: keys, mouse or wheel.
  const int position = static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
  if (range_.SetPosition(position) && on_change_) on_change_();
  Repaint();
  result = 0;
  return true;
}

LRESULT TsuiTrackBar::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  TrackHot(message);
  return PaintedWindowProc(message, wparam, lparam);
}

TsuiControlBase::TRepaint TsuiTrackBar::RepaintAfter(UINT message) const {
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_UPDATEUISTATE:
      return TRepaint::Later;
    default:
      return TRepaint::None;
  }
}

void TsuiTrackBar::Paint(const TControlPaint& paint) {
  const RECT& client = paint.client;
  const bool enabled = paint.enabled;
  TPixelCanvas& canvas = paint.canvas;

  // Where Windows keeps the thumb, so the picture follows the mouse exactly.
  RECT thumb = {};
  SendMessageA(Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  RECT channel = {};
  SendMessageA(Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  const double thumb_x = (thumb.left + thumb.right) / 2.0;
  const double radius = Scale(theme::kThumbDiameter) / 2.0;
  const double mid_y = (client.bottom - client.top) / 2.0 - (show_tick_ ? Scale(3) : 0);
  const double thickness = Scale(theme::kChannelThickness);
  const double track_left = channel.left + (thumb.right - thumb.left) / 2.0;
  const double track_right = channel.right - (thumb.right - thumb.left) / 2.0;

  canvas.FillRoundRect({track_left - thickness / 2, mid_y - thickness / 2, track_right + thickness / 2, mid_y + thickness / 2},
                       thickness / 2, enabled ? theme::kChannel : theme::kCardBorder);
  if (enabled && thumb_x > track_left) {
    canvas.FillRoundRect({track_left - thickness / 2, mid_y - thickness / 2, thumb_x, mid_y + thickness / 2},
                         thickness / 2, theme::kAccent);
  }
  if (show_tick_ && range_.Max() > range_.Min()) {
    const double span = range_.Max() - range_.Min();
    for (long long value = range_.Min(); value <= range_.Max(); value += frequency_) {
      const double x = track_left + (track_right - track_left) * (value - range_.Min()) / span;
      canvas.FillCircle(x, mid_y + radius + Scale(4), Scale(1), enabled ? theme::kControlBorderHot : theme::kCardBorder);
    }
  }
  if (ShowsFocus()) canvas.FillCircle(thumb_x, mid_y, radius + Scale(3), theme::kAccentSoft);
  const std::uint32_t ring = !enabled ? theme::kTextDisabled : IsHot() ? theme::kAccentHot : theme::kAccent;
  canvas.FillCircle(thumb_x, mid_y, radius, ring);
  canvas.FillCircle(thumb_x, mid_y, radius - Scale(2), enabled ? theme::kCard : theme::kWindow);
}
