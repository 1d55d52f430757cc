// The probes: which points each one tests, floor division on cell edges, only blocks blocking,
// and the map's edge blocking like a wall.
#include "world_fixture.h"

namespace {

using ProbeTest = WorldTest;

constexpr int64_t kBlockLeft = 10 * kCell;  // the block of these tests stands in cell (10, 10)
constexpr int64_t kBlockTop = 10 * kCell;

TEST_F(ProbeTest, FeetPointsFloorOntoTheCellBelowAndRight) {
  TMap::FCreateBlock(10, 10, 23);
  EXPECT_EQ(TMap::FSpotsDownFree(10682369, 10485760), 0);
  EXPECT_EQ(TMap::FSpotsDownFree(10289152, 10485760), 0);  // right point on the block's edge
  EXPECT_EQ(TMap::FSpotsDownFree(10289151, 10485760), 1);
  EXPECT_EQ(TMap::FSpotsDownFree(11010048, 10485759), 1);
  EXPECT_EQ(TMap::FSpotsDownFree(11010048, 10485760), 0);
}

TEST_F(ProbeTest, StandingAndDuckedHeadHeights) {
  TMap::FCreateBlock(10, 10, 23);
  EXPECT_EQ(TMap::FSpotsUpFree(11010048, 12451840), 0);
  EXPECT_EQ(TMap::FSpotsUpFreeDucked(11010048, 12451840), 1);
  EXPECT_EQ(TMap::FSpotsUpFreeDucked(11010048, 12451840 - 3 * kPixel), 0);
}

// Feet lines placed so that the block's row holds the head only, the middle and head, or the
// feet only; the side probes look from 3 pixels out.
TEST_F(ProbeTest, SideProbesTestFromTheFeetToTheirHead) {
  TMap::FCreateBlock(10, 10, 23);
  const int64_t left_x = kBlockLeft + kCell + 2 * kPixel;  // left points at +15 px: column 10
  const int64_t right_x = kBlockLeft - 2 * kPixel;         // right points at +1 px: column 10
  const int64_t head_only = kBlockTop + kCell + 15 * kPixel;
  const int64_t middle_and_head = kBlockTop + kCell + 7 * kPixel;
  const int64_t feet_only = kBlockTop + 3 * kPixel;
  EXPECT_EQ(TMap::FSpotsLeftFree(left_x, head_only), 0);
  EXPECT_EQ(TMap::FSpotsRightFree(right_x, head_only), 0);
  EXPECT_EQ(TMap::FSpotsLeftDuckedFree(left_x, head_only), 1);  // ducked head 13 px up: row 11
  EXPECT_EQ(TMap::FSpotsRightDuckedFree(right_x, head_only), 1);
  EXPECT_EQ(TMap::FSpotsLeftDuckedFree(left_x, middle_and_head), 0);
  EXPECT_EQ(TMap::FSpotsRightDuckedFree(right_x, middle_and_head), 0);
  EXPECT_EQ(TMap::FSpotsLeftFree(left_x, feet_only), 0);
  EXPECT_EQ(TMap::FSpotsRightDuckedFree(right_x, feet_only), 0);
  EXPECT_EQ(TMap::FSpotsFree(left_x, head_only), 0);
  EXPECT_EQ(TMap::FSpotsFree(right_x, feet_only), 0);
  // The other side of the body never sees the block.
  EXPECT_EQ(TMap::FSpotsRightFree(left_x, head_only), 1);
  EXPECT_EQ(TMap::FSpotsLeftFree(right_x, head_only), 1);
  EXPECT_EQ(TMap::FSpotsFree(left_x + 4 * kCell, head_only), 1);
}

// One unit either side of the block's edges decides: the points floor onto cells exactly.
TEST_F(ProbeTest, SideProbesMeetTheBlockOnItsEdges) {
  TMap::FCreateBlock(10, 10, 23);
  const int64_t left_x = kBlockLeft + 11 * kPixel;  // left points in the middle of column 10
  EXPECT_EQ(TMap::FSpotsLeftFree(left_x, kBlockTop + 2 * kCell), 1);
  EXPECT_EQ(TMap::FSpotsLeftFree(left_x, kBlockTop - 1), 1);  // feet one unit above the block
  EXPECT_EQ(TMap::FSpotsLeftFree(left_x, kBlockTop), 0);
  EXPECT_EQ(TMap::FSpotsLeftDuckedFree(left_x, kBlockTop + kCell + 13 * kPixel), 1);
  EXPECT_EQ(TMap::FSpotsLeftDuckedFree(left_x, kBlockTop + kCell + 13 * kPixel - 1), 0);
  EXPECT_EQ(TMap::FSpotsLeftFree(left_x, kBlockTop + kCell + 13 * kPixel), 0);

  const int64_t right_x = kBlockLeft - 3 * kPixel;  // right points exactly on the left edge
  EXPECT_EQ(TMap::FSpotsRightFree(right_x, kBlockTop + kCell + 4 * kPixel), 0);
  EXPECT_EQ(TMap::FSpotsRightFree(right_x - 1, kBlockTop + kCell + 4 * kPixel), 1);
  EXPECT_EQ(TMap::FSpotsRightDuckedFree(right_x, kBlockTop + kCell + 13 * kPixel - 1), 0);
  EXPECT_EQ(TMap::FSpotsRightDuckedFree(right_x, kBlockTop + kCell + 13 * kPixel), 1);
}

TEST_F(ProbeTest, FluidBackgroundsAndActorsNeverBlock) {
  RawWater(10, 10, 16);
  TMap::FBGSet(10, 10, 0);
  TActor::FCreate(11010048, 11010048, kUserBadguy);
  EXPECT_EQ(TMap::FSpotsFree(11010048, 11010048), 1);
  EXPECT_EQ(TMap::FSpotsDownFree(11010048, 10485760), 1);
}

// No border ring: the edge of the map itself stops every probe.
TEST_F(ProbeTest, TheMapEdgeBlocksLikeAWall) {
  EXPECT_EQ(TMap::FUnitsFree(-1, 20 * kCell), 0);
  EXPECT_EQ(TMap::FUnitsFree(20 * kCell, -1), 0);
  EXPECT_EQ(TMap::FUnitsFree(MAP_WIDTH_UNITS, 20 * kCell), 0);
  EXPECT_EQ(TMap::FUnitsFree(20 * kCell, MAP_HEIGHT_UNITS), 0);
  EXPECT_EQ(TMap::FUnitsFree(MAP_WIDTH_UNITS - 1, MAP_HEIGHT_UNITS - 1), 1);
  EXPECT_EQ(TMap::FSpotsUpFree(20 * kCell, kCell - 1), 0);
  EXPECT_EQ(TMap::FSpotsUpFree(20 * kCell, kCell), 1);
  EXPECT_EQ(TMap::FSpotsLeftFree(3 * kPixel - 1, 20 * kCell), 0);
  EXPECT_EQ(TMap::FSpotsLeftFree(3 * kPixel, 20 * kCell), 1);
  EXPECT_EQ(TMap::FSpotsRightFree(MAP_WIDTH_UNITS - 3 * kPixel, 20 * kCell), 0);
  EXPECT_EQ(TMap::FSpotsUpFree(30 * kCell, 16 * kPixel - 1), 0);
  EXPECT_EQ(TMap::FSpotsUpFreeDucked(30 * kCell, 13 * kPixel), 1);
  EXPECT_EQ(TMap::FSpotsDownFree(30 * kCell, MAP_HEIGHT_UNITS), 0);
  EXPECT_EQ(TMap::FSpotsDownFree(30 * kCell, MAP_HEIGHT_UNITS - 1), 1);
  EXPECT_EQ(TMap::FSpotsFree(-(int64_t{1} << 40), 20 * kCell), 0);
}

}  // namespace
