#include "panel/win32/pictures.h"

#include <algorithm>

#include "skin/theme.h"
#include "skin/win32/dpi.h"

namespace {
constexpr char kMakerName[] = "CORVANE";
}  // namespace

void PaintLoudness(TPaintBuffer& buffer, const RECT& area, int waves, bool enabled) {
  TPixelCanvas& canvas = buffer.Canvas();
  const std::uint32_t ink = enabled ? theme::kTextMuted : theme::kCardBorder;
  // In the buffer's coordinates, centred in the area.
  const double w = area.right - area.left;
  const double h = area.bottom - area.top;
  const double s = std::min(w, h) / 16.0;
  const double left = (w - 16 * s) / 2 + (waves == 0 ? 3 * s : 0);
  const double top = (h - 16 * s) / 2;
  const TPointF cone[] = {{left + 1 * s, top + 6 * s}, {left + 4 * s, top + 6 * s}, {left + 8 * s, top + 2.5 * s},
                          {left + 8 * s, top + 13.5 * s}, {left + 4 * s, top + 10 * s}, {left + 1 * s, top + 10 * s}};
  canvas.FillConvexPolygon(cone, 6, ink);
  for (int wave = 1; wave <= waves; ++wave) {
    canvas.StrokeRingPart(left + 8 * s, top + 8 * s, (1.5 + 2.8 * wave) * s, 1.4 * s, left + 9.5 * s, true, ink);
  }
}

void PaintLogo(TPaintBuffer& buffer, const RECT& area) {
  TPixelCanvas& canvas = buffer.Canvas();
  const double h = area.bottom - area.top;
  const double mark = h;
  canvas.FillRoundRect({0, 0, mark, mark}, mark * 0.28, theme::kAccent);
  // An open ring: the maker's initial.
  canvas.StrokeRingPart(mark / 2, mark / 2, mark * 0.27, mark * 0.12, mark * 0.62, false, theme::kCard);
  canvas.FillCircle(mark * 0.66, mark * 0.5, mark * 0.07, theme::kCard);

  RECT text = area;
  text.left += static_cast<LONG>(mark + Scale(10));
  DrawThemeText(buffer.Dc(), kMakerName, text, TFontRole::Title, theme::kText, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}
