#include "skin/pixel_canvas.h"

#include <algorithm>
#include <cmath>

namespace {

// Theme colour (0x00BBGGRR) to pixel (0x00RRGGBB).
std::uint32_t ToPixel(std::uint32_t color) {
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

std::uint32_t Blend(std::uint32_t under, std::uint32_t over, double coverage) {
  if (coverage >= 1.0) return over;
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double a = (under >> shift) & 0xFF;
    const double b = (over >> shift) & 0xFF;
    out |= static_cast<std::uint32_t>(std::lround(a + (b - a) * coverage)) << shift;
  }
  return out;
}

// Signed distance from (x, y) to a rounded rectangle's edge; negative inside.
double RoundRectDistance(const TRectF& r, double radius, double x, double y) {
  const double cx = (r.left + r.right) / 2;
  const double cy = (r.top + r.bottom) / 2;
  const double half_w = (r.right - r.left) / 2 - radius;
  const double half_h = (r.bottom - r.top) / 2 - radius;
  const double dx = std::abs(x - cx) - half_w;
  const double dy = std::abs(y - cy) - half_h;
  const double outside = std::hypot(std::max(dx, 0.0), std::max(dy, 0.0));
  const double inside = std::min(std::max(dx, dy), 0.0);
  return outside + inside - radius;
}

double SegmentDistance(double x0, double y0, double x1, double y1, double x, double y) {
  const double vx = x1 - x0;
  const double vy = y1 - y0;
  const double length2 = vx * vx + vy * vy;
  const double t = length2 > 0 ? std::clamp(((x - x0) * vx + (y - y0) * vy) / length2, 0.0, 1.0) : 0.0;
  return std::hypot(x - (x0 + t * vx), y - (y0 + t * vy));
}

}  // namespace

TPixelCanvas::TPixelCanvas(std::uint32_t* pixels, int width, int height)
    : pixels_(pixels), width_(width), height_(height) {}

void TPixelCanvas::Fill(std::uint32_t color) {
  std::fill(pixels_, pixels_ + static_cast<std::size_t>(width_) * height_, ToPixel(color));
}

template <class Distance>
void TPixelCanvas::Paint(const TRectF& box, std::uint32_t color, Distance distance) {
  const std::uint32_t pixel = ToPixel(color);
  const int x0 = std::max(0, static_cast<int>(std::floor(box.left)) - 1);
  const int y0 = std::max(0, static_cast<int>(std::floor(box.top)) - 1);
  const int x1 = std::min(width_, static_cast<int>(std::ceil(box.right)) + 1);
  const int y1 = std::min(height_, static_cast<int>(std::ceil(box.bottom)) + 1);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      // A pixel half inside an edge is half covered.
      const double coverage = std::clamp(0.5 - distance(x + 0.5, y + 0.5), 0.0, 1.0);
      if (coverage <= 0.0) continue;
      std::uint32_t& target = pixels_[y * width_ + x];
      target = Blend(target, pixel, coverage);
    }
  }
}

void TPixelCanvas::FillRoundRect(const TRectF& rect, double radius, std::uint32_t color) {
  Paint(rect, color, [&](double x, double y) { return RoundRectDistance(rect, radius, x, y); });
}

void TPixelCanvas::StrokeRoundRect(const TRectF& rect, double radius, double width, std::uint32_t color) {
  const TRectF inner{rect.left + width, rect.top + width, rect.right - width, rect.bottom - width};
  const double inner_radius = std::max(radius - width, 0.0);
  Paint(rect, color, [&](double x, double y) {
    // Inside the outer shape and outside the inner one.
    return std::max(RoundRectDistance(rect, radius, x, y), -RoundRectDistance(inner, inner_radius, x, y));
  });
}

void TPixelCanvas::FillCircle(double cx, double cy, double radius, std::uint32_t color) {
  const TRectF box{cx - radius, cy - radius, cx + radius, cy + radius};
  Paint(box, color, [&](double x, double y) { return std::hypot(x - cx, y - cy) - radius; });
}

void TPixelCanvas::DrawLine(double x0, double y0, double x1, double y1, double width, std::uint32_t color) {
  const double half = width / 2;
  const TRectF box{std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + half,
                   std::max(y0, y1) + half};
  Paint(box, color, [&](double x, double y) { return SegmentDistance(x0, y0, x1, y1, x, y) - half; });
}

void TPixelCanvas::FillConvexPolygon(const TPointF* corners, int count, std::uint32_t color) {
  if (count < 3) return;
  TRectF box{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
  for (int i = 1; i < count; ++i) {
    box = {std::min(box.left, corners[i].x), std::min(box.top, corners[i].y), std::max(box.right, corners[i].x),
           std::max(box.bottom, corners[i].y)};
  }
  Paint(box, color, [&](double x, double y) {
    // Inside every edge's half-plane; the distance to the nearest edge line.
    double distance = -1e9;
    for (int i = 0; i < count; ++i) {
      const TPointF& a = corners[i];
      const TPointF& b = corners[(i + 1) % count];
      const double length = std::hypot(b.x - a.x, b.y - a.y);
      if (length == 0) continue;
      // Clockwise on screen: the inside lies to the right of each edge.
      const double side = ((x - a.x) * (b.y - a.y) - (y - a.y) * (b.x - a.x)) / length;
      distance = std::max(distance, side);
    }
    return distance;
  });
}

void TPixelCanvas::StrokeRingPart(double cx, double cy, double radius, double width, double cut_x,
                                  bool keep_right, std::uint32_t color) {
  const double outer = radius + width / 2;
  const TRectF box{cx - outer, cy - outer, cx + outer, cy + outer};
  Paint(box, color, [&](double x, double y) {
    const double ring = std::abs(std::hypot(x - cx, y - cy) - radius) - width / 2;
    const double cut = keep_right ? cut_x - x : x - cut_x;
    return std::max(ring, cut);
  });
}
