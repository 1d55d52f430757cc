// Boulders: the straight fall, the diagonal before the side, the scatter, the grid's edges and
// the neighbour mask.
#include "fluid_fixture.h"

TEST_F(FluidTest, BoulderFallsStraightWithoutDrawing) {
  SolidGrid[10][20] = kSolidFluid;
  FillGrid[10][20] = 3;  // untouched by boulder moves
  FluidColumnActive[10] = 0;
  const int32_t before = RandomSeedState;
  EXPECT_EQ(TFluid::FBoulderFall(10, 20), 1);
  EXPECT_EQ(RandomSeedState, before);
  EXPECT_EQ(SolidGrid[10][20], kSolidNothing);
  EXPECT_EQ(SolidGrid[10][21], kSolidFluid);
  EXPECT_EQ(FillGrid[10][20], 3);
  EXPECT_EQ(FillGrid[10][21], 0);
  EXPECT_EQ(FluidTopRow[10], 21);
  EXPECT_EQ(FluidBottomRow[10], 21);
  EXPECT_EQ(FluidColumnActive[10], 0);
}

TEST_F(FluidTest, BoulderBoxedInByBlocksWaterAndBouldersStays) {
  SolidGrid[10][20] = kSolidFluid;
  Block(10, 21);
  Water(9, 21, 4);
  SolidGrid[11][21] = kSolidFluid;  // another boulder
  Block(9, 20);
  Water(11, 20, 16);
  EXPECT_EQ(TFluid::FBoulderFall(10, 20), 0);
  EXPECT_EQ(TFluid::FBoulderFallScatter(10, 20), 0);
  EXPECT_EQ(SolidGrid[10][20], kSolidFluid);
  EXPECT_EQ(FillGrid[9][21], 4);
}

TEST_F(FluidTest, BoulderFallTakesTheDiagonalBeforeTheSide) {
  SolidGrid[10][20] = kSolidFluid;
  Block(10, 21);
  SeedSoThat([] { return Unit() >= 0.5; });  // right first
  EXPECT_EQ(TFluid::FBoulderFall(10, 20), 1);
  EXPECT_EQ(SolidGrid[11][21], kSolidFluid);
}

TEST_F(FluidTest, ScatterMayMoveSidewaysWithAFreeCellBelow) {
  SolidGrid[10][20] = kSolidFluid;
  SeedSoThat([] { return Below(5) == 0; });
  EXPECT_EQ(TFluid::FBoulderFallScatter(10, 20), 1);
  EXPECT_EQ(SolidGrid[9][20], kSolidFluid);
  EXPECT_EQ(SolidGrid[10][20], kSolidNothing);
}

TEST_F(FluidTest, BoulderIntoRow53IsMarkedButNotRecorded) {
  SolidGrid[10][52] = kSolidFluid;
  EXPECT_EQ(TFluid::FBoulderFall(10, 52), 1);
  EXPECT_EQ(SolidGrid[10][53], kSolidFluid);
  EXPECT_EQ(FluidBottomRow[10], 1);
}

TEST_F(FluidTest, BoulderAtTheGridEdgeNeverLeavesIt) {
  SolidGrid[74][53] = kSolidFluid;
  Block(73, 53);
  SolidGrid[73][52] = kSolidFluid;
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(TFluid::FBoulderFall(74, 53), 0);
    EXPECT_EQ(TFluid::FBoulderFallScatter(74, 53), 0);
  }
  EXPECT_EQ(TFluid::FMoveBoulderSide(75, 10), 0);
}

TEST_F(FluidTest, CountNeighborsSetsOneBitPerSide) {
  Block(10, 21);
  EXPECT_EQ(TFluid::FCountNeighbors(10, 20), 4);
  Block(10, 19);
  Water(11, 20, 3);
  SolidGrid[9][20] = kSolidFluid;
  EXPECT_EQ(TFluid::FCountNeighbors(10, 20), 15);
  Block(1, 0);
  EXPECT_EQ(TFluid::FCountNeighbors(0, 0), 2);  // nothing read off the grid
}
