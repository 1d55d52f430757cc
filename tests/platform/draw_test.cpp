// The drawing primitives: the state and its setters, mask and alpha blending, tint, origin,
// mirroring, scale, clipping, rectangles, text and pixmaps, pixel by pixel.
#include <gtest/gtest.h>

#include <random>

#include "platform/render/draw.h"
#include "platform/render/font.h"
#include "platform/render/image.h"
#include "platform/render/pixmap.h"
#include "support/test_env.h"

namespace {

constexpr uint32_t kPaper = 0x00102030;

class DrawTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    Clear();
  }
  void TearDown() override {
    ResetDrawState();
    GameTest::TearDown();
  }
  static void Clear(uint32_t colour = kPaper) {
    std::fill_n(BackBuffer(), kBackBufferWidth * kBackBufferHeight, colour);
  }
  static uint32_t At(int x, int y) { return BackBuffer()[y * kBackBufferWidth + x]; }
  // Columns of a row that differ from the paper.
  static std::vector<int> Touched(int y) {
    std::vector<int> xs;
    for (int x = 0; x < kBackBufferWidth; ++x) {
      if (At(x, y) != kPaper) xs.push_back(x);
    }
    return xs;
  }
  // An image whose texel (x, y) is opaque and encodes its own position.
  static TImage Numbered(int width, int height) {
    TImage image;
    image.width = width;
    image.height = height;
    ImageFrame frame;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x)
        frame.argb.push_back(0xFF000000u | (y << 8) | x);
    }
    frame.opaque = true;
    image.frames.push_back(frame);
    return image;
  }
  static TImage Single(uint32_t argb) {
    TImage image;
    image.width = image.height = 1;
    image.frames.push_back(ImageFrame{{argb}, (argb >> 24) == 255});
    return image;
  }
};

}  // namespace

TEST_F(DrawTest, ResetStateAndClampingSetters) {
  SetColor(300, -5, 7);
  SetAlpha(2.0f);
  EXPECT_EQ(CurrentDrawState().r, 255);
  EXPECT_EQ(CurrentDrawState().g, 0);
  EXPECT_EQ(CurrentDrawState().b, 7);
  EXPECT_EQ(CurrentDrawState().alpha, 1.0f);
  SetAlpha(-1.0f);
  EXPECT_EQ(CurrentDrawState().alpha, 0.0f);
  SetClsColor(122, 201, 255);
  SetBlend(kBlendAlpha);
  SetDrawScale(-1, 1);
  SetDrawOrigin(416, 0);
  SetViewport(416, 0, 400, 288);
  ResetDrawState();
  const DrawState& s = CurrentDrawState();
  EXPECT_EQ(s.r + s.g + s.b, 765);
  EXPECT_EQ(s.alpha, 1.0f);
  EXPECT_EQ(s.blend, kBlendMask);
  EXPECT_EQ(s.cls_r + s.cls_g + s.cls_b, 0);
  EXPECT_EQ(s.scale_x, 1.0f);
  EXPECT_EQ(s.origin_x, 0.0f);
  EXPECT_EQ(s.view_w, 816);
  EXPECT_EQ(s.view_h, 300);
  // Nothing clears the buffer, not even a reset.
  EXPECT_EQ(At(5, 5), kPaper);
}

TEST_F(DrawTest, MaskBlendThreshold) {
  const TImage half = Single(0x80FF0000), below = Single(0x7F00FF00);
  DrawImageFrame(&half, 0, 0, 0);
  DrawImageFrame(&below, 1, 0, 0);
  EXPECT_EQ(At(0, 0), 0x00FF0000u);  // written fully opaque
  EXPECT_EQ(At(1, 0), kPaper);
  // Texel alpha times the current alpha: 255 * 0.5 falls short of 128, 255 * 0.51 does not.
  const TImage solid = Single(0xFF0000FF);
  SetAlpha(0.5f);
  DrawImageFrame(&solid, 2, 0, 0);
  SetAlpha(0.51f);
  DrawImageFrame(&solid, 3, 0, 0);
  EXPECT_EQ(At(2, 0), kPaper);
  EXPECT_EQ(At(3, 0), 0x000000FFu);
}

TEST_F(DrawTest, AlphaBlendMixesWithTheDestination) {
  Clear(0x00646464);                        // 100, 100, 100
  const TImage solid = Single(0xFFC8C8C8);  // 200
  SetBlend(kBlendAlpha);
  SetAlpha(0.25f);
  DrawImageFrame(&solid, 0, 0, 0);
  EXPECT_EQ(At(0, 0), 0x007D7D7Du);  // 200 * 0.25 + 100 * 0.75 = 125
  SetAlpha(1.0f);
  DrawImageFrame(&solid, 1, 0, 0);
  EXPECT_EQ(At(1, 0), 0x00C8C8C8u);
  SetAlpha(0.0f);
  DrawImageFrame(&solid, 2, 0, 0);
  EXPECT_EQ(At(2, 0), 0x00646464u);
  // A texel of alpha 0 changes nothing, one of alpha 128 mixes about half.
  SetAlpha(1.0f);
  const TImage clear = Single(0x00FFFFFF), halfway = Single(0x80000000);
  DrawImageFrame(&clear, 3, 0, 0);
  DrawImageFrame(&halfway, 4, 0, 0);
  EXPECT_EQ(At(3, 0), 0x00646464u);
  EXPECT_EQ(At(4, 0), 0x00313131u);
}

