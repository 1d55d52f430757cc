// The frame's fit into the window: the largest whole factor, centring, odd window sizes, and
// mouse positions mapped back to frame pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/render/frame_fit.h"

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

// ---- the largest picture that fits ---------------------------------------------------------

namespace {

struct Area {
  int w, h;
};
constexpr Area kScreens[] = {{1, 1},       {1280, 800}, {1366, 768}, {8000, 8000},
                             {1920, 1080}, {900, 400},  {816, 300},  {1632, 600}};

// A frame of 4x4 blocks of colours from a fixed sequence, as tiles are: many seams, and between
// them pixels whose every neighbour has their colour.
std::vector<uint32_t> BlockFrame(uint32_t seed) {
  std::vector<uint32_t> frame(static_cast<size_t>(kW) * kH);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      uint32_t v = seed ^ static_cast<uint32_t>((x / 4) * 7919 + (y / 4) * 104729);
      v *= 2654435761u;
      frame[static_cast<size_t>(y) * kW + x] = (v >> 8) & 0xFFFFFFu;
    }
  }
  return frame;
}

struct Picture {
  int width, height;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Picture Smooth(const std::vector<uint32_t>& frame, const FrameFit& fit, SmoothScaler& scaler,
               Picture* into = nullptr, FrameRect area = {0, 0, kW, kH}) {
  Picture fresh{fit.width, fit.height, std::vector<uint32_t>(size_t(fit.width) * fit.height, 0)};
  Picture& picture = into ? *into : fresh;
  FrameFit at_origin = fit;
  at_origin.x = at_origin.y = 0;
  scaler.ScaleArea(reinterpret_cast<uint8_t*>(picture.pixels.data()), picture.width * 4,
                   frame.data(), kW, kH, area, at_origin);
  return picture;
}

}  // namespace

TEST(FrameFitTest, WholeStepsStayWhereTwiceOrMoreFitsAndTheLargestPictureElsewhere) {
  // 2x or more fits: whole steps, unless the fill is asked for.
  const FrameFit hd = ChooseFit(kW, kH, 1920, 1080, false);
  EXPECT_EQ(hd.scale, 2);
  EXPECT_FALSE(hd.smoothed);
  const FrameFit hd_fill = ChooseFit(kW, kH, 1920, 1080, true);
  EXPECT_TRUE(hd_fill.smoothed);
  EXPECT_EQ(hd_fill.width, 1920);
  EXPECT_EQ(hd_fill.height, 706);
  EXPECT_EQ(hd_fill.scale, 3);
  EXPECT_EQ(ChooseFit(kW, kH, 8000, 8000, false).scale, 9);
  EXPECT_FALSE(ChooseFit(kW, kH, 8000, 8000, false).smoothed);
  // Laptops: no whole step above 1x fits, so the picture fills the width at the frame's shape.
  for (const bool asked : {false, true}) {
    const FrameFit laptop = ChooseFit(kW, kH, 1280, 800, asked);
    EXPECT_TRUE(laptop.smoothed);
    EXPECT_EQ(laptop.width, 1280);
    EXPECT_EQ(laptop.height, 471);
    EXPECT_EQ(laptop.scale, 2);
    EXPECT_EQ(laptop.x, 0);
    EXPECT_EQ(laptop.y, (800 - 471) / 2);
    const FrameFit wide = ChooseFit(kW, kH, 1366, 768, asked);
    EXPECT_EQ(wide.width, 1366);
    EXPECT_EQ(wide.height, 502);
  }
  // An exact whole step is never smoothed, asked or not; nor is a minimised (empty) window.
  for (const auto& [w, h] : {std::pair{816, 300}, {1632, 600}, {0, 0}}) {
    const FrameFit fit = ChooseFit(kW, kH, w, h, true);
    EXPECT_FALSE(fit.smoothed) << w << "x" << h;
    EXPECT_EQ(fit.width, kW * fit.scale);
  }
  // Every fill lies inside its area at the frame's shape.
  for (const Area& area : kScreens) {
    const FrameFit fit = FillFrame(kW, kH, area.w, area.h);
    EXPECT_GE(fit.x, 0);
    EXPECT_GE(fit.y, 0);
    EXPECT_LE(fit.x + fit.width, area.w);
    EXPECT_LE(fit.y + fit.height, area.h);
    EXPECT_TRUE(fit.width == area.w || fit.height == area.h) << area.w << "x" << area.h;
    EXPECT_LE(std::abs(fit.width * kH - fit.height * kW), kW) << area.w << "x" << area.h;
    EXPECT_GE(kW * fit.scale, fit.width);
    EXPECT_GE(kH * fit.scale, fit.height);
    // The smallest whole step at or above the picture.
    EXPECT_TRUE(fit.scale == 1 || kW * (fit.scale - 1) < fit.width ||
                kH * (fit.scale - 1) < fit.height);
  }
}

