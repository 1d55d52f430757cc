// The building switches in the process: T tried at every cell of the map and at the view's
// edges, the events each switch reports, and the overview's picture of the map.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "actors/actor.h"
#include "actors/profile.h"
#include "editor/free_camera.h"
#include "editor/map_overview.h"
#include "frame/edit_switches.h"
#include "frame/game.h"
#include "platform/commands.h"
#include "platform/input.h"
#include "platform/render/draw.h"
#include "shared/game_events.h"
#include "support/test_env.h"
#include "world/map.h"
#include "world/scroller.h"

namespace {

constexpr int64_t kCell = int64_t{1} << 20;

class EditSwitchesTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    BootSubsystems();
    TGame::FEnterState();  // the dummy map: a walled ring, floors and blocks inside
    TGameEvents::FClear();
  }
  static TActor& Player() { return *Profiles[kPlayerProfile]->Actor; }
  static void Press(int key) {
    InputKeyDown(key);
    InputKeyUp(key);
  }
  static std::vector<GameEventRecord> Events() {
    const auto pending = TGameEvents::FPending();
    std::vector<GameEventRecord> events(pending.begin(), pending.end());
    TGameEvents::FClear();
    return events;
  }
};

TEST_F(EditSwitchesTest, TPlacesThePlayerInEveryFreeCellAndNowhereElse) {
  int placed = 0;
  for (int cy = 0; cy < MAP_HEIGHT_TILES; ++cy) {
    for (int cx = 0; cx < MAP_WIDTH_TILES; ++cx) {
      // Through the overview, which shows every cell of the map.
      FreeCameraOn = true;
      WorldHeld = true;
      InputMouseMove(kOverviewLeft + 2 * cx + 1, kOverviewTop + 2 * cy + 1);
      Player().XVel = Player().YVel = 77;
      const int64_t x = Player().XPos, y = Player().YPos;
      const bool free = TMap::FBoundsMargin(cx, cy) && !BlockGrid[cx][cy];
      ASSERT_EQ(PlayFromPointer(), free) << cx << ", " << cy;
      if (!free) {
        ASSERT_EQ(Player().XPos, x);
        ASSERT_EQ(Player().YPos, y);
        ASSERT_TRUE(FreeCameraOn && WorldHeld);
        continue;
      }
      ++placed;
      ASSERT_EQ(Player().XPos, cx * kCell + kCell / 2);
      ASSERT_EQ(Player().YPos, (cy + 1) * kCell - 1);
      ASSERT_EQ(Player().XVel, 0);
      ASSERT_EQ(Player().YVel, 0);
      ASSERT_FALSE(FreeCameraOn || WorldHeld);
      // Filed in the bucket of its new place, so the views draw it there.
      const ActorList& bucket = ActorBuckets[cx / 4][cy / 4];
      ASSERT_NE(std::find(bucket.begin(), bucket.end(), Profiles[kPlayerProfile]->Actor),
                bucket.end());
    }
  }
  EXPECT_GT(placed, 1000);
}

TEST_F(EditSwitchesTest, TThroughTheViewFollowsItsCameraAndStopsAtItsEdges) {
  TScroller& view = *Scrollers[0];
  view.MShiftCamera(int64_t{1} << 40, int64_t{1} << 40);  // the map's far corner
  const int64_t x = Player().XPos;
  // The view's last pixel shows the ring's corner cell; beyond it lie the gap and the strip.
  for (const auto& [mx, my] :
       std::vector<std::pair<int, int>>{{399, 287}, {400, 100}, {100, 288}, {-1, 10}, {500, 20}}) {
    InputMouseMove(mx, my);
    EXPECT_FALSE(PlayFromPointer()) << mx << ", " << my;
    EXPECT_EQ(Player().XPos, x);
  }
  // One cell in from both edges of the map, if no block stands there.
  InputMouseMove(399 - 16, 287 - 16);
  const int cx = static_cast<int>((view.CameraCornerX + (383LL << 16)) >> 20);
  const int cy = static_cast<int>((view.CameraCornerY + (271LL << 16)) >> 20);
  EXPECT_EQ(PlayFromPointer(), !BlockGrid[cx][cy]);
}

