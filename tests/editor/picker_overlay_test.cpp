// The picker's marks: the caption names the family painting re-picks within at exactly the
// editor's boundaries, the shaded rows are never offered, and the outlines sit on the squares a
// click selects.
#include "editor/picker_overlay.h"

#include "editor/editor.h"
#include "editor/editor_layout.h"
#include "editor_fixture.h"
#include "platform/render/image.h"
#include "shared/game_images.h"

namespace {

using PickerOverlayTest = EditorTest;

// The caption of block style s (rows 0..7) or background style s (rows 8..15).
std::string BlockCaption(int style) {
  return PickerCaption(style % 32, style / 32);
}
std::string BackgroundCaption(int style) {
  return PickerCaption(style % 32, 8 + style / 32);
}

TEST_F(PickerOverlayTest, CaptionsFollowThePaintersFamilies) {
  EXPECT_EQ(BlockCaption(0), "Block style 0, family 0-5");
  EXPECT_EQ(BlockCaption(5), "Block style 5, family 0-5");
  EXPECT_EQ(BlockCaption(6), "Block style 6, family 6-11");
  EXPECT_EQ(BlockCaption(17), "Block style 17, family 12-17");
  EXPECT_EQ(BlockCaption(18), "Block style 18");
  EXPECT_EQ(BlockCaption(31), "Block style 31");
  EXPECT_EQ(BlockCaption(32), "Block style 32, family 32-37");
  EXPECT_EQ(BlockCaption(49), "Block style 49, family 44-49");
  EXPECT_EQ(BlockCaption(50), "Block style 50");
  EXPECT_EQ(BlockCaption(255), "Block style 255");
  EXPECT_EQ(BackgroundCaption(7), "Background style 7, family 0-7");
  EXPECT_EQ(BackgroundCaption(8), "Background style 8");
  EXPECT_EQ(BackgroundCaption(33), "Background style 33");
  for (int row = 16; row < 24; ++row)
    EXPECT_NE(PickerCaption(0, row).find("not pickable"), std::string::npos);
  EXPECT_EQ(PickerCaption(-1, 0), "");
  EXPECT_EQ(PickerCaption(32, 0), "");
  EXPECT_EQ(PickerCaption(0, 24), "");
}

TEST_F(PickerOverlayTest, TheOutlinedSquareIsTheOneAClickSelects) {
  AllTilesImage = std::make_shared<TImage>();
  // Every pixel over the right view: the hover outline (yellow) surrounds the square whose
  // click picks the style the caption names.
  for (int my = -3; my < 300; my += 1) {
    for (int mx = 401; mx < 816; mx += 3) {
      OverlayScene scene;
      LayOutPickerOverlay(scene, mx, my);
      const PickerPlace place = PickerPlaceAt(mx, my);
      const std::string caption = PickerCaption(place.column, place.row);
      const bool hover = !scene.Boxes.empty() && scene.Boxes.back().Colour == 0xFFFF00;
      ASSERT_EQ(hover, !caption.empty() && place.row < 16) << mx << "," << my;
      if (!hover) continue;
      const OverlayBox& box = scene.Boxes.back();
      EXPECT_EQ(box.X + 1, kPickerLeft + place.column * kPickerSquare);
      EXPECT_EQ(box.Y + 1, kPickerTop + place.row * kPickerSquare);
      EXPECT_EQ(scene.Texts.back().Text, caption);
    }
  }
  OverlayScene none;
  LayOutPickerOverlay(none, 400, 50);  // over the left view: no picker, no marks
  EXPECT_TRUE(none.Empty());
  AllTilesImage.reset();
  LayOutPickerOverlay(none, 500, 50);  // no sheet loaded: nothing to mark
  EXPECT_TRUE(none.Empty());
}

}  // namespace
