// The overlay's pixels: text in the game's font over a dark band, boxes and outlines, the
// standing note wrapped, and the layer shown at any whole scale as crisp as the picture.
#include <gtest/gtest.h>

#include "platform/render/font.h"
#include "platform/render/overlay_compose.h"

namespace {

constexpr int kW = 816, kH = 300;

uint32_t At(const OverlayLayer& layer, int x, int y) {
  return layer[static_cast<size_t>(y) * kW + x];
}

TEST(OverlayCompose, TextIsTheFontsGlyphsOverADarkBand) {
  OverlayScene scene;
  scene.Texts.push_back({100, 50, "A", 0xFFFFFF, 255, true});
  OverlayLayer layer;
  ASSERT_TRUE(ComposeOverlayLayer(scene, "", kW, kH, layer));
  const uint8_t* rows = GlyphRows('A');
  for (int row = 0; row < kGlyphHeight; ++row)
    for (int column = 0; column < kGlyphWidth; ++column) {
      const uint32_t pixel = At(layer, 100 + column, 50 + row);
      if (rows[row] & (0x80 >> column)) {
        EXPECT_EQ(pixel, 0xFFFFFFFFu) << column << "," << row;
      } else {
        EXPECT_EQ(pixel & 0xFFFFFF, 0u);
        EXPECT_GT(pixel >> 24, 100u);
      }
    }
  EXPECT_EQ(At(layer, 100, 49), 0u);  // nothing above the line
  EXPECT_EQ(At(layer, 97, 55), 0u);   // nor left of the band
}

TEST(OverlayCompose, OutlinesLeaveTheirInsideAndEverythingOffTheLayerIsClipped) {
  OverlayScene scene;
  scene.Boxes.push_back({10, 10, 10, 10, 0xFFFF00, 255, true});
  scene.Boxes.push_back({-5000, -5000, 100000, 3, 0xFF0000, 255, false});  // off the top
  scene.Boxes.push_back({810, 295, 1 << 30, 1 << 30, 0x00FF00, 255, false});
  scene.Texts.push_back({2147483000, -2147483000, "far away", 0xFFFFFF, 255, true});
  scene.Texts.push_back({800, 290, std::string(5000, 'x'), 0xFFFFFF, 255, true});
  OverlayLayer layer;
  ASSERT_TRUE(ComposeOverlayLayer(scene, "", kW, kH, layer));
  EXPECT_EQ(At(layer, 10, 10), 0xFFFFFF00u);
  EXPECT_EQ(At(layer, 19, 19), 0xFFFFFF00u);
  EXPECT_EQ(At(layer, 15, 15), 0u);
  EXPECT_EQ(At(layer, 815, 299) & 0xFF000000u, 0xFF000000u);
}

TEST(OverlayCompose, ANoteWrapsAtWordsAndCutsWordsLongerThanALine) {
  const auto lines = WrapNote("one two three " + std::string(30, 'p') + " end", 12);
  EXPECT_EQ(lines, (std::vector<std::string>{"one two", "three", "pppppppppppp", "pppppppppppp",
                                             "pppppp end"}));
  OverlayLayer layer;
  EXPECT_TRUE(ComposeOverlayLayer({}, "The art is missing", kW, kH, layer));
  EXPECT_FALSE(ComposeOverlayLayer({}, "", kW, kH, layer));
}

TEST(OverlayCompose, AtAnyScaleEveryFramePixelIsOneUniformBlockOverThePicture) {
  OverlayScene scene;
  scene.Boxes.push_back({0, 0, 40, 20, 0x000000, 128, false});
  scene.Texts.push_back({4, 2, "Map saved", 0xFFFFFF, 200, true});
  OverlayLayer layer;
  ASSERT_TRUE(ComposeOverlayLayer(scene, "", kW, kH, layer));
  const uint32_t picture = 0x00336699;
  std::vector<uint32_t> at_one(static_cast<size_t>(kW) * kH, picture);
  BlendOverlayLayer(layer, kW, kH, reinterpret_cast<uint8_t*>(at_one.data()),
                    {0, 0, 1, kW, kH, kW * 4});
  // Three times the size with a bar of 5 pixels left and 7 above, in a buffer one pixel short
  // on the right: every block equals the pixel at scale one; nothing is written off the buffer.
  const int scale = 3, left = 5, top = 7, width = kW * scale + left - 1, height = 120;
  std::vector<uint32_t> big(static_cast<size_t>(width) * height, picture);
  BlendOverlayLayer(layer, kW, kH, reinterpret_cast<uint8_t*>(big.data()),
                    {left, top, scale, width, height, width * 4});
  for (int y = top; y < height; ++y)
    for (int x = left; x < width; ++x)
      ASSERT_EQ(big[static_cast<size_t>(y) * width + x],
                at_one[static_cast<size_t>((y - top) / scale) * kW + (x - left) / scale])
          << x << "," << y;
  EXPECT_EQ(big[0], picture);
  EXPECT_NE(at_one[static_cast<size_t>(2) * kW + 4], picture);  // the text's band is there
}

}  // namespace