TEST_F(EditSwitchesTest, EachSwitchReportsWhatItBecameAndTwoPressesCancel) {
  Press(kKeyTab);
  Press(kKeyP);
  Press(kKeyH);
  EditSwitchKeys();
  std::vector<GameEventRecord> events = Events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].Kind, GameEvent::kFreeCamera);
  EXPECT_EQ(events[0].Value, 1);
  EXPECT_EQ(events[1].Kind, GameEvent::kWorldHeld);
  EXPECT_EQ(events[1].Value, 1);
  EXPECT_EQ(events[2].Kind, GameEvent::kPanelShown);
  EXPECT_EQ(events[2].Value, 0);
  // Pressed twice within one frame: back where it was, so nothing to tell.
  Press(kKeyTab);
  Press(kKeyTab);
  EditSwitchKeys();
  EXPECT_TRUE(Events().empty());
  EXPECT_TRUE(FreeCameraOn);
  // T turns both off and says so; over the gap it does nothing and says nothing.
  InputMouseMove(405, 10);
  Press(kKeyT);
  PlayFromPointerKey();
  EXPECT_TRUE(Events().empty());
  InputMouseMove(kOverviewLeft + 2 * 10 + 1, kOverviewTop + 2 * 10 + 1);
  ASSERT_FALSE(BlockGrid[10][10]);
  Press(kKeyT);
  PlayFromPointerKey();
  events = Events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].Kind, GameEvent::kFreeCamera);
  EXPECT_EQ(events[0].Value, 0);
  EXPECT_EQ(events[1].Kind, GameEvent::kWorldHeld);
  EXPECT_EQ(events[1].Value, 0);
}

// Every cell in its colour, the view's outline over it, and the picture lands where a click
// reads it back.
TEST_F(EditSwitchesTest, TheOverviewShowsEveryCellAndTheViewsOutline) {
  TMap::FCreateBlock(30, 20, 3);
  TMap::FBGSet(31, 20, 2);
  Scrollers[0]->MShiftCamera(5 * kCell, 0);
  FreeCameraOn = true;
  DrawMapOverview();
  const uint32_t* pixels = BackBuffer();
  const auto at = [&](int cx, int cy, int dx = 1, int dy = 1) {
    return pixels[(kOverviewTop + 2 * cy + dy) * kBackBufferWidth + kOverviewLeft + 2 * cx + dx];
  };
  for (int cy = 0; cy < MAP_HEIGHT_TILES; ++cy)
    for (int cx = 0; cx < MAP_WIDTH_TILES; ++cx)
      if (cy != 0 && cy != 17 && cx != 5 && cx != 29) {  // off the outline's lines
        ASSERT_EQ(at(cx, cy), OverviewCellColour(cx, cy)) << cx << ", " << cy;
      }
  // No art loaded: a block has no tile colour and shows what lies behind it.
  EXPECT_EQ(OverviewCellColour(30, 20), OverviewCellColour(32, 20));
  EXPECT_EQ(at(5, 3, 0, 0), 0xFFFFFFu);   // the outline's left side
  EXPECT_EQ(at(29, 3, 1, 0), 0xFFFFFFu);  // and its right side, 25 cells on
  int cx = 0, cy = 0;
  OverviewCellAt(kOverviewLeft + 2 * 30 + 1, kOverviewTop + 2 * 20, cx, cy);
  EXPECT_EQ(cx, 30);
  EXPECT_EQ(cy, 20);
  // A drag may carry the pointer anywhere: it reads as the nearest edge cell.
  OverviewCellAt(INT32_MIN, INT32_MAX, cx, cy);
  EXPECT_EQ(cx, 0);
  EXPECT_EQ(cy, MAP_HEIGHT_TILES - 1);
}

}  // namespace
