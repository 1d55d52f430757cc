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

// Rows laid out by the caller: every depth the decoder reads, a colour table, top-down rows and
// a longer info header come back as the pixels they stand for; a layout the decoder would refuse,
// or rows of the wrong size, give nothing.
TEST(BmpEncode, RowsOfAnyDepthRoundTripThroughTheDecoder) {
  BmpRowsLayout indexed;
  indexed.width = 3;
  indexed.height = 2;
  indexed.depth = 8;
  indexed.table = {0x000000, 0x112233, 0xFFEEDD};
  // Bottom row first: 2 1 0, then 0 1 2, each padded to four bytes.
  const std::vector<uint8_t> bytes = EncodeBmpRows(indexed, {2, 1, 0, 0, 0, 1, 2, 0});
  ASSERT_EQ(bytes.size(), 14u + 40u + 3u * 4u + 8u);
  EXPECT_EQ(bytes[10], 14 + 40 + 12);  // the pixels follow the table
  EXPECT_EQ(bytes[46], 3);             // the colours used
  const auto decoded = DecodeBmp(bytes.data(), bytes.size());
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->argb[0] & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(decoded->argb[1] & 0xFFFFFF, 0x112233u);
  EXPECT_EQ(decoded->argb[2] & 0xFFFFFF, 0xFFEEDDu);
  EXPECT_EQ(decoded->argb[3] & 0xFFFFFF, 0xFFEEDDu);

  BmpRowsLayout topDown;
  topDown.width = 2;
  topDown.height = -2;
  topDown.infoSize = 108;
  const std::vector<uint8_t> rows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  const std::vector<uint8_t> v4 = EncodeBmpRows(topDown, rows);
  ASSERT_EQ(v4.size(), 14u + 108u + rows.size());
  const auto top = DecodeBmp(v4.data(), v4.size());
  ASSERT_TRUE(top.has_value());
  EXPECT_EQ(top->height, 2);
  EXPECT_EQ(top->argb[0] & 0xFFFFFF, 0x030201u);  // the first stored row is the top one
  EXPECT_EQ(top->argb[3] & 0xFFFFFF, 0x0C0B0Au);

  for (int depth : {1, 4, 32}) {
    BmpRowsLayout layout;
    layout.width = 5;
    layout.height = 3;
    layout.depth = depth;
    if (depth < 24) layout.table.assign(size_t{1} << depth, 0x336699);
    const std::vector<uint8_t> any(BmpStride(5, depth) * 3, 0x5A);
    const std::vector<uint8_t> file = EncodeBmpRows(layout, any);
    EXPECT_TRUE(DecodeBmp(file.data(), file.size()).has_value()) << depth;
  }

  EXPECT_TRUE(EncodeBmpRows(indexed, {1, 2, 3}).empty());  // not two padded rows
  BmpRowsLayout odd = indexed;
  odd.depth = 16;
  EXPECT_TRUE(EncodeBmpRows(odd, std::vector<uint8_t>(BmpStride(3, 16) * 2)).empty());
  BmpRowsLayout shortInfo = topDown;
  shortInfo.infoSize = 12;
  EXPECT_TRUE(EncodeBmpRows(shortInfo, rows).empty());
}