TEST_F(DrawTest, ColourTintsTexels) {
  const TImage texel = Single(0xFFC86432);  // 200, 100, 50
  SetColor(128, 255, 0);
  DrawImageFrame(&texel, 0, 0, 0);
  EXPECT_EQ(At(0, 0), 0x00646400u);  // 200*128/255 = 100, 100, 0
}

TEST_F(DrawTest, OriginMovesAndMirrorFlipsLeftward) {
  const TImage tile = Numbered(16, 16);
  SetDrawOrigin(416, 0);
  DrawImageFrame(&tile, 10, 20, 0);
  EXPECT_EQ(At(426, 20), 0u);  // texel (0, 0)
  EXPECT_EQ(At(441, 35), 0x00000F0Fu);
  EXPECT_EQ(Touched(20).front(), 426);
  EXPECT_EQ(Touched(20).back(), 441);
  EXPECT_EQ(At(426, 19), kPaper);
  Clear();
  SetDrawScale(-1, 1);
  DrawImageFrame(&tile, 10, 20, 0);
  const std::vector<int> xs = Touched(20);
  ASSERT_EQ(xs.size(), 16u);
  EXPECT_EQ(xs.front(), 410);
  EXPECT_EQ(xs.back(), 425);
  EXPECT_EQ(At(425, 20), 0x00000000u);  // texel 0 next to the drawing position
  EXPECT_EQ(At(410, 20), 0x0000000Fu);
  EXPECT_EQ(At(410, 35), 0x00000F0Fu);
}

TEST_F(DrawTest, HalfScaleSamplesNearestTexels) {
  const TImage tile = Numbered(16, 16);
  SetDrawScale(0.5f, 0.5f);
  DrawImageFrame(&tile, 100, 50, 0);
  const std::vector<int> xs = Touched(50);
  ASSERT_EQ(xs.size(), 8u);
  EXPECT_EQ(xs.front(), 100);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(At(100 + i, 50 + i), static_cast<uint32_t>(((2 * i + 1) << 8) | (2 * i + 1)));
  }
  EXPECT_EQ(At(100, 58), kPaper);
}

TEST_F(DrawTest, ViewportClipsIndependentlyOfTheOrigin) {
  const TImage tile = Numbered(16, 16);
  SetViewport(416, 0, 400, 288);
  SetDrawOrigin(416, 0);
  DrawImageFrame(&tile, -8, 280, 0);
  EXPECT_EQ(Touched(280).front(), 416);  // the left half lies outside
  EXPECT_EQ(At(416, 280), 0x00000008u);
  EXPECT_EQ(At(416, 287), 0x00000708u);
  EXPECT_EQ(At(416, 288), kPaper);  // below the clipping rectangle
  EXPECT_EQ(At(415, 285), kPaper);
  // A rectangle partly outside the buffer is cut at its edge.
  SetViewport(0, 0, 816, 300);
  SetDrawOrigin(0, 0);
  SetColor(255, 0, 0);
  DrawRect(800, 290, 64, 64);
  EXPECT_EQ(At(815, 299), 0x00FF0000u);
  // An empty or negative clipping rectangle draws nothing.
  Clear();
  SetViewport(10, 10, -5, 20);
  DrawRect(0, 0, 100, 100);
  DrawImageFrame(&tile, 10, 10, 0);
  EXPECT_TRUE(Touched(12).empty());
}

TEST_F(DrawTest, NullImageAndFramesOutOfRangeDrawNothing) {
  const TImage tile = Numbered(4, 4);
  DrawImageFrame(nullptr, 0, 0, 0);
  DrawImageFrame(&tile, 0, 0, 1);
  DrawImageFrame(&tile, 0, 0, -1);
  for (int y = 0; y < 4; ++y)
    EXPECT_TRUE(Touched(y).empty());
}

TEST_F(DrawTest, FastPathMatchesTheGeneralPath) {
  // A quarter-pixel start takes the per-pixel path but covers the same centres.
  std::mt19937 rng(99);
  TImage image;
  image.width = 16;
  image.height = 16;
  ImageFrame frame;
  for (int i = 0; i < 256; ++i)
    frame.argb.push_back(rng());
  image.frames.push_back(frame);
  ImageFrame opaque;
  for (int i = 0; i < 256; ++i)
    opaque.argb.push_back(rng() | 0xFF000000u);
  opaque.opaque = true;
  image.frames.push_back(opaque);
  SetViewport(3, 5, 500, 200);
  for (int round = 0; round < 200; ++round) {
    const int x = static_cast<int>(rng() % 540) - 20, y = static_cast<int>(rng() % 240) - 20;
    const int f = round % 2;
    Clear();
    DrawImageFrame(&image, static_cast<float>(x), static_cast<float>(y), f);
    const std::vector<uint32_t> fast(BackBuffer(), BackBuffer() + 816 * 300);
    Clear();
    DrawImageFrame(&image, x + 0.25f, y + 0.25f, f);
    ASSERT_TRUE(std::equal(fast.begin(), fast.end(), BackBuffer())) << x << "," << y;
  }
}

