// The row kernels against their rules written out per pixel: the SSE2 paths and the plain
// tails must give the same pixels for every run length.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/render/pixel_spans.h"

namespace {

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
    const uint32_t colour = rng() & 0xFFFFFF;

    std::vector<uint32_t> dest = runs.pixels;
    FillSpan(dest.data(), count, colour);
    for (int i = 0; i < count; ++i)
      ASSERT_EQ(dest[i], colour);

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
  }
}
