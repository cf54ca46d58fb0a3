#pragma once
// Anti-aliased shapes drawn into a 32-bit pixel buffer (the bits of a top-down DIB section):
// GDI has no smooth edges, and the themed controls' rounded corners and round thumbs need
// them. Text is left to GDI, drawn into the same buffer afterwards.
#include <cstdint>

struct TPointF {
  double x;
  double y;
};

struct TRectF {
  double left;
  double top;
  double right;
  double bottom;
};

class TPixelCanvas {
 public:
  // `pixels`: width * height values 0x00RRGGBB, rows from the top.
  TPixelCanvas(std::uint32_t* pixels, int width, int height);

  // Colours are theme colours (0x00BBGGRR, as a COLORREF).
  void Fill(std::uint32_t color);
  void FillRoundRect(const TRectF& rect, double radius, std::uint32_t color);
  // A border of `width` inside the rectangle.
  void StrokeRoundRect(const TRectF& rect, double radius, double width, std::uint32_t color);
  void FillCircle(double cx, double cy, double radius, std::uint32_t color);
  // A line with round ends.
  void DrawLine(double x0, double y0, double x1, double y1, double width, std::uint32_t color);
  // A convex polygon, its corners in clockwise order (y downwards).
  void FillConvexPolygon(const TPointF* corners, int count, std::uint32_t color);
  // A ring of `width` centred on `radius`, cut straight at x = `cut_x`: the part right of
  // the cut when `keep_right`, else the part left of it.
  void StrokeRingPart(double cx, double cy, double radius, double width, double cut_x, bool keep_right,
                      std::uint32_t color);

  std::uint32_t PixelAt(int x, int y) const { return pixels_[y * width_ + x]; }

 private:
  // Blends `color` over every pixel by the coverage of the shape whose signed distance
  // (negative inside) `distance` gives for a pixel centre; only within the box.
  template <class Distance>
  void Paint(const TRectF& box, std::uint32_t color, Distance distance);

  std::uint32_t* pixels_;
  int width_;
  int height_;
};
