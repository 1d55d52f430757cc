// Pixel buffers: the pitch, the conversion of each format to and from ARGB, coordinates
// outside the buffer, and the format a loaded file gets.
#include <gtest/gtest.h>

#include "platform/bmp.h"
#include "platform/bmp_builder.h"
#include "platform/render/pixmap.h"
#include "support/test_env.h"

TEST(Pixmap, CreatePadsThePitchToTheAlignment) {
  auto pixmap = TPixmap::Create(5, 3, kFormatBGR, 4);
  ASSERT_TRUE(pixmap);
  EXPECT_EQ(pixmap->pitch, 16);
  EXPECT_EQ(pixmap->capacity, 48);
  EXPECT_EQ(pixmap->pixels.size(), 48u);
  auto reference = TPixmap::Create(75, 54, kFormatRGBA, 4);
  EXPECT_EQ(reference->pitch, 300);
  EXPECT_EQ(reference->format, kFormatRGBA);
  EXPECT_EQ(TPixmap::Create(3, 1, kFormatIntensity, 1)->pitch, 3);
  EXPECT_EQ(TPixmap::Create(3, 1, kFormatIntensity, 0)->pitch, 3);
  EXPECT_EQ(TPixmap::Create(3, 1, kFormatAlpha, 8)->pitch, 8);
  EXPECT_FALSE(TPixmap::Create(0, 1, kFormatRGBA, 4));
  EXPECT_FALSE(TPixmap::Create(1, -1, kFormatRGBA, 4));
  EXPECT_FALSE(TPixmap::Create(1, 1, 7, 4));
  EXPECT_FALSE(TPixmap::Create(1, 1, 0, 4));
  EXPECT_FALSE(TPixmap::Create(1 << 30, 1 << 30, kFormatRGBA, 4));
  EXPECT_EQ(PixmapBytesPerPixel(kFormatIntensity), 1);
  EXPECT_EQ(PixmapBytesPerPixel(kFormatRGB), 3);
  EXPECT_EQ(PixmapBytesPerPixel(kFormatBGRA), 4);
}

TEST(Pixmap, ReadAndWriteConvertPerFormat) {
  const uint32_t colour = 0x80C86432;  // alpha 128, 200, 100, 50
  struct Case {
    int format;
    uint32_t readBack;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {kFormatIntensity, 0xFF747474, {116}},  // (200 + 100 + 50) / 3
      {kFormatAlpha, 0x80FFFFFF, {128}},
      {kFormatBGR, 0xFFC86432, {50, 100, 200}},
      {kFormatRGB, 0xFFC86432, {200, 100, 50}},
      {kFormatBGRA, 0x80C86432, {50, 100, 200, 128}},
      {kFormatRGBA, 0x80C86432, {200, 100, 50, 128}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    auto pixmap = TPixmap::Create(2, 2, c.format, 4);
    pixmap->WritePixel(1, 1, colour);
    EXPECT_EQ(pixmap->ReadPixel(1, 1), c.readBack);
    const size_t at = static_cast<size_t>(pixmap->pitch) + PixmapBytesPerPixel(c.format);
    EXPECT_EQ(std::vector<uint8_t>(pixmap->pixels.begin() + at,
                                   pixmap->pixels.begin() + at + c.bytes.size()),
              c.bytes);
  }
  // Intensity truncates: (1 + 1 + 0) / 3 = 0.
  auto grey = TPixmap::Create(1, 1, kFormatIntensity, 1);
  grey->WritePixel(0, 0, 0x00010100);
  EXPECT_EQ(grey->ReadPixel(0, 0), 0xFF000000u);
}

TEST(Pixmap, CoordinatesOutsideReadZeroAndWriteNothing) {
  auto pixmap = TPixmap::Create(2, 2, kFormatRGBA, 4);
  const std::vector<uint8_t> before = pixmap->pixels;
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {INT32_MIN, INT32_MAX}}) {
    pixmap->WritePixel(x, y, 0xFFFFFFFF);
    EXPECT_EQ(pixmap->ReadPixel(x, y), 0u);
  }
  EXPECT_EQ(pixmap->pixels, before);
}

TEST(Pixmap, LoadPixmapFileChoosesTheFormatByDepth) {
  ScopedWorkDir dir;
  BmpLayout layout;
  layout.width = 3;
  layout.height = 2;
  layout.pixels = {0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C, 0xFF0D0E0F, 0xFF101112};
  std::vector<uint8_t> bytes = BuildBmp(layout);
  WriteFileBytes("rgb.bmp", std::vector<unsigned char>(bytes.begin(), bytes.end()));
  auto rgb = LoadPixmapFile("rgb.bmp");
  ASSERT_TRUE(rgb);
  EXPECT_EQ(rgb->format, kFormatBGR);
  EXPECT_EQ(rgb->width, 3);
  EXPECT_EQ(rgb->height, 2);
  EXPECT_EQ(rgb->ReadPixel(0, 0), 0xFF010203u);
  EXPECT_EQ(rgb->ReadPixel(2, 1), 0xFF101112u);
  layout.depth = 32;
  layout.pixels[4] = 0x400D0E0F;
  bytes = BuildBmp(layout);
  WriteFileBytes("argb.bmp", std::vector<unsigned char>(bytes.begin(), bytes.end()));
  auto argb = LoadPixmapFile("argb.bmp");
  ASSERT_TRUE(argb);
  EXPECT_EQ(argb->format, kFormatBGRA);
  EXPECT_EQ(argb->ReadPixel(1, 1), 0x400D0E0Fu);
  EXPECT_FALSE(LoadPixmapFile("missing.bmp"));
  WriteFileBytes("bad.bmp", {'B', 'M', 0, 0});
  EXPECT_FALSE(LoadPixmapFile("bad.bmp"));
}
