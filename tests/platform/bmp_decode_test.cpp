// BMP decoding: every depth and header the game meets, and the refusal of malformed,
// truncated and mutated files without a read outside the buffer.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "platform/bmp.h"
#include "platform/bmp_builder.h"

namespace {

std::optional<DecodedBitmap> Decode(const std::vector<uint8_t>& bytes) {
  return DecodeBmp(bytes.data(), bytes.size());
}

std::optional<DecodedBitmap> Decode(const BmpLayout& layout) {
  return Decode(BuildBmp(layout));
}

BmpLayout Rgb24(int width, int height) {
  BmpLayout layout;
  layout.width = width;
  layout.height = height;
  for (int i = 0; i < width * (height < 0 ? -height : height); ++i) {
    layout.pixels.push_back(0xFF000000u | static_cast<uint32_t>(i * 0x010203 + 0x102030));
  }
  return layout;
}

BmpLayout Indexed(int depth, int width, int height, std::vector<uint32_t> palette) {
  BmpLayout layout;
  layout.depth = depth;
  layout.width = width;
  layout.height = height;
  layout.palette = std::move(palette);
  if (layout.palette.size() < (size_t{1} << depth)) layout.clrUsed = layout.palette.size();
  for (int i = 0; i < width * height; ++i) {
    layout.pixels.push_back(static_cast<uint32_t>(i % layout.palette.size()));
  }
  return layout;
}

void ExpectPixels(const DecodedBitmap& bitmap, const BmpLayout& layout) {
  ASSERT_EQ(bitmap.argb.size(), layout.pixels.size());
  for (size_t i = 0; i < layout.pixels.size(); ++i) {
    const uint32_t want =
        layout.depth <= 8 ? 0xFF000000u | layout.palette[layout.pixels[i]] : layout.pixels[i];
    ASSERT_EQ(bitmap.argb[i], want) << "pixel " << i;
  }
}

}  // namespace

TEST(BmpDecode, TwentyFourBitRowsArePaddedAndBottomUp) {
  for (int width = 1; width <= 5; ++width) {
    const BmpLayout layout = Rgb24(width, 3);
    const std::vector<uint8_t> bytes = BuildBmp(layout);
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), 54 + stride * 3);
    const auto bitmap = Decode(bytes);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, width);
    EXPECT_EQ(bitmap->height, 3);
    EXPECT_FALSE(bitmap->hasAlpha);
    ExpectPixels(*bitmap, layout);
  }
  // The first stored row is the bottom one: blue, green, red of its first pixel.
  BmpLayout two = Rgb24(1, 2);
  two.pixels = {0xFF112233, 0xFF445566};
  const std::vector<uint8_t> bytes = BuildBmp(two);
  EXPECT_EQ(bytes[54], 0x66);
  EXPECT_EQ(bytes[56], 0x44);
  EXPECT_EQ(Decode(bytes)->argb[0], 0xFF112233u);
}

TEST(BmpDecode, ThirtyTwoBitKeepsItsAlpha) {
  BmpLayout layout;
  layout.depth = 32;
  layout.width = 2;
  layout.height = 1;
  layout.pixels = {0x80FF0000u, 0x00010203u};
  const auto bitmap = Decode(layout);
  ASSERT_TRUE(bitmap);
  EXPECT_TRUE(bitmap->hasAlpha);
  ExpectPixels(*bitmap, layout);
}

