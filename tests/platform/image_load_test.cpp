// Images cut from bitmap files: the mask colour and the colour a transparent texel carries,
// 32-bit alpha, the cells of the actor and tile sheets, and failures as null.
#include <gtest/gtest.h>

#include "platform/bmp.h"
#include "platform/bmp_builder.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"
#include "support/test_env.h"

namespace {

constexpr uint32_t kMask = 0xFF7AC9FF;  // 122, 201, 255

class ImageLoadTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    SetLoadMaskColor(122, 201, 255);
  }
  void TearDown() override {
    SetLoadMaskColor(0, 0, 0);
    GameTest::TearDown();
  }
  void WriteSheet(const std::string& name, int width, int height,
                  const std::vector<uint32_t>& pixels, int depth = 24) {
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.depth = depth;
    layout.pixels = pixels;
    const std::vector<uint8_t> bytes = BuildBmp(layout);
    WriteFileBytes(name, std::vector<unsigned char>(bytes.begin(), bytes.end()));
  }
  // Every pixel carries the number of the cell it lies in, so frames can be traced back.
  void WriteNumberedSheet(const std::string& name, int across, int down, int cw, int ch,
                          int extraX = 0, int extraY = 0) {
    const int width = across * cw + extraX, height = down * ch + extraY;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0xFF000000u);
    for (int y = 0; y < down * ch; ++y) {
      for (int x = 0; x < across * cw; ++x) {
        pixels[static_cast<size_t>(y) * width + x] =
            0xFF000000u | static_cast<uint32_t>((y / ch) * across + x / cw + 1);
      }
    }
    WriteSheet(name, width, height, pixels);
  }
  ScopedWorkDir Dir;
};

}  // namespace

TEST_F(ImageLoadTest, LoadMakesOneFrameWithTheMaskInForce) {
  WriteSheet("one.bmp", 3, 2, {0xFF112233, 0xFF445566, 0xFF778899, 1, 2, 3});
  const auto image = TImage::Load("one.bmp", kImageMasked);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 3);
  EXPECT_EQ(image->height, 2);
  EXPECT_EQ(image->FrameCount(), 1);
  EXPECT_EQ(image->flags, kImageMasked);
  EXPECT_EQ(image->mask_r, 122);
  EXPECT_EQ(image->mask_g, 201);
  EXPECT_EQ(image->mask_b, 255);
  EXPECT_EQ(image->handle_x, 0.0f);
  EXPECT_EQ(image->handle_y, 0.0f);
  EXPECT_EQ(image->frames[0].argb[1], 0xFF445566u);
  EXPECT_TRUE(image->frames[0].opaque);
  // A backslash path reaches the same file.
  EXPECT_TRUE(TImage::Load(".\\one.bmp", kImageMasked));
}

TEST_F(ImageLoadTest, OnlyAnExactMatchIsTransparent) {
  WriteSheet("mask.bmp", 2, 1, {kMask, 0xFF7AC9FE});
  const auto image = TImage::Load("mask.bmp", kImageMasked);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->frames[0].argb[0] >> 24, 0u);
  EXPECT_EQ(image->frames[0].argb[1], 0xFF7AC9FEu);
  EXPECT_FALSE(image->frames[0].opaque);
  // Under mask blending the first pixel leaves the buffer alone, the second is drawn.
  uint32_t* pixels = BackBuffer();
  pixels[0] = pixels[1] = 0x00ABCDEF;
  DrawImageFrame(image.get(), 0, 0, 0);
  EXPECT_EQ(pixels[0], 0x00ABCDEFu);
  EXPECT_EQ(pixels[1], 0x007AC9FEu);
}

TEST_F(ImageLoadTest, TransparentTexelCarriesTheNeighbourAverage) {
  WriteSheet("avg.bmp", 3, 1, {0xFFFF0000, kMask, 0xFF0000FF});
  const auto image = TImage::Load("avg.bmp", kImageMasked);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->frames[0].argb[1], 0x007F007Fu);
  uint32_t* pixels = BackBuffer();
  pixels[1] = 0x00010203;
  DrawImageFrame(image.get(), 0, 0, 0);
  EXPECT_EQ(pixels[0], 0x00FF0000u);
  EXPECT_EQ(pixels[1], 0x00010203u);
  EXPECT_EQ(pixels[2], 0x000000FFu);
}

TEST_F(ImageLoadTest, AverageCountsOnlyNonMaskNeighboursAndIsTruncated) {
  // Centre of a 3x3: neighbours 10, 11 and mask colours; lone mask regions average to black.
  WriteSheet("grid.bmp", 3, 3,
             {0xFF00000A, kMask, kMask, kMask, kMask, kMask, kMask, kMask, 0xFF00000B});
  const auto image = TImage::Load("grid.bmp", kImageMasked);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->frames[0].argb[4], 0x0000000Au);  // (10 + 11) / 2
  EXPECT_EQ(image->frames[0].argb[2], 0x00000000u);  // no opaque neighbour
  WriteSheet("black.bmp", 2, 1, {kMask, kMask});
  EXPECT_EQ(TImage::Load("black.bmp", kImageMasked)->frames[0].argb[0], 0u);
}

