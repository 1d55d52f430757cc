// BMP writing: the header fields and row padding, the round trip through the decoder, and a
// file replaced whole.
#include <gtest/gtest.h>

#include "platform/bmp.h"
#include "platform/files.h"
#include "support/test_env.h"

namespace {
std::vector<uint32_t> Gradient(int width, int height) {
  std::vector<uint32_t> pixels;
  for (int i = 0; i < width * height; ++i)
    pixels.push_back(0xFF000000u | (i * 0x0A0B0Cu));
  return pixels;
}
}  // namespace

TEST(BmpEncode, HeaderFieldsAndPadding) {
  const std::vector<uint32_t> pixels = Gradient(3, 2);
  const std::vector<uint8_t> bytes = EncodeBmp24(3, 2, pixels.data());
  ASSERT_EQ(bytes.size(), 54u + 12u * 2u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(bytes[2], 78);   // file size
  EXPECT_EQ(bytes[10], 54);  // pixel offset
  EXPECT_EQ(bytes[14], 40);  // info header size
  EXPECT_EQ(bytes[18], 3);
  EXPECT_EQ(bytes[22], 2);
  EXPECT_EQ(bytes[28], 24);
  EXPECT_EQ(bytes[30], 0);
  // First stored row is the bottom one, blue first, padded with zeros.
  EXPECT_EQ(bytes[54], static_cast<uint8_t>(pixels[3]));
  EXPECT_EQ(bytes[56], static_cast<uint8_t>(pixels[3] >> 16));
  EXPECT_EQ(bytes[63], 0);
  EXPECT_EQ(bytes[65], 0);
}

TEST(BmpEncode, RoundTripsThroughTheDecoderAndIsDeterministic) {
  for (int width = 1; width <= 6; ++width) {
    const std::vector<uint32_t> pixels = Gradient(width, 3);
    const std::vector<uint8_t> bytes = EncodeBmp24(width, 3, pixels.data());
    EXPECT_EQ(bytes, EncodeBmp24(width, 3, pixels.data()));
    const auto decoded = DecodeBmp(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->argb, pixels);
  }
  // Alpha is not stored: a transparent pixel comes back opaque.
  const uint32_t clear = 0x00123456;
  const std::vector<uint8_t> bytes = EncodeBmp24(1, 1, &clear);
  EXPECT_EQ(DecodeBmp(bytes.data(), bytes.size())->argb[0], 0xFF123456u);
}

TEST(BmpEncode, RefusesEmptyImages) {
  const uint32_t pixel = 0;
  EXPECT_TRUE(EncodeBmp24(0, 1, &pixel).empty());
  EXPECT_TRUE(EncodeBmp24(1, -1, &pixel).empty());
  EXPECT_TRUE(EncodeBmp24(1, 1, nullptr).empty());
}

TEST(BmpEncode, WriteReplacesTheFileWhole) {
  ScopedWorkDir dir;
  const std::vector<uint32_t> pixels = Gradient(5, 4);
  WriteFileBytes("shot.bmp", std::vector<unsigned char>(1000, 7));
  ASSERT_TRUE(WriteBmp24("shot.bmp", 5, 4, pixels.data()));
  const std::vector<unsigned char> stored = ReadFileBytes("shot.bmp");
  const std::vector<uint8_t> expected = EncodeBmp24(5, 4, pixels.data());
  EXPECT_EQ(std::vector<uint8_t>(stored.begin(), stored.end()), expected);
  EXPECT_EQ(FileLength("shot.bmp.tmp"), -1);
  EXPECT_EQ(LoadBmpFile("shot.bmp")->argb, pixels);
  EXPECT_FALSE(WriteBmp24("no_such_dir/shot.bmp", 5, 4, pixels.data()));
  EXPECT_FALSE(WriteBmp24("empty.bmp", 0, 0, pixels.data()));
  EXPECT_EQ(FileLength("empty.bmp"), -1);
}
