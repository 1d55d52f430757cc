// Build mode's tools at their limits, in the editor's own process: a flood fill of the whole
// map, a paste hanging over the map's edge, the actor cap on starts and the starts that stay,
// water as a layer, hidden layers, and what the overlay shows.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "actors/actor.h"
#include "editor/build_mode.h"
#include "editor/undo_history.h"
#include "editor_fixture.h"
#include "shared/game_codes.h"
#include "world/level_starts.h"
#include "world/scroller.h"

namespace {

class BuildToolsTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    ResetLevelStarts();
    TBuild::FReset();
    TBuild::FEnter();
    EditorMode = kEditorBlockMode;
    EditorBlockStyle = 20;
  }
  // One click of a button at a cell: the press, then the release a frame later.
  static void ClickCell(int x, int y, int button = kMouseLeft) {
    Hold(button);
    TBuild::FPointer(x, y, true);
    Release(button);
    TBuild::FPointer(x, y, true);
  }
  static int Blocks(int style) {
    int count = 0;
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
        count += TMap::FBlockStyleAtCell(x, y) == style;
    return count;
  }
};

TEST_F(BuildToolsTest, AFloodFillOfTheWholeMapStopsAtTheRingAndIsOneStep) {
  Build.Tool = BuildTool::kFill;
  ClickCell(1, 1);  // a cell touching the ring
  EXPECT_EQ(Blocks(20), 73 * 52);
  for (int x = 0; x < MAP_WIDTH_TILES; ++x)
    EXPECT_EQ(BlockGrid[x][0], nullptr);
  EXPECT_EQ(TUndoHistory::FUndoSteps(), 1u);
  ASSERT_TRUE(TUndoHistory::FUndo());
  EXPECT_EQ(Blocks(20), 0);
  // Filling what the fill already holds changes nothing and makes no step.
  ClickCell(5, 5, kMouseRight);
  EXPECT_EQ(TUndoHistory::FUndoSteps(), 0u);
}

TEST_F(BuildToolsTest, APasteOverTheEdgeLeavesOutWhatHangsOver) {
  for (int x = 10; x < 15; ++x)
    for (int y = 10; y < 15; ++y)
      TMap::FCreateBlock(x, y, 23);
  const BuildClip clip = CopyCells({10, 10}, {14, 14});
  ASSERT_EQ(clip.Width, 5);
  EXPECT_TRUE(StampClip(clip, 71, 50));  // 3 x 3 of it lands inside the ring
  EXPECT_TRUE(StampClip(clip, -3, -3));  // 1 x 1
  EXPECT_FALSE(StampClip(clip, 2000000000, -2000000000));
  EXPECT_EQ(Blocks(23), 25 + 9 + 1);
  for (int x = 0; x < MAP_WIDTH_TILES; ++x) {
    EXPECT_EQ(BlockGrid[x][MAP_HEIGHT_TILES - 1], nullptr);
    EXPECT_EQ(BlockGrid[x][0], nullptr);
  }
  // The whole map copied is no larger than the map.
  const BuildClip all = CopyCells({-50, -50}, {500, 500});
  EXPECT_EQ(all.Width * all.Height, MAP_WIDTH_TILES * MAP_HEIGHT_TILES);
}

TEST_F(BuildToolsTest, StartsStopAtTheActorCapAndThePlayersAndTheLastBadguysStay) {
  Build.Tool = BuildTool::kStarts;
  int placed = 0;
  for (int y = 2; y < 52 && placed < kActorCap + 20; y += 2)
    for (int x = 2; x < 73 && placed < kActorCap + 20; x += 2, ++placed)
      ClickCell(x, y);
  EXPECT_EQ(LevelStarts.Badguys.size(), static_cast<size_t>(kActorCap - 1));
  const TStartPoint player = LevelStarts.Player;
  const BuildCell at = StartCell(player);
  ClickCell(at.X, at.Y, kMouseRight);
  EXPECT_EQ(LevelStarts.Player, player);
  // Down to one bad guy's start, which stays.
  while (LevelStarts.Badguys.size() > 1) {
    const size_t before = LevelStarts.Badguys.size();
    const BuildCell last = StartCell(LevelStarts.Badguys.back());
    ClickCell(last.X, last.Y, kMouseRight);
    ASSERT_EQ(LevelStarts.Badguys.size(), before - 1);
  }
  const BuildCell only = StartCell(LevelStarts.Badguys[0]);
  ClickCell(only.X, only.Y, kMouseRight);
  EXPECT_EQ(LevelStarts.Badguys.size(), 1u);
  // A start dragged to a free cell moves there; one undo puts it back.
  Hold(kMouseLeft);
  TBuild::FPointer(only.X, only.Y, true);
  TBuild::FPointer(40, 30, true);
  Release(kMouseLeft);
  TBuild::FPointer(40, 30, true);
  EXPECT_EQ(StartCell(LevelStarts.Badguys[0]), (BuildCell{40, 30}));
  ASSERT_TRUE(TUndoHistory::FUndo());
  EXPECT_EQ(StartCell(LevelStarts.Badguys[0]), only);
}

