// The themed controls' portable parts: a track bar's position and a caption's access key.
#include <gtest/gtest.h>

#include <vector>

#include "skin/mnemonic.h"
#include "skin/pixel_canvas.h"
#include "skin/track_bar_position.h"

TEST(TrackBarPosition, ClampsIntoTheRangeAndReportsOnlyRealMoves) {
  TTrackBarPosition bar;
  bar.SetMax(65535);
  EXPECT_TRUE(bar.SetPosition(70000));
  EXPECT_EQ(bar.Position(), 65535);
  EXPECT_FALSE(bar.SetPosition(65535));
  EXPECT_FALSE(bar.SetPosition(99999));
  EXPECT_TRUE(bar.SetPosition(-5));
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_FALSE(bar.SetPosition(-1));
}

TEST(TrackBarPosition, MovingAnEndDragsThePositionAndTheOtherEnd) {
  TTrackBarPosition bar;  // 0..10
  bar.SetPosition(8);
  EXPECT_TRUE(bar.SetMax(5));
  EXPECT_EQ(bar.Position(), 5);
  EXPECT_FALSE(bar.SetMin(2));
  EXPECT_TRUE(bar.SetMin(20));
  EXPECT_EQ(bar.Max(), 20);
  EXPECT_EQ(bar.Position(), 20);
}

TEST(Mnemonic, TheCharacterAfterASingleAmpersand) {
  EXPECT_EQ(MnemonicOf("&Setup"), 's');
  EXPECT_EQ(MnemonicOf("E&xit"), 'x');
  EXPECT_EQ(MnemonicOf("Fish && &Chips"), 'c');
  EXPECT_EQ(MnemonicOf("A && B"), 0);
  EXPECT_EQ(MnemonicOf("trailing&"), 0);
  EXPECT_EQ(MnemonicOf(""), 0);

  EXPECT_EQ(WithoutMnemonic("E&xit"), "Exit");
  EXPECT_EQ(WithoutMnemonic("Fish && &Chips"), "Fish & Chips");
  EXPECT_EQ(WithoutMnemonic("trailing&"), "trailing&");
}

namespace {

// A canvas over its own pixels, first filled white.
struct Canvas {
  Canvas(int w, int h) : pixels(static_cast<std::size_t>(w) * h), canvas(pixels.data(), w, h) {
    canvas.Fill(0xFFFFFF);
  }
  std::vector<std::uint32_t> pixels;
  TPixelCanvas canvas;
};

constexpr std::uint32_t kBlueTheme = 0xFF0000;  // 0x00BBGGRR
constexpr std::uint32_t kBluePixel = 0x0000FF;  // 0x00RRGGBB
constexpr std::uint32_t kWhite = 0xFFFFFF;

}  // namespace

TEST(PixelCanvas, ShapesCoverTheirInsideAndBlendTheirEdgeOnly) {
  Canvas c(20, 20);
  c.canvas.FillRoundRect({2, 2, 18, 18}, 5, kBlueTheme);
  EXPECT_EQ(c.canvas.PixelAt(10, 10), kBluePixel);
  EXPECT_EQ(c.canvas.PixelAt(10, 2), kBluePixel);  // straight edge on a pixel boundary
  EXPECT_EQ(c.canvas.PixelAt(1, 10), kWhite);
  // The corner is rounded: the corner pixel is partly covered, the one outside it not at all.
  const std::uint32_t corner = c.canvas.PixelAt(3, 3);
  EXPECT_NE(corner, kWhite);
  EXPECT_NE(corner, kBluePixel);
  EXPECT_EQ(c.canvas.PixelAt(2, 2), kWhite);
}

TEST(PixelCanvas, AStrokeLeavesTheMiddleAlone) {
  Canvas c(20, 20);
  c.canvas.StrokeRoundRect({0, 0, 20, 20}, 4, 1, kBlueTheme);
  EXPECT_EQ(c.canvas.PixelAt(10, 0), kBluePixel);
  EXPECT_EQ(c.canvas.PixelAt(10, 10), kWhite);
  EXPECT_EQ(c.canvas.PixelAt(10, 2), kWhite);
}

TEST(PixelCanvas, ShapesReachingPastTheEdgesAreClipped) {
  Canvas c(8, 8);
  c.canvas.FillCircle(0, 0, 30, kBlueTheme);
  c.canvas.DrawLine(-20, 4, 40, 4, 2, kBlueTheme);
  c.canvas.FillRoundRect({-5, -5, 100, 100}, 3, kBlueTheme);
  EXPECT_EQ(c.canvas.PixelAt(7, 7), kBluePixel);
  c.canvas.FillCircle(100, 100, 3, kWhite);  // wholly outside: nothing drawn
  EXPECT_EQ(c.canvas.PixelAt(7, 7), kBluePixel);
}

TEST(PixelCanvas, APolygonAndARingPartCoverOnlyTheirShape) {
  Canvas c(20, 20);
  const TPointF triangle[] = {{2, 2}, {18, 2}, {2, 18}};  // clockwise on screen
  c.canvas.FillConvexPolygon(triangle, 3, kBlueTheme);
  EXPECT_EQ(c.canvas.PixelAt(5, 5), kBluePixel);
  EXPECT_EQ(c.canvas.PixelAt(15, 15), kWhite);

  Canvas ring(20, 20);
  ring.canvas.StrokeRingPart(10, 10, 6, 2, 10, true, kBlueTheme);
  EXPECT_EQ(ring.canvas.PixelAt(15, 9), kBluePixel);  // on the ring, right of the cut
  EXPECT_EQ(ring.canvas.PixelAt(4, 9), kWhite);       // on the ring, left of it
  EXPECT_EQ(ring.canvas.PixelAt(10, 10), kWhite);     // the middle
}
