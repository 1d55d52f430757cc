// The row kernels against the blend rules written out per channel: the SSE2 paths and the
// plain tails must give the same pixels for every run length.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/pixel_spans.h"

namespace {

uint32_t Channel(uint32_t v, int shift) {
  return (v >> shift) & 0xFF;
}

uint32_t ReferenceBlend(uint32_t source, uint32_t dest, uint32_t a) {
  uint32_t out = 0;
  for (int shift : {0, 8, 16}) {
    out |= ((Channel(source, shift) * a + Channel(dest, shift) * (256 - a)) >> 8) << shift;
  }
  return out;
}

struct Runs {
  std::vector<uint32_t> texels, pixels;
};

Runs RandomRuns(std::mt19937& rng, int count) {
  Runs runs;
  for (int i = 0; i < count; ++i) {
    uint32_t texel = rng();
    if (i % 3 == 0) texel |= 0xFF000000u;  // plenty of full and empty alphas as well
    if (i % 3 == 1) texel &= 0x00FFFFFFu;
    runs.texels.push_back(texel);
    runs.pixels.push_back(rng() & 0xFFFFFF);
  }
  return runs;
}

}  // namespace

TEST(DrawSpans, KernelsFollowTheRulesForEveryLength) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 400; ++round) {
    const int count = round % 21;
    Runs runs = RandomRuns(rng, count);
    const uint32_t alpha256 = round % 7 == 0 ? 256 : rng() % 257;
    const uint32_t colour = rng() & 0xFFFFFF;

    std::vector<uint32_t> dest = runs.pixels;
    FillSpan(dest.data(), count, colour);
    for (int i = 0; i < count; ++i)
      ASSERT_EQ(dest[i], colour);

    dest = runs.pixels;
    BlendSpanConstant(dest.data(), count, colour, alpha256);
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(dest[i], ReferenceBlend(colour, runs.pixels[i], alpha256)) << i;
    }

    dest = runs.pixels;
    CopySpanOpaque(runs.texels.data(), dest.data(), count);
    for (int i = 0; i < count; ++i)
      ASSERT_EQ(dest[i], runs.texels[i] & 0xFFFFFF);

    dest = runs.pixels;
    CopySpanMasked(runs.texels.data(), dest.data(), count);
    for (int i = 0; i < count; ++i) {
      const bool drawn = (runs.texels[i] >> 24) >= 128;
      ASSERT_EQ(dest[i], drawn ? runs.texels[i] & 0xFFFFFF : runs.pixels[i]) << i;
    }

    dest = runs.pixels;
    BlendSpanTexels(runs.texels.data(), dest.data(), count, alpha256);
    for (int i = 0; i < count; ++i) {
      const uint32_t a = ((runs.texels[i] >> 24) * alpha256 + 127) / 255;
      ASSERT_EQ(dest[i], ReferenceBlend(runs.texels[i], runs.pixels[i], a)) << i;
    }
  }
}

TEST(DrawSpans, FullWeightCopiesAndZeroWeightKeeps) {
  const uint32_t texels[5] = {0xFF123456, 0xFFFFFFFF, 0x00ABCDEF, 0xFF000000, 0x80808080};
  uint32_t dest[5] = {0x654321, 0x000000, 0x111111, 0xFFFFFF, 0x000000};
  BlendSpanTexels(texels, dest, 5, 256);
  EXPECT_EQ(dest[0], 0x123456u);
  EXPECT_EQ(dest[1], 0xFFFFFFu);
  EXPECT_EQ(dest[2], 0x111111u);
  EXPECT_EQ(dest[3], 0x000000u);
  BlendSpanConstant(dest, 5, 0xFFFFFF, 0);
  EXPECT_EQ(dest[0], 0x123456u);
}