TEST(FrameFitTest, TheMouseFindsTheFramePixelShownUnderItAtEverySize) {
  for (const Area& area : kScreens) {
    for (const bool asked : {false, true}) {
      const FrameFit fit = ChooseFit(kW, kH, area.w, area.h, asked);
      if (fit.width < kW) continue;  // a shrunken picture has no room for every frame pixel
      // The middle of each frame pixel's share of the picture maps back to it.
      for (int fx = 0; fx < kW; ++fx) {
        const int px = fit.x + static_cast<int>((fx + 0.5) * fit.width / kW);
        ASSERT_EQ(FrameCoordinateIn(px, fit.x, fit.width, kW), fx) << area.w << "x" << area.h;
      }
      for (int fy = 0; fy < kH; ++fy) {
        const int py = fit.y + static_cast<int>((fy + 0.5) * fit.height / kH);
        ASSERT_EQ(FrameCoordinateIn(py, fit.y, fit.height, kH), fy) << area.w << "x" << area.h;
      }
      // The picture's edges are the frame's; the bars lie outside it.
      EXPECT_EQ(FrameCoordinateIn(fit.x + fit.width - 1, fit.x, fit.width, kW), kW - 1);
      EXPECT_EQ(FrameCoordinateIn(fit.x + fit.width, fit.x, fit.width, kW), kW);
      EXPECT_EQ(FrameCoordinateIn(fit.x - 1, fit.x, fit.width, kW), -1);
      EXPECT_EQ(FrameCoordinateIn(fit.y - 1, fit.y, fit.height, kH), -1);
      // A whole step maps as it always has.
      if (!fit.smoothed) {
        EXPECT_EQ(FrameCoordinateIn(fit.x + 301, fit.x, fit.width, kW),
                  FrameCoordinate(fit.x + 301, fit.x, fit.scale));
      }
    }
  }
  // Shrunk into 1x1 or less than the frame, positions still land inside or just outside.
  const FrameFit tiny = ChooseFit(kW, kH, 1, 1, false);
  const int inside = FrameCoordinateIn(0, tiny.x, tiny.width, kW);
  EXPECT_TRUE(inside >= 0 && inside < kW) << inside;
  EXPECT_GE(FrameCoordinateIn(1, tiny.x, tiny.width, kW), kW);
  EXPECT_LT(FrameCoordinateIn(-1, tiny.x, tiny.width, kW), 0);
}

