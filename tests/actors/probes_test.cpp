// What the movers rely on from the map's probes: the points each one tests, floor division at
// cell edges, only blocks counting, and cells outside the map counting as blocked.
#include "actor_fixture.h"

namespace {

using Probes = ActorTest;

TEST_F(Probes, FeetProbeFloorsOntoTheCellBelowAndRight) {
  TMap::FCreateBlock(10, 10, kStyleSolid);
  EXPECT_EQ(TMap::FSpotsDownFree(10682369, 10485760), 0);
  EXPECT_EQ(TMap::FSpotsDownFree(10289151, 10485760), 1);
  EXPECT_EQ(TMap::FSpotsDownFree(11010048, 10485759), 1);
  EXPECT_EQ(TMap::FSpotsDownFree(11010048, 10485760), 0);
}

TEST_F(Probes, StandingAndDuckedHeadHeights) {
  TMap::FCreateBlock(10, 10, kStyleSolid);
  EXPECT_EQ(TMap::FSpotsUpFree(11010048, 12451840), 0);
  EXPECT_EQ(TMap::FSpotsUpFreeDucked(11010048, 12451840), 1);
}

TEST_F(Probes, SideProbesReachFromTheFeetToTheHead) {
  TMap::FCreateBlock(10, 10, kStyleSolid);
  const int64_t x = 10 * kCell + 11 * kPixel;  // left edge in the middle of column 10
  EXPECT_EQ(TMap::FSpotsLeftFree(x, 11 * kCell + 4 * kPixel), 0);  // feet below the block
  EXPECT_EQ(TMap::FSpotsLeftFree(x, 12 * kCell), 1);
  EXPECT_EQ(TMap::FSpotsLeftFree(x, 10 * kCell - 1), 1);
  EXPECT_EQ(TMap::FSpotsLeftFree(x, 10 * kCell), 0);
  // Ducked, the head is 13 pixels up: it fits below the block where standing does not.
  EXPECT_EQ(TMap::FSpotsLeftDuckedFree(x, 11 * kCell + 13 * kPixel), 1);
  EXPECT_EQ(TMap::FSpotsLeftDuckedFree(x, 11 * kCell + 13 * kPixel - 1), 0);
  EXPECT_EQ(TMap::FSpotsLeftFree(x, 11 * kCell + 13 * kPixel), 0);
  EXPECT_EQ(TMap::FSpotsFree(x, 11 * kCell + 4 * kPixel), 0);
  EXPECT_EQ(TMap::FSpotsFree(x, 12 * kCell), 1);

  const int64_t rx = 10 * kCell - 3 * kPixel;  // right edge exactly on the block's left edge
  EXPECT_EQ(TMap::FSpotsRightFree(rx, 11 * kCell + 4 * kPixel), 0);
  EXPECT_EQ(TMap::FSpotsRightFree(rx - 1, 11 * kCell + 4 * kPixel), 1);
  EXPECT_EQ(TMap::FSpotsRightDuckedFree(rx, 11 * kCell + 13 * kPixel - 1), 0);
  EXPECT_EQ(TMap::FSpotsRightDuckedFree(rx, 11 * kCell + 13 * kPixel), 1);
}

TEST_F(Probes, FluidNeverBlocks) {
  SolidGrid[20][20] = kSolidFluid;
  FillGrid[20][20] = 16;
  EXPECT_EQ(TMap::FSpotsFree(20 * kCell + kCell / 2, 20 * kCell + kCell / 2), 1);
}

TEST_F(Probes, OutsideTheMapIsBlocked) {
  EXPECT_EQ(TMap::FUnitsFree(-1, 20 * kCell), 0);
  EXPECT_EQ(TMap::FUnitsFree(20 * kCell, -1), 0);
  EXPECT_EQ(TMap::FUnitsFree(MAP_WIDTH_UNITS, 20 * kCell), 0);
  EXPECT_EQ(TMap::FUnitsFree(20 * kCell, MAP_HEIGHT_UNITS), 0);
  EXPECT_EQ(TMap::FUnitsFree(MAP_WIDTH_UNITS - 1, MAP_HEIGHT_UNITS - 1), 1);
  EXPECT_EQ(TMap::FSpotsUpFree(20 * kCell, kCell - 1), 0);
  EXPECT_EQ(TMap::FSpotsUpFree(20 * kCell, kCell), 1);
  EXPECT_EQ(TMap::FSpotsLeftFree(3 * kPixel - 1, 20 * kCell), 0);
  EXPECT_EQ(TMap::FSpotsLeftFree(3 * kPixel, 20 * kCell), 1);
}

}  // namespace
