// The alpha blend against its rule, source * a + destination * (1 - a) in double precision and
// truncated, over every pair of channel values, through the tables, the span and the draws.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/render/alpha_blend.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"
#include "support/test_env.h"

namespace {

uint32_t Formula(uint32_t source, uint32_t dest, double a) {
  return static_cast<uint32_t>(static_cast<double>(source) * a +
                               static_cast<double>(dest) * (1.0 - a));
}

uint32_t FormulaPixel(uint32_t source, uint32_t dest, double a) {
  uint32_t out = 0;
  for (int shift : {0, 8, 16})
    out |= Formula((source >> shift) & 0xFF, (dest >> shift) & 0xFF, a) << shift;
  return out;
}

}  // namespace

TEST(AlphaBlend, TablesGiveTheFormulaForEveryPair) {
  // The water's 0.7 first, then alphas whose products land on whole numbers often.
  for (const double alpha : {0.7, 0.25, 0.5, 0.1, 0.3, 1.0, 1.0 / 3.0}) {
    const uint8_t* table = BlendTableFor(alpha);
    int wrong = 0;
    for (uint32_t source = 0; source < 256; ++source) {
      for (uint32_t dest = 0; dest < 256; ++dest) {
        if (table[source << 8 | dest] != Formula(source, dest, alpha)) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << "alpha " << alpha;
  }
  // 133 * 0.3 is 39.9: truncated, not rounded; 8-bit weights gave 40 here.
  EXPECT_EQ(BlendTableFor(0.7)[0 << 8 | 133], 39);
  // More alphas than the cache holds, then the first again: rebuilt, still right.
  for (int i = 1; i <= 12; ++i)
    BlendTableFor(i / 13.0);
  EXPECT_EQ(BlendTableFor(0.7)[200 << 8 | 100], Formula(200, 100, 0.7));
}

TEST(AlphaBlend, SpanWeighsEachTexelByItsOwnAlpha) {
  std::mt19937 rng(15);
  for (const double alpha : {0.7, 0.45, 1.0}) {
    const uint8_t* table = BlendTableFor(alpha);
    std::vector<uint32_t> texels(64), pixels(64);
    for (size_t i = 0; i < texels.size(); ++i) {
      const uint32_t texelAlpha = i % 4 == 0 ? 0 : i % 4 == 1 ? 255 : rng() % 256;
      texels[i] = texelAlpha << 24 | (rng() & 0xFFFFFF);
      pixels[i] = rng() & 0xFFFFFF;
    }
    std::vector<uint32_t> dest = pixels;
    BlendSpanExact(texels.data(), dest.data(), 64, alpha, table);
    for (size_t i = 0; i < texels.size(); ++i) {
      const double a = (texels[i] >> 24) / 255.0 * alpha;
      ASSERT_EQ(dest[i], FormulaPixel(texels[i], pixels[i], a)) << i << " alpha " << alpha;
    }
  }
}

class AlphaBlendDraw : public GameTest {
 protected:
  void TearDown() override {
    ResetDrawState();
    GameTest::TearDown();
  }
};

// Water over a painted background: every destination value under every source value.
TEST_F(AlphaBlendDraw, FramesAndRectanglesBlendExactly) {
  TImage ramp;
  ramp.width = 256;
  ramp.height = 1;
  ImageFrame frame;
  for (uint32_t v = 0; v < 256; ++v)
    frame.argb.push_back(0xFF000000u | v << 16 | (255 - v) << 8 | (v * 7 & 0xFF));
  frame.opaque = true;
  ramp.frames.push_back(frame);
  uint32_t* buffer = BackBuffer();
  for (uint32_t dest = 0; dest < 256; ++dest) {
    const uint32_t paper = dest << 16 | dest << 8 | (255 - dest);
    std::fill_n(buffer, 256, paper);
    SetBlend(kBlendAlpha);
    SetAlpha(0.7);
    DrawImageFrame(&ramp, 0, 0, 0);
    for (uint32_t x = 0; x < 256; ++x)
      ASSERT_EQ(buffer[x], FormulaPixel(frame.argb[x], paper, 0.7)) << x << " over " << dest;
  }
  std::fill_n(buffer, 8, 0x00850085u);
  SetColor(0, 255, 10);
  DrawRect(0, 0, 8, 1);
  EXPECT_EQ(buffer[7], FormulaPixel(0x0000FF0A, 0x00850085u, 0.7));
}
