// The reference image: loading or replacing it, the base-8 digits a style is written as, the
// bounds, the echoed pixels and Escape in the middle of a whole-image pass.
#include "art/ref_image.h"

#include <vector>

#include "platform/bmp.h"
#include "platform/commands.h"
#include "platform/input.h"
#include "platform/render/pixmap.h"
#include "support/test_env.h"

namespace {
class RefImageTest : public GameTest {
 protected:
  static void WriteImage(int width, int height, uint32_t argb) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, argb);
    ASSERT_TRUE(WriteBmp24("BlockMapImage.bmp", width, height, pixels.data()));
  }
  ScopedWorkDir Dir;
};
}  // namespace

TEST_F(RefImageTest, MapSizedImageIsLoadedAndKeepsItsPixels) {
  WriteImage(75, 54, 0xFF204060);
  TRefImage::FBoot();
  EXPECT_TRUE(ConsoleHas("Loaded Pixmap"));
  EXPECT_EQ(RefImageWidth, 75);
  EXPECT_EQ(RefImageHeight, 54);
  // red 32 -> 1, green 64 -> 2 eights, blue 96 -> 3 sixty-fours
  EXPECT_EQ(TRefImage::FCheckPixel(74, 53), 1 + 2 * 8 + 3 * 64);
}

TEST_F(RefImageTest, OtherSizesAreReplacedByAFreshMapSizedImage) {
  WriteImage(76, 54, 0xFFFFFFFF);
  TRefImage::FBoot();
  EXPECT_TRUE(ConsoleHas("Created Pixmap"));
  ASSERT_NE(RefImagePixmap, nullptr);
  EXPECT_EQ(RefImagePixmap->width, 75);
  EXPECT_EQ(RefImagePixmap->height, 54);
  EXPECT_EQ(RefImageWidth, 75);
  EXPECT_EQ(RefImageHeight, 54);
}

TEST_F(RefImageTest, MissingImageEndsTheProgramWithStatusZero) {
  EXPECT_EXIT(TRefImage::FBoot(), ::testing::ExitedWithCode(0), "");
}

TEST_F(RefImageTest, StylesAreWrittenAsBase8DigitsWithoutScaling) {
  WriteImage(75, 54, 0xFFFFFFFF);
  TRefImage::FBoot();
  EXPECT_EQ(TRefImage::FCheckPixel(3, 4), 511);  // pure white
  TRefImage::FSetPixel(3, 4, 255);
  EXPECT_EQ(RefImagePixmap->ReadPixel(3, 4) & 0xFFFFFF, 460547u);
  EXPECT_EQ(TRefImage::FCheckPixel(3, 4), 0);  // every written channel is below 32
  TRefImage::FSetPixel(3, 4, 200);
  EXPECT_EQ(RefImagePixmap->ReadPixel(3, 4) & 0xFFFFFF, 259u);
  TRefImage::FSetPixel(3, 4, 0);
  EXPECT_EQ(RefImagePixmap->ReadPixel(3, 4) & 0xFFFFFF, 0u);
  RefImagePixmap->WritePixel(5, 5, 0xFF200000);
  EXPECT_EQ(TRefImage::FCheckPixel(5, 5), 1);
}

TEST_F(RefImageTest, OutsideThePixmapNothingIsReadOrWritten) {
  WriteImage(75, 54, 0xFFFFFFFF);
  TRefImage::FBoot();
  EXPECT_EQ(TRefImage::FCheckPixel(-1, 0), 0);
  EXPECT_EQ(TRefImage::FCheckPixel(75, 0), 0);
  EXPECT_EQ(TRefImage::FCheckPixel(0, 54), 0);
  TRefImage::FSetPixel(75, 0, 0);
  TRefImage::FSetPixel(0, -1, 0);
  // Nothing was asked of the generator or the keyboard.
  InputKeyDown(kKeyEscape);
  EXPECT_EQ(TRefImage::FCheckPixel(-1, 0), 0);
}

TEST_F(RefImageTest, UpdateWritesEveryCellAndEchoesAboutOnePixelInAHundred) {
  WriteImage(75, 54, 0xFFFFFFFF);
  TRefImage::FBoot();
  ClearConsole();
  TRefImage::FUpdate();  // an empty map: style 255 everywhere
  for (int y = 0; y < 54; ++y)
    for (int x = 0; x < 75; ++x)
      ASSERT_EQ(RefImagePixmap->ReadPixel(x, y) & 0xFFFFFF, 460547u);
  EXPECT_GT(Console().size(), 10u);
  EXPECT_LT(Console().size(), 90u);
  for (const std::string& line : Console())
    EXPECT_EQ(line, " rest7     r7  g7  b3    argb460547");
}

TEST_F(RefImageTest, EscapeEndsAWholeImagePass) {
  WriteImage(75, 54, 0xFFFFFFFF);
  TRefImage::FBoot();
  InputKeyDown(kKeyEscape);
  EXPECT_EXIT(TRefImage::FRead(), ::testing::ExitedWithCode(0), "");
}
