// What the sound hears of the water and the boulders: the cells that moved near the left view
// in a step, reported once at its end, while the water moves exactly as it does unheard; a
// boulder's drop, falling on or landing.
#include <cstring>
#include <vector>

#include "fluid_fixture.h"
#include "shared/game_events.h"
#include "world/scroller.h"

namespace {

struct Snapshot {
  std::vector<uint8_t> Solid, Fill;
  int32_t Seed;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take() {
  Snapshot snapshot{std::vector<uint8_t>(sizeof SolidGrid), std::vector<uint8_t>(sizeof FillGrid),
                    RandomSeedState};
  std::memcpy(snapshot.Solid.data(), SolidGrid, sizeof SolidGrid);
  std::memcpy(snapshot.Fill.data(), FillGrid, sizeof FillGrid);
  return snapshot;
}

class WaterFlowTest : public FluidTest {
 protected:
  void SetUp() override {
    FluidTest::SetUp();
    BorderRing();
    TGameEvents::FClear();
  }
  void TearDown() override {
    Scrollers[0].reset();
    TGameEvents::FClear();
    FluidTest::TearDown();
  }
  // A block of water dropped from rows 10..13 of columns 8..13, stepped `steps` times from
  // seed 7 with the left view's corner at the cell given (none: no view).
  static std::vector<GameEventRecord> Pour(int steps, const int* corner_column, Snapshot& after) {
    for (int c = 8; c <= 13; ++c)
      for (int r = 10; r <= 13; ++r)
        Water(c, r, 16);
    TFluid::FEvaluateMap();
    Scrollers[0].reset();
    if (corner_column) {
      Scrollers[0] = std::make_shared<TScroller>();
      Scrollers[0]->CameraCornerX = int64_t{*corner_column} * TILE_UNITS;
      Scrollers[0]->CameraCornerY = 0;
    }
    SeedRandom(7);
    std::vector<GameEventRecord> events;
    for (int i = 0; i < steps; ++i) {
      TFluid::FSim();
      for (const GameEventRecord& event : TGameEvents::FPending())
        events.push_back(event);
      TGameEvents::FClear();
    }
    after = Take();
    return events;
  }
};

TEST_F(WaterFlowTest, MovingWaterNearTheLeftViewIsReportedOnceAStepAndChangesNothing) {
  const Snapshot start = Take();
  Snapshot unheard, heard, far_off;
  EXPECT_TRUE(Pour(40, nullptr, unheard).empty());
  std::memcpy(SolidGrid, start.Solid.data(), sizeof SolidGrid);
  std::memcpy(FillGrid, start.Fill.data(), sizeof FillGrid);
  const int near = 0;
  const std::vector<GameEventRecord> events = Pour(40, &near, heard);
  EXPECT_TRUE(heard == unheard) << "hearing the water changed how it moved";

  ASSERT_FALSE(events.empty());
  EXPECT_LE(events.size(), 40u);  // one a step at most
  int most = 0;
  for (const GameEventRecord& event : events) {
    EXPECT_EQ(event.Kind, GameEvent::kWaterFlowed);
    EXPECT_GT(event.Value, 0);
    EXPECT_LE(event.Value, 6 * 50);
    // The middle of the water: within the walls, under the block's top.
    EXPECT_GE(event.X, 1 * TILE_UNITS);
    EXPECT_LT(event.X, 74 * TILE_UNITS);
    EXPECT_GE(event.Y, 10 * TILE_UNITS);
    most = std::max(most, event.Value);
  }
  EXPECT_GT(most, 6);  // a whole block of water falling is many cells

  // The same water heard from a view too far away to hear it: nothing, and the same water.
  std::memcpy(SolidGrid, start.Solid.data(), sizeof SolidGrid);
  std::memcpy(FillGrid, start.Fill.data(), sizeof FillGrid);
  const int far_column = 50;
  EXPECT_TRUE(Pour(40, &far_column, far_off).empty());
  EXPECT_TRUE(far_off == unheard);
}

TEST_F(WaterFlowTest, WaterAtRestIsNotHeard) {
  for (int c = 9; c <= 11; ++c)
    Block(c, 31);
  Block(9, 30);
  Block(11, 30);
  Water(10, 30, 16);
  TFluid::FEvaluateMap();
  Scrollers[0] = std::make_shared<TScroller>();
  for (int i = 0; i < 20; ++i)
    TFluid::FSim();
  EXPECT_TRUE(TGameEvents::FPending().empty());
}

TEST_F(WaterFlowTest, ABoulderIsHeardFallingAndLandingButNotMovingAside) {
  Block(10, 23);
  SolidGrid[10][20] = kSolidFluid;
  ASSERT_EQ(TFluid::FBoulderFall(10, 20), 1);
  ASSERT_EQ(TFluid::FBoulderFall(10, 21), 1);
  auto events = TGameEvents::FPending();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].Kind, GameEvent::kBoulderFell);
  EXPECT_EQ(events[0].X, 10 * TILE_UNITS + TILE_UNITS / 2);
  EXPECT_EQ(events[0].Y, 21 * TILE_UNITS + TILE_UNITS / 2);
  EXPECT_EQ(events[1].Kind, GameEvent::kBoulderLanded);
  EXPECT_EQ(events[1].Y, 22 * TILE_UNITS + TILE_UNITS / 2);
  TGameEvents::FClear();
  // On the floor with a wall on one side: only the move along the floor is left, and it is
  // not a drop.
  Block(9, 23), Block(11, 23), Block(9, 22);
  ASSERT_EQ(TFluid::FBoulderFall(10, 22), 1);
  EXPECT_EQ(SolidGrid[11][22], kSolidFluid);
  EXPECT_TRUE(TGameEvents::FPending().empty());
}

}  // namespace