// Sharp: away from the seams between frame pixels of different colours the picture is exactly
// the frame's colours, every 2x2 block of them one colour; at the seams only the two sides mix.
TEST(FrameFitTest, ThePictureIsSmoothedOnlyAtTheSeams) {
  const std::vector<uint32_t> frame = BlockFrame(1);
  for (const Area& area : {Area{1280, 800}, Area{1366, 768}, Area{1920, 1080}}) {
    const FrameFit fit = FillFrame(kW, kH, area.w, area.h);
    ASSERT_TRUE(fit.smoothed);
    SmoothScaler scaler;
    const Picture picture = Smooth(frame, fit, scaler);
    auto frame_of = [&](int px, int py) {
      return std::pair{FrameCoordinateIn(px, 0, fit.width, kW),
                       FrameCoordinateIn(py, 0, fit.height, kH)};
    };
    auto uniform_around = [&](int fx, int fy) {
      const uint32_t c = frame[static_cast<size_t>(fy) * kW + fx];
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int x = std::clamp(fx + dx, 0, kW - 1), y = std::clamp(fy + dy, 0, kH - 1);
          if (frame[static_cast<size_t>(y) * kW + x] != c) return false;
        }
      return true;
    };
    int exact = 0, blocks = 0;
    for (int py = 0; py + 1 < fit.height; py += 2) {
      for (int px = 0; px + 1 < fit.width; px += 2) {
        bool away = true;
        for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
          const auto [fx, fy] = frame_of(px + dx, py + dy);
          away = away && uniform_around(fx, fy) &&
                 frame[size_t(fy) * kW + fx] ==
                     frame[size_t(frame_of(px, py).second) * kW + frame_of(px, py).first];
        }
        if (!away) continue;
        ++blocks;
        const auto [fx, fy] = frame_of(px, py);
        const uint32_t c = frame[static_cast<size_t>(fy) * kW + fx];
        const bool one = picture.At(px, py) == c && picture.At(px + 1, py) == c &&
                         picture.At(px, py + 1) == c && picture.At(px + 1, py + 1) == c;
        exact += one;
        ASSERT_TRUE(one) << area.w << "x" << area.h << " at " << px << "," << py;
      }
    }
    EXPECT_GT(blocks, fit.width * fit.height / 4 / 10) << "too few blocks away from seams";
    // Across a seam each channel lies between the two sides' values.
    for (int px = 0; px < fit.width; ++px) {
      const int py = fit.height / 2;
      const auto [fx, fy] = frame_of(px, py);
      const uint32_t got = picture.At(px, py);
      const int lo_x = std::max(fx - 1, 0), hi_x = std::min(fx + 1, kW - 1);
      for (int shift : {0, 8, 16}) {
        int lo = 255, hi = 0;
        for (int x = lo_x; x <= hi_x; ++x)
          for (int y = std::max(fy - 1, 0); y <= std::min(fy + 1, kH - 1); ++y) {
            const int v = (frame[size_t(y) * kW + x] >> shift) & 0xFF;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
          }
        const int v = (got >> shift) & 0xFF;
        ASSERT_TRUE(v >= lo && v <= hi) << "column " << px;
      }
    }
  }
}

// The window repaints only what changed: repainting a changed area gives exactly the picture a
// whole repaint of the new frame gives, at every size, up to the edges.
TEST(FrameFitTest, RepaintingTheChangedAreasGivesTheWholePicture) {
  std::vector<uint32_t> frame = BlockFrame(2);
  const std::vector<uint32_t> changed_from = BlockFrame(3);
  for (const Area& area : {Area{1280, 800}, Area{1366, 768}, Area{3000, 3000}, Area{500, 2000}}) {
    const FrameFit fit = FillFrame(kW, kH, area.w, area.h);
    SmoothScaler scaler;
    std::vector<uint32_t> now = frame;
    Picture painted = Smooth(now, fit, scaler);
    for (const FrameRect& part : {FrameRect{0, 0, 5, 3}, FrameRect{400, 150, 17, 9},
                                  FrameRect{kW - 3, kH - 2, 3, 2}, FrameRect{33, 0, 1, kH}}) {
      for (int y = part.y; y < part.y + part.height; ++y)
        for (int x = part.x; x < part.x + part.width; ++x)
          now[size_t(y) * kW + x] = changed_from[size_t(y) * kW + x];
      Smooth(now, fit, scaler, &painted, part);
      SmoothScaler fresh;
      const Picture whole = Smooth(now, fit, fresh);
      ASSERT_EQ(painted.pixels, whole.pixels) << area.w << "x" << area.h << " after " << part.x;
    }
  }
}