TEST(BmpDecode, IndexedDepthsReadTheColourTable) {
  const std::vector<uint32_t> colours = {0x000000, 0xFFFFFF, 0x7AC9FF, 0x123456, 0xFF0000, 0x00FF00,
                                         0x0000FF, 0x808080, 0x010101, 0x020202, 0x030303, 0x040404,
                                         0x050505, 0x060606, 0x070707, 0x080808, 0x090909};
  // Odd widths exercise partial bytes and padding; high bits hold the leftmost pixel.
  for (int width : {1, 3, 7, 9, 13}) {
    SCOPED_TRACE(width);
    const BmpLayout one = Indexed(1, width, 2, {colours[0], colours[1]});
    ExpectPixels(*Decode(one), one);
    const BmpLayout four =
        Indexed(4, width, 2, std::vector<uint32_t>(colours.begin(), colours.begin() + 16));
    ExpectPixels(*Decode(four), four);
    const BmpLayout eight = Indexed(8, width, 3, colours);
    ExpectPixels(*Decode(eight), eight);
  }
}

TEST(BmpDecode, OneBitHighBitFirst) {
  BmpLayout layout = Indexed(1, 8, 1, {0x000000, 0xFFFFFF});
  layout.pixels = {1, 0, 0, 0, 0, 0, 0, 0};
  const std::vector<uint8_t> bytes = BuildBmp(layout);
  EXPECT_EQ(bytes[54 + 8], 0x80);
  const auto bitmap = Decode(bytes);
  EXPECT_EQ(bitmap->argb[0], 0xFFFFFFFFu);
  EXPECT_EQ(bitmap->argb[7], 0xFF000000u);
}

TEST(BmpDecode, ShortColourTableFromClrUsed) {
  BmpLayout layout = Indexed(8, 3, 1, {0xAA0000, 0x00BB00, 0x0000CC});
  layout.clrUsed = 3;
  const auto bitmap = Decode(layout);
  ASSERT_TRUE(bitmap);
  ExpectPixels(*bitmap, layout);
}

TEST(BmpDecode, IndexPastTheTableReadsBlack) {
  BmpLayout layout = Indexed(8, 2, 1, {0x00FF00, 0x0000FF});
  layout.clrUsed = 2;
  layout.pixels = {1, 200};
  const auto bitmap = Decode(layout);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->argb[0], 0xFF0000FFu);
  EXPECT_EQ(bitmap->argb[1], 0xFF000000u);
}

TEST(BmpDecode, PixelOffsetIsHonouredOrFallsBackBehindTheTable) {
  BmpLayout gap = Rgb24(2, 2);
  gap.gapBeforePixels = 6;
  ExpectPixels(*Decode(gap), gap);
  BmpLayout zero = Rgb24(2, 2);
  zero.offBits = 0;  // points into the headers: the rows follow the table
  ExpectPixels(*Decode(zero), zero);
  BmpLayout past = Rgb24(2, 2);
  past.offBits = 1 << 20;
  ExpectPixels(*Decode(past), past);
}

TEST(BmpDecode, TopDownAndLaterInfoHeaders) {
  const BmpLayout topDown = Rgb24(3, -2);
  ExpectPixels(*Decode(topDown), topDown);
  for (uint32_t size : {108u, 124u}) {
    BmpLayout layout = Indexed(4, 5, 2, {0x111111, 0x222222, 0x333333});
    layout.infoSize = size;
    ExpectPixels(*Decode(layout), layout);
  }
}

TEST(BmpDecode, RefusesMalformedHeaders) {
  auto refuses = [](const std::function<void(BmpLayout&)>& change) {
    BmpLayout layout = Rgb24(2, 2);
    change(layout);
    return !Decode(layout).has_value();
  };
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.compression = 1; }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.compression = 3; }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.depth = 16; }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.depth = 0; }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.planes = 2; }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.infoSize = 12; }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.infoSize = 64; }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.width = 0, s.pixels.clear(); }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.height = 0, s.pixels.clear(); }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.width = -2; }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.height = INT32_MIN; }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.width = kMaxBitmapDimension + 1; }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.height = kMaxBitmapDimension + 1; }));
  EXPECT_TRUE(refuses([](BmpLayout& s) { s.width = INT32_MAX; }));
  std::vector<uint8_t> bytes = BuildBmp(Rgb24(2, 2));
  bytes[0] = 'M';
  bytes[1] = 'B';
  EXPECT_FALSE(Decode(bytes));
  EXPECT_FALSE(DecodeBmp(nullptr, 0));
}