TEST_F(BuildToolsTest, WaterIsALayerOfFullCellsAndLayersHideTillBuildingEnds) {
  PressKey(kKeyW);
  ASSERT_EQ(TBuild::FActiveLayer(), BuildLayer::kWater);
  TMap::FCreateBlock(6, 6, 23);
  Build.Tool = BuildTool::kFilledRectangle;
  Hold(kMouseLeft);
  TBuild::FPointer(5, 5, true);
  Release(kMouseLeft);
  TBuild::FPointer(7, 6, true);
  for (int x = 5; x <= 7; ++x) {
    for (int y = 5; y <= 6; ++y) {
      EXPECT_EQ(SolidGrid[x][y], kSolidFluid) << x << "," << y;
      EXPECT_EQ(FillGrid[x][y], 16);
      EXPECT_EQ(BlockGrid[x][y], nullptr);  // water takes the block's cell
    }
  }
  ClickCell(6, 5, kMouseRight);  // the right button takes water away, nothing else
  EXPECT_EQ(SolidGrid[6][5], kSolidNothing);
  EXPECT_EQ(SolidGrid[7][5], kSolidFluid);
  // F held over two cells pours full cells in one step.
  const size_t steps = TUndoHistory::FUndoSteps();
  InputKeyDown(kKeyF);
  TEditor::FFrameStart();
  TBuild::FPointer(20, 20, true);
  TEditor::FFrameStart();
  TBuild::FPointer(21, 20, true);
  InputKeyUp(kKeyF);
  TEditor::FFrameStart();
  TBuild::FPointer(21, 20, true);
  TEditor::FFrameStart();
  EXPECT_EQ(FillGrid[20][20] + FillGrid[21][20], 32);
  EXPECT_EQ(TUndoHistory::FUndoSteps(), steps + 1);
  // Shift+3 hides the water from the views while building, and only while building.
  InputKeyDown(kKeyShift);
  PressKey('3');
  InputKeyUp(kKeyShift);
  EXPECT_EQ(Build.Tool, BuildTool::kFilledRectangle);
  EXPECT_EQ(HiddenViewLayers, kHideWaterLayer);
  TBuild::FLeave();
  EXPECT_EQ(HiddenViewLayers, 0);
  EXPECT_EQ(TBuild::FLevel().Water[7][5], 1);
  EXPECT_EQ(TBuild::FLevel().Water[6][5], 0);
}

TEST_F(BuildToolsTest, TheOverlayOutlinesTheDraggedCellsAndNamesToolLayerCellAndFamily) {
  Build.Tool = BuildTool::kRectangle;
  Hold(kMouseLeft);
  TBuild::FPointer(3, 4, true);
  TBuild::FPointer(5, 6, true);
  OverlayScene scene;
  LayOutBuildOverlay(scene, 5 * 16 + 8, 6 * 16 + 8);
  std::set<std::pair<int, int>> outlined;
  int grid = 0;
  for (const OverlayBox& box : scene.Boxes) {
    if (box.Outline && box.Colour == 0xFFFF00 && box.Width == 16 && box.Height == 16)
      outlined.insert({box.X / 16, box.Y / 16});
    if (!box.Outline && (box.Width == 1 || box.Height == 1)) ++grid;
  }
  std::set<std::pair<int, int>> edge;
  for (const BuildCell& cell : RectangleCells({3, 4}, {5, 6}, false))
    edge.insert({cell.X, cell.Y});
  EXPECT_EQ(outlined, edge);
  EXPECT_EQ(grid, 25 + 18);  // a line at every cell edge of the 400 x 288 view
  std::set<std::string> texts;
  for (const OverlayText& text : scene.Texts)
    texts.insert(text.Text);
  EXPECT_TRUE(texts.count("Tool 3 rectangle, blocks"));
  EXPECT_TRUE(texts.count("Column 5, row 6"));
  EXPECT_TRUE(texts.count("Style 20 brick: breaks when bumped"));
  EXPECT_EQ(BlockFamilyWords(21), "container: releases a bad guy");
  EXPECT_EQ(BlockFamilyWords(40), "solid, family 38-43");
  Release(kMouseLeft);
  TBuild::FPointer(5, 6, true);
  PressKey(kKeyG);
  OverlayScene plain;
  LayOutBuildOverlay(plain, 5 * 16 + 8, 6 * 16 + 8);
  for (const OverlayBox& box : plain.Boxes)
    EXPECT_FALSE(!box.Outline && (box.Width == 1 || box.Height == 1)) << "grid after G";
}

}  // namespace
