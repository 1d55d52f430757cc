// Painting in the left view: the mouse through the camera corner, the untouchable border ring,
// water, erasing, the repicked style families, and the save, load and refresh keys.
#include <set>

#include "editor_fixture.h"
#include "platform/files.h"

namespace {
class PaintingTest : public EditorTest {
 protected:
  void BlockMode(int style) {
    EditorMode = kEditorBlockMode;
    EditorBlockStyle = style;
  }
  void BackgroundMode(int style) {
    EditorMode = kEditorBackgroundMode;
    EditorBGStyle = style;
  }
};
}  // namespace

TEST_F(PaintingTest, MouseMapsThroughTheLeftViewsCameraCorner) {
  Scrollers[0]->CameraCornerX = 20 * TILE_UNITS + 5 * PIXEL_UNITS;
  Scrollers[0]->CameraCornerY = 3 * TILE_UNITS - PIXEL_UNITS;
  BackgroundMode(9);
  Mouse(100, 16);  // pixel 425 of the map across, 63 down: cell (26, 3)
  Hold(1);
  Frame();
  EXPECT_EQ(BGGrid[26][3], 9);
  Mouse(100, 17);  // one pixel further down: cell (26, 4)
  Frame();
  EXPECT_EQ(BGGrid[26][4], 9);
}

TEST_F(PaintingTest, BorderRingCannotBeEdited) {
  BlockMode(20);
  InputKeyDown(kKeyF);
  Hold(1);
  for (const auto& [cx, cy] : {std::pair{0, 6}, std::pair{6, 0}}) {
    MouseOverCell(cx, cy);
    Frame();
    EXPECT_EQ(SolidGrid[cx][cy], kSolidNothing) << cx << "," << cy;
  }
  // The far column and row, reached by moving the camera.
  Scrollers[0]->CameraCornerX = 74 * TILE_UNITS;
  Scrollers[0]->CameraCornerY = 53 * TILE_UNITS;
  Mouse(8, 8);
  Frame();
  EXPECT_EQ(SolidGrid[74][53], kSolidNothing);
  Mouse(8 - 16, 8);
  Frame();
  EXPECT_EQ(SolidGrid[73][53], kSolidNothing);
}

TEST_F(PaintingTest, WaterAndLeftButtonInBlockModeLeavesTheBlock) {
  BlockMode(20);
  InputKeyDown(kKeyF);
  Hold(1);
  MouseOverCell(5, 5);
  Frame();
  EXPECT_EQ(SolidGrid[5][5], kSolidBlock);
  EXPECT_EQ(FillGrid[5][5], 16);
  EXPECT_EQ(TMap::FBlockStyleAtCell(5, 5), 20);
}

TEST_F(PaintingTest, WaterAloneReplacesABlockWithOneToFifteenUnits) {
  TMap::FCreateBlock(5, 5, 20);
  InputKeyDown(kKeyF);
  MouseOverCell(5, 5);
  std::set<int> amounts;
  for (int i = 0; i < 200; ++i) {
    Frame();
    ASSERT_EQ(SolidGrid[5][5], kSolidFluid);
    amounts.insert(FillGrid[5][5]);
  }
  EXPECT_EQ(TMap::FBlockStyleAtCell(5, 5), 255);
  EXPECT_EQ(*amounts.begin(), 1);
  EXPECT_EQ(*amounts.rbegin(), 15);
  EXPECT_EQ(FluidColumnActive[5], 1);
}

TEST_F(PaintingTest, RightButtonWinsOverLeft) {
  BlockMode(20);
  TMap::FCreateBlock(5, 5, 20);
  MouseOverCell(5, 5);
  Hold(1);
  Hold(2);
  Frame();
  EXPECT_EQ(SolidGrid[5][5], kSolidNothing);
  BackgroundMode(9);
  TMap::FBGSet(5, 5, 9);
  Frame();
  EXPECT_EQ(BGGrid[5][5], 255);
}

TEST_F(PaintingTest, FamiliesAreRepickedOtherStylesPaintAsPicked) {
  Hold(1);
  BlockMode(20);
  for (int cx = 1; cx <= 10; ++cx) {
    MouseOverCell(cx, 5);
    Frame();
    EXPECT_EQ(TMap::FBlockStyleAtCell(cx, 5), 20);
  }
  for (const auto& [picked, low] :
       {std::pair{3, 0}, std::pair{17, 12}, std::pair{35, 32}, std::pair{49, 44}}) {
    BlockMode(picked);
    std::set<int> painted;
    for (int cx = 1; cx <= 20; ++cx) {
      MouseOverCell(cx, 7);
      Frame();
      const int style = TMap::FBlockStyleAtCell(cx, 7);
      EXPECT_GE(style, low);
      EXPECT_LE(style, low + 5);
      EXPECT_EQ(style, EditorBlockStyle);  // stored back, so the family holds
      painted.insert(style);
    }
    EXPECT_GT(painted.size(), 1u) << picked;
  }
  BackgroundMode(5);
  std::set<int> backgrounds;
  for (int cx = 1; cx <= 20; ++cx) {
    MouseOverCell(cx, 9);
    Frame();
    EXPECT_LE(BGGrid[cx][9], 7);
    backgrounds.insert(BGGrid[cx][9]);
  }
  EXPECT_GT(backgrounds.size(), 1u);
  BackgroundMode(9);
  MouseOverCell(3, 11);
  Frame();
  EXPECT_EQ(BGGrid[3][11], 9);
}

TEST_F(PaintingTest, SaveLoadAndRefreshKeys) {
  ScopedWorkDir dir;
  TMap::FCreateBlock(10, 9, 20);
  TMap::FBGSet(4, 4, 9);
  PressKey(kKeyS);
  const std::vector<unsigned char> blocks = ReadFileBytes("BlockMap75x54.raw");
  ASSERT_EQ(blocks.size(), 4050u);
  EXPECT_EQ(ReadFileBytes("BGMap75x54.raw").size(), 4050u);
  TMap::FCreateBlock(10, 9, -1);
  TMap::FBGSet(4, 4, 255);
  PressKey(kKeyL);
  EXPECT_EQ(TMap::FBlockStyleAtCell(10, 9), 20);
  EXPECT_EQ(BGGrid[4][4], 9);
  EXPECT_EQ(ShadowGrid[10][10], 0);  // loading does not refresh the light map
  PressKey(kKeyE);
  EXPECT_EQ(ShadowGrid[10][10], 1);
  EXPECT_EQ(ChunkVisibleGrid[0][0], 1);
}
