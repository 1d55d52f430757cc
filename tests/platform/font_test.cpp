// The built-in font: a glyph exactly for the codes 32..127, each one visible and distinct.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/render/font.h"

TEST(Font, GlyphsExactlyForCodes32To127) {
  EXPECT_EQ(GlyphRows(31), nullptr);
  EXPECT_EQ(GlyphRows(128), nullptr);
  EXPECT_EQ(GlyphRows(-1), nullptr);
  for (int code = 32; code <= 127; ++code)
    ASSERT_NE(GlyphRows(code), nullptr) << code;
}

TEST(Font, EveryPrintableGlyphIsDistinctAndVisible) {
  std::set<std::vector<uint8_t>> shapes;
  for (int code = 33; code <= 127; ++code) {
    const uint8_t* rows = GlyphRows(code);
    std::vector<uint8_t> shape(rows, rows + kGlyphHeight);
    int set = 0;
    for (uint8_t row : shape)
      set += __builtin_popcount(row);
    EXPECT_GT(set, 0) << "code " << code;
    // The rightmost columns stay blank so neighbouring glyphs never touch.
    for (uint8_t row : shape)
      EXPECT_EQ(row & 0x81, 0) << "code " << code;
    EXPECT_TRUE(shapes.insert(shape).second) << "code " << code << " repeats another glyph";
  }
  const uint8_t* space = GlyphRows(' ');
  for (int y = 0; y < kGlyphHeight; ++y)
    EXPECT_EQ(space[y], 0);
}
