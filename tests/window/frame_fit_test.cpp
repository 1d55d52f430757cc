#include <gtest/gtest.h>

#include "platform/sdl/frame_fit.h"

namespace {

constexpr int kW = 816, kH = 300;

// Where a frame pixel's block centre lies, mapped back as the mouse would be.
void ExpectRoundTrip(const FrameFit& fit, int frame_x, int frame_y) {
  const int px = fit.x + frame_x * fit.scale + fit.scale / 2;
  const int py = fit.y + frame_y * fit.scale + fit.scale / 2;
  EXPECT_EQ(FrameCoordinate(px, fit.x, fit.scale), frame_x);
  EXPECT_EQ(FrameCoordinate(py, fit.y, fit.scale), frame_y);
}

}  // namespace

TEST(FrameFitTest, TheLargestWholeFactorThatFitsIsCentred) {
  const FrameFit exact = FitFrame(kW, kH, 1632, 600);
  EXPECT_EQ(exact.scale, 2);
  EXPECT_EQ(exact.x, 0);
  EXPECT_EQ(exact.y, 0);
  // 1080p: the width allows 2, the height 3; the smaller wins, with bars on all sides.
  const FrameFit hd = FitFrame(kW, kH, 1920, 1080);
  EXPECT_EQ(hd.scale, 2);
  EXPECT_EQ(hd.x, (1920 - 1632) / 2);
  EXPECT_EQ(hd.y, (1080 - 600) / 2);
  EXPECT_EQ(FitFrame(kW, kH, 3840, 2160).scale, 4);
  EXPECT_EQ(FitFrame(kW, kH, 2447, 900).scale, 2);  // one pixel short of 3x
  EXPECT_EQ(FitFrame(kW, kH, 816, 300).x, 0);
}

TEST(FrameFitTest, WindowsTooSmallOrHugeStillGiveAUsableFit) {
  for (const auto& [w, h] : {std::pair{1, 1}, {0, 0}, {-5, 3}, {500, 2000}}) {
    const FrameFit fit = FitFrame(kW, kH, w, h);
    EXPECT_EQ(fit.scale, 1) << w << "x" << h;
    EXPECT_EQ(fit.width, kW);
    EXPECT_LE(fit.x, 0);
  }
  const FrameFit huge = FitFrame(kW, kH, 10000, 10000);
  EXPECT_EQ(huge.scale, 12);
  EXPECT_GE(huge.x, 0);
  EXPECT_LE(huge.x + huge.width, 10000);
}

TEST(FrameFitTest, MouseMapsBackToTheFramePixelAtEveryScale) {
  for (const auto& [w, h] : {std::pair{816, 300}, {1632, 600}, {2448, 900}, {1920, 1080}}) {
    const FrameFit fit = FitFrame(kW, kH, w, h);
    ExpectRoundTrip(fit, 0, 0);
    ExpectRoundTrip(fit, 123, 45);
    ExpectRoundTrip(fit, kW - 1, kH - 1);
    // Every pixel of a block maps to the same frame pixel.
    EXPECT_EQ(FrameCoordinate(fit.x + 7 * fit.scale + fit.scale - 1, fit.x, fit.scale), 7);
  }
}

TEST(FrameFitTest, PositionsOverTheBarsLieOutsideTheFrame) {
  const FrameFit fit = FitFrame(kW, kH, 1920, 1080);
  EXPECT_LT(FrameCoordinate(fit.x - 1, fit.x, fit.scale), 0);
  EXPECT_LT(FrameCoordinate(0, fit.x, fit.scale), 0);
  EXPECT_LT(FrameCoordinate(fit.y - 1, fit.y, fit.scale), 0);
  EXPECT_GE(FrameCoordinate(fit.x + fit.width, fit.x, fit.scale), kW);
  EXPECT_GE(FrameCoordinate(1919, fit.x, fit.scale), kW);
  EXPECT_GE(FrameCoordinate(fit.y + fit.height, fit.y, fit.scale), kH);
}

TEST(FrameFitTest, HighDensityWindowPositionsBecomeDrawablePixels) {
  EXPECT_EQ(DrawableCoordinate(100, 816, 1632), 200);
  EXPECT_EQ(DrawableCoordinate(-1, 816, 1632), -2);
  EXPECT_EQ(DrawableCoordinate(100, 816, 816), 100);
  EXPECT_EQ(DrawableCoordinate(100, 0, 0), 100);  // a minimised window reports no size
}