TEST_F(ImageLoadTest, MaskAverageNeverLooksAcrossACellBorder) {
  WriteSheet("cells.bmp", 4, 1, {0xFFFF0000, kMask, 0xFF0000FF, 0xFF0000FF});
  const auto image = TImage::LoadAnim("cells.bmp", 2, 1, 0, 2, kImageMasked);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->frames[0].argb[1], 0x00FF0000u);
}

TEST_F(ImageLoadTest, WithoutTheMaskFlagNothingIsTransparent) {
  WriteSheet("plain.bmp", 1, 1, {kMask});
  EXPECT_EQ(TImage::Load("plain.bmp", 0)->frames[0].argb[0], kMask);
}

TEST_F(ImageLoadTest, ThirtyTwoBitFileKeepsItsOwnAlpha) {
  WriteSheet("alpha.bmp", 3, 1, {0x807AC9FF, 0xFF7AC9FF, 0x00102030}, 32);
  const auto image = TImage::Load("alpha.bmp", kImageMasked);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->frames[0].argb[0], 0x807AC9FFu);
  EXPECT_EQ(image->frames[0].argb[1], 0xFF7AC9FFu);
  EXPECT_EQ(image->frames[0].argb[2], 0x00102030u);
}

TEST_F(ImageLoadTest, ActorSheetNeedsWholeRowsOfCells) {
  WriteNumberedSheet("actor.bmp", 8, 6, 16, 24);  // 128 x 144
  const auto image = TImage::LoadAnim("actor.bmp", 16, 24, 0, 48, kImageMasked);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->FrameCount(), 48);
  EXPECT_EQ(image->width, 16);
  EXPECT_EQ(image->height, 24);
  for (int k = 0; k < 48; ++k) {
    EXPECT_EQ(image->frames[k].argb.front() & 0xFFFFFF, static_cast<uint32_t>(k + 1));
    EXPECT_EQ(image->frames[k].argb.back() & 0xFFFFFF, static_cast<uint32_t>(k + 1));
  }
  WriteNumberedSheet("short.bmp", 8, 5, 16, 24, 0, 23);  // 128 x 143: only 40 cells
  EXPECT_FALSE(TImage::LoadAnim("short.bmp", 16, 24, 0, 48, kImageMasked));
  EXPECT_TRUE(TImage::LoadAnim("short.bmp", 16, 24, 0, 40, kImageMasked));
}

TEST_F(ImageLoadTest, StripsNarrowerThanACellAreIgnored) {
  WriteNumberedSheet("strip.bmp", 3, 2, 4, 4, 3, 2);  // 15 x 10: 3 across, 2 down
  const auto image = TImage::LoadAnim("strip.bmp", 4, 4, 0, 6, kImageMasked);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->frames[3].argb[0] & 0xFFFFFF, 4u);  // second row starts at cell 3
  EXPECT_FALSE(TImage::LoadAnim("strip.bmp", 4, 4, 0, 7, kImageMasked));
}

TEST_F(ImageLoadTest, TileSheetFromCell512) {
  WriteNumberedSheet("tiles.bmp", 32, 24, 16, 16);  // 512 x 384, 768 cells
  const auto image = TImage::LoadAnim("tiles.bmp", 16, 16, 512, 256, kImageMasked);
  ASSERT_TRUE(image);
  ASSERT_EQ(image->FrameCount(), 256);
  EXPECT_EQ(image->frames[0].argb[0] & 0xFFFFFF, 513u);
  EXPECT_EQ(image->frames[255].argb[0] & 0xFFFFFF, 768u);
  // Frame 40 is cell 552: column 8, row 17, i.e. pixel (128, 272).
  EXPECT_EQ(image->frames[40].argb[0] & 0xFFFFFF, 553u);
  WriteNumberedSheet("fewer.bmp", 13, 59, 16, 16);  // 767 cells
  EXPECT_FALSE(TImage::LoadAnim("fewer.bmp", 16, 16, 512, 256, kImageMasked));
  EXPECT_TRUE(TImage::LoadAnim("fewer.bmp", 16, 16, 511, 256, kImageMasked));
}

TEST_F(ImageLoadTest, FailuresGiveNull) {
  WriteNumberedSheet("ok.bmp", 2, 2, 4, 4);
  EXPECT_FALSE(TImage::Load("missing.bmp", kImageMasked));
  EXPECT_FALSE(TImage::LoadAnim("missing.bmp", 4, 4, 0, 1, kImageMasked));
  WriteFileBytes("junk.bmp", {'B', 'M', 1, 2, 3});
  EXPECT_FALSE(TImage::Load("junk.bmp", kImageMasked));
  EXPECT_FALSE(TImage::LoadAnim("ok.bmp", 0, 4, 0, 1, kImageMasked));
  EXPECT_FALSE(TImage::LoadAnim("ok.bmp", 4, -4, 0, 1, kImageMasked));
  EXPECT_FALSE(TImage::LoadAnim("ok.bmp", 4, 4, -1, 2, kImageMasked));
  EXPECT_FALSE(TImage::LoadAnim("ok.bmp", 4, 4, 0, 0, kImageMasked));
  EXPECT_FALSE(TImage::LoadAnim("ok.bmp", 4, 4, 2147483000, 2000, kImageMasked));
  EXPECT_FALSE(TImage::LoadAnim("ok.bmp", 9, 9, 0, 1, kImageMasked));
}
