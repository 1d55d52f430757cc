// Build mode's tools at their limits, in the editor's own process: a flood fill of the whole
// map, a paste hanging over the map's edge, the actor cap on starts, and the starts that stay.
#include <gtest/gtest.h>

#include "actors/actor.h"
#include "editor/build_mode.h"
#include "editor/undo_history.h"
#include "editor_fixture.h"
#include "shared/game_codes.h"
#include "world/level_starts.h"

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

}  // namespace