TEST_F(DrawTest, DrawnPixelsHaveNoAlphaByte) {
  const TImage texel = Single(0xFF123456);
  DrawImageFrame(&texel, 0, 0, 0);
  SetDrawScale(2, 2);
  DrawImageFrame(&texel, 5, 0, 0);
  EXPECT_EQ(At(0, 0), 0x00123456u);
  EXPECT_EQ(At(6, 1), 0x00123456u);
}

TEST_F(DrawTest, RectanglesFillThroughOriginScaleAndBlend) {
  SetColor(10, 20, 30);
  SetDrawOrigin(100, 10);
  DrawRect(0, 0, 64, 3);
  EXPECT_EQ(Touched(10).size(), 64u);
  EXPECT_EQ(Touched(10).front(), 100);
  EXPECT_EQ(At(163, 12), 0x000A141Eu);
  EXPECT_EQ(At(100, 13), kPaper);
  Clear();
  SetDrawScale(0.5f, 0.5f);
  DrawRect(0, 0, 16, 16);
  EXPECT_EQ(Touched(10).size(), 8u);
  EXPECT_EQ(At(100, 18), kPaper);
  // A fractional start covers the pixels whose centres it reaches: 0.6 .. 2.6 holds 1 and 2.
  Clear();
  ResetDrawState();
  DrawRect(0.6f, 0, 2, 1);
  EXPECT_EQ(Touched(0), (std::vector<int>{1, 2}));
  Clear(0);
  SetBlend(kBlendAlpha);
  SetAlpha(0.5f);
  DrawRect(0, 0, 2, 2);
  EXPECT_EQ(At(0, 0), 0x007F7F7Fu);
  SetBlend(kBlendMask);
  SetAlpha(0.4f);  // below the mask threshold
  SetColor(0, 0, 0);
  DrawRect(0, 0, 2, 2);
  EXPECT_EQ(At(0, 0), 0x007F7F7Fu);
  // Zero or negative sizes draw nothing.
  SetAlpha(1.0f);
  DrawRect(10, 0, 0, 5);
  DrawRect(10, 0, -5, 5);
  EXPECT_EQ(At(9, 0), 0u);
}

TEST_F(DrawTest, TextSkipsCodesWithoutGlyphs) {
  DrawTextAt("AB", 10, 10);
  const std::vector<uint32_t> plain(BackBuffer(), BackBuffer() + 816 * 300);
  Clear();
  DrawTextAt(
      "A\x01"
      "\xC3"
      "B",
      10, 10);
  EXPECT_TRUE(std::equal(plain.begin(), plain.end(), BackBuffer()));
  // The second glyph begins 8 pixels on; set pixels are white, the rest untouched.
  const uint8_t* rowsB = GlyphRows('B');
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool set = (rowsB[y] >> (7 - x)) & 1;
      EXPECT_EQ(At(18 + x, 10 + y), set ? 0x00FFFFFFu : kPaper);
    }
  }
}

TEST_F(DrawTest, TextFollowsOriginColourAndScale) {
  SetDrawOrigin(400, 100);
  SetColor(255, 0, 0);
  DrawTextAt("II", 0, 0);
  for (int x : Touched(100)) {
    EXPECT_GE(x, 400);
    EXPECT_LT(x, 416);
    EXPECT_EQ(At(x, 100), 0x00FF0000u);
  }
  EXPECT_FALSE(Touched(100).empty());
  Clear();
  SetDrawScale(0.5f, 0.5f);
  DrawTextAt("MM", 0, 0);
  for (int y = 100; y < 120; ++y) {
    for (int x : Touched(y))
      EXPECT_LT(x, 408);
  }
  EXPECT_TRUE(Touched(108).empty());
}

TEST_F(DrawTest, PixmapIgnoresTheDrawingState) {
  auto pixmap = TPixmap::Create(3, 2, kFormatRGBA, 4);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x)
      pixmap->WritePixel(x, y, 0x00000000u | (y * 3 + x + 1));
  }
  SetViewport(0, 0, 1, 1);
  SetDrawOrigin(50, 50);
  SetDrawScale(-1, 1);
  SetColor(0, 0, 0);
  SetAlpha(0.0f);
  SetBlend(kBlendAlpha);
  DrawPixmap(pixmap.get(), 20, 30);
  EXPECT_EQ(At(20, 30), 1u);  // alpha 0 in the pixmap is copied anyway
  EXPECT_EQ(At(22, 31), 6u);
  EXPECT_EQ(At(23, 31), kPaper);
  // Cut at the buffer's edges, never outside it.
  DrawPixmap(pixmap.get(), -2, -1);
  EXPECT_EQ(At(0, 0), 6u);
  DrawPixmap(pixmap.get(), 815, 299);
  EXPECT_EQ(At(815, 299), 1u);
  DrawPixmap(pixmap.get(), 2000000000, -2000000000);
  DrawPixmap(nullptr, 0, 0);
}