TEST(BmpDecode, RefusesSizesTheFileCannotHold) {
  // Dimensions within the caps whose pixels are not in the file.
  std::vector<uint8_t> bytes = BuildBmp(Rgb24(2, 2));
  const uint32_t width = kMaxBitmapDimension, height = 1000;
  for (int i = 0; i < 4; ++i)
    bytes[18 + i] = static_cast<uint8_t>(width >> (8 * i));
  for (int i = 0; i < 4; ++i)
    bytes[22 + i] = static_cast<uint8_t>(height >> (8 * i));
  EXPECT_FALSE(Decode(bytes));
  // Within each cap but together past the pixel cap, although every byte is there.
  auto oneBit = [](int width, int height) {
    BmpLayout layout = Indexed(1, 1, 1, {0, 0xFFFFFF});
    layout.pixels.clear();
    std::vector<uint8_t> file = BuildBmp(layout);
    for (int i = 0; i < 4; ++i)
      file[18 + i] = static_cast<uint8_t>(width >> (8 * i));
    for (int i = 0; i < 4; ++i)
      file[22 + i] = static_cast<uint8_t>(height >> (8 * i));
    file.resize(file.size() + static_cast<size_t>((width + 31) / 32 * 4) * height);
    return file;
  };
  EXPECT_TRUE(Decode(oneBit(4096, 4096)));  // exactly the cap
  EXPECT_FALSE(Decode(oneBit(4096, 4097)));
}

TEST(BmpDecode, RefusesColourTablesTheFileOrDepthCannotHold) {
  BmpLayout tooMany = Indexed(1, 2, 1, {0, 0xFFFFFF});
  tooMany.clrUsed = 3;
  EXPECT_FALSE(Decode(tooMany));
  // A full 256-entry table claimed by a file that ends inside it.
  BmpLayout cut = Indexed(8, 2, 1, {0, 0xFFFFFF});
  cut.clrUsed = 0;
  std::vector<uint8_t> bytes = BuildBmp(cut);
  EXPECT_FALSE(Decode(bytes));
  bytes.resize(54 + 100 * 4);
  EXPECT_FALSE(Decode(bytes));
}

TEST(BmpDecode, EveryTruncationIsRefused) {
  for (const BmpLayout& layout : {Rgb24(3, 3), Indexed(4, 5, 3, {1, 2, 3, 4})}) {
    const std::vector<uint8_t> bytes = BuildBmp(layout);
    ASSERT_TRUE(Decode(bytes));
    for (size_t size = 0; size < bytes.size(); ++size) {
      EXPECT_FALSE(DecodeBmp(bytes.data(), size)) << "size " << size;
    }
  }
}

TEST(BmpDecode, MutatedFilesNeverReadOutOfBounds) {
  // Runs clean under the address sanitizer; here it at least pins "no crash, no hang".
  std::mt19937 rng(1234);
  const std::vector<std::vector<uint8_t>> seeds = {
      BuildBmp(Rgb24(4, 3)), BuildBmp(Indexed(8, 5, 2, {1, 2, 3})),
      BuildBmp(Indexed(1, 9, 2, {1, 2})), BuildBmp(Rgb24(2, -2))};
  int decoded = 0;
  for (int round = 0; round < 4000; ++round) {
    std::vector<uint8_t> bytes = seeds[round % seeds.size()];
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int f = 0; f < flips; ++f)
      bytes[rng() % 54] = static_cast<uint8_t>(rng());
    if (rng() % 3 == 0) bytes.resize(rng() % bytes.size());
    const auto bitmap = Decode(bytes);
    if (bitmap) {
      ++decoded;
      ASSERT_EQ(bitmap->argb.size(), static_cast<size_t>(bitmap->width) * bitmap->height);
    }
  }
  EXPECT_GT(decoded, 0);
}
