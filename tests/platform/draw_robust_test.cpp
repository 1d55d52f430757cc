// Drawing with hostile states: whatever the scale, origin, position or clipping rectangle,
// nothing is written outside the clipping rectangle (nor, as the address sanitizer checks,
// outside the buffer).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "platform/render/draw.h"
#include "platform/render/image.h"
#include "platform/render/pixmap.h"

namespace {

float Pick(std::mt19937& rng, const std::vector<float>& values) {
  return values[rng() % values.size()];
}

TImage RandomImage(std::mt19937& rng) {
  TImage image;
  image.width = 1 + static_cast<int>(rng() % 40);
  image.height = 1 + static_cast<int>(rng() % 40);
  image.handle_x = static_cast<float>(rng() % 5);
  for (int f = 0; f < 2; ++f) {
    ImageFrame frame;
    for (int i = 0; i < image.width * image.height; ++i)
      frame.argb.push_back(rng() | 0x01000000u);
    image.frames.push_back(frame);
  }
  return image;
}

}  // namespace

TEST(DrawRobust, HostileStatesStayInsideTheClip) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<float> scales = {1, -1, 0.5f, -0.5f, 2, 0, 1e-30f, 1e30f, -3.7f, inf, nan};
  const std::vector<float> places = {0, 10.5f, -17.25f, 400, 815.9f, -1e9f, 3e9f, inf, -inf, nan};
  std::mt19937 rng(77);
  uint32_t* pixels = BackBuffer();
  for (int round = 0; round < 400; ++round) {
    ResetDrawState();
    std::fill_n(pixels, kBackBufferWidth * kBackBufferHeight, 0x00ABCDEFu);
    const int vx = static_cast<int>(rng() % 900) - 40, vy = static_cast<int>(rng() % 360) - 30;
    const int vw = static_cast<int>(rng() % 900) - 20, vh = static_cast<int>(rng() % 360) - 20;
    SetViewport(vx, vy, vw, vh);
    SetDrawOrigin(Pick(rng, places), Pick(rng, places));
    SetDrawScale(Pick(rng, scales), Pick(rng, scales));
    SetBlend(rng() % 2 ? 1 : 3);
    SetAlpha(static_cast<float>(rng() % 11) / 10.0f);
    SetColor(static_cast<int>(rng() % 256), 255, 255);
    const TImage image = RandomImage(rng);
    for (int k = 0; k < 4; ++k) {
      const float x = Pick(rng, places) + static_cast<float>(rng() % 64);
      const float y = Pick(rng, places) + static_cast<float>(rng() % 64);
      switch (rng() % 3) {
        case 0:
          DrawImageFrame(&image, x, y, static_cast<int>(rng() % 3));
          break;
        case 1:
          DrawRect(x, y, Pick(rng, places), Pick(rng, places));
          break;
        default:
          DrawTextAt("Hi \x80!", x, y);
          break;
      }
    }
    int outsideWrites = 0;
    for (int y = 0; y < kBackBufferHeight; ++y) {
      const bool rowInside = y >= vy && y < int64_t{vy} + vh;
      for (int x = 0; x < kBackBufferWidth; ++x) {
        const bool inside = rowInside && x >= vx && x < int64_t{vx} + vw;
        outsideWrites += !inside && pixels[y * kBackBufferWidth + x] != 0x00ABCDEFu;
      }
    }
    ASSERT_EQ(outsideWrites, 0) << "round " << round;
  }
  ResetDrawState();
}

TEST(DrawRobust, PixmapsOfAnySizeAndPlace) {
  std::mt19937 rng(5);
  for (int round = 0; round < 500; ++round) {
    auto pixmap =
        TPixmap::Create(1 + static_cast<int>(rng() % 900), 1 + static_cast<int>(rng() % 400),
                        1 + static_cast<int>(rng() % 6), 1 + static_cast<int>(rng() % 8));
    ASSERT_TRUE(pixmap);
    const int x = static_cast<int>(rng() % 2000) - 1000, y = static_cast<int>(rng() % 1000) - 500;
    DrawPixmap(pixmap.get(), x, y);
  }
  DrawPixmap(TPixmap::Create(3, 3, kFormatRGB, 1).get(), INT32_MAX, INT32_MIN);
}
