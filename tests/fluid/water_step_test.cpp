// The water step: the range of a column, pours and levelling over a few passes, inactive
// columns, the draws a step makes, and the water conserved over thousands of steps.
#include "fluid_fixture.h"

TEST_F(FluidTest, EvaluateColumnFindsTheExactRangeInRows1To52) {
  Water(10, 0, 5);
  Water(10, 53, 5);
  TFluid::FEvaluateColumn(10);
  EXPECT_EQ(FluidColumnActive[10], 0);
  EXPECT_EQ(FluidTopRow[10], 52);
  EXPECT_EQ(FluidBottomRow[10], 1);
  Water(10, 7, 3);
  Water(10, 40, 16);
  TFluid::FEvaluateColumn(10);
  EXPECT_EQ(FluidColumnActive[10], 1);
  EXPECT_EQ(FluidTopRow[10], 7);
  EXPECT_EQ(FluidBottomRow[10], 40);
  TFluid::FEvaluateColumn(-1);  // refused, nothing read
  TFluid::FEvaluateColumn(75);
}

TEST_F(FluidTest, LoneFullCellPoursNineDownAndTheNineMoveOnNextPass) {
  Water(10, 20, 16);
  TFluid::FEvaluateColumn(10);
  SeedSoThat([] { return Unit() >= 0.3f; });
  TFluid::FCheckColumn(10);
  EXPECT_EQ(FillGrid[10][20], 7);
  EXPECT_EQ(FillGrid[10][21], 9);
  EXPECT_EQ(FillGrid[10][22], 0);  // row 21 lay outside the bounds read at the start
  EXPECT_EQ(FluidBottomRow[10], 21);
  EXPECT_EQ(FluidColumnActive[9], 1);
  EXPECT_EQ(FluidColumnActive[11], 1);
  SeedSoThat([] { return Unit() >= 0.3f; });
  TFluid::FCheckColumn(10);
  EXPECT_GT(FillGrid[10][22], 0);
  EXPECT_EQ(TotalWater(), 16);
}

TEST_F(FluidTest, SingleUnitOnAFloorMovesWholeToASide) {
  for (int c = 8; c <= 12; ++c)
    Block(c, 31);
  Water(10, 30, 1);
  EXPECT_EQ(TFluid::FWaterfall(10, 30), 1);
  EXPECT_EQ(SolidGrid[10][30], kSolidNothing);
  EXPECT_EQ(FillGrid[9][30] + FillGrid[11][30], 1);
  EXPECT_EQ(SolidGrid[9][30] + SolidGrid[11][30], kSolidFluid);
}

TEST_F(FluidTest, WaterfallDrawsNothingWhenTheStraightFallSucceeds) {
  Water(10, 30, 4);
  const int32_t before = RandomSeedState;
  EXPECT_EQ(TFluid::FWaterfall(10, 30), 1);
  EXPECT_EQ(RandomSeedState, before);
}

TEST_F(FluidTest, WaterAtRestMovesNothingAndTheColumnFallsInactive) {
  // A full cell boxed in by blocks below, on both sides and on both lower diagonals.
  for (int c = 9; c <= 11; ++c)
    Block(c, 31);
  Block(9, 30);
  Block(11, 30);
  Water(10, 30, 16);
  TFluid::FEvaluateColumn(10);
  SeedSoThat([] { return Unit() >= 0.3f; });
  TFluid::FCheckColumn(10);
  EXPECT_EQ(FluidColumnActive[10], 0);
  EXPECT_EQ(FillGrid[10][30], 16);
}

TEST_F(FluidTest, EmptyRangeIsVisitedWithoutTouchingCells) {
  Water(10, 30, 9);  // outside the recorded (empty) range: 52 > 1
  FluidColumnActive[10] = 1;
  SeedSoThat([] { return Unit() >= 0.3f; });
  TFluid::FCheckColumn(10);
  EXPECT_EQ(FillGrid[10][30], 9);
  EXPECT_EQ(FluidColumnActive[10], 0);
}

TEST_F(FluidTest, ScatterPassActivatesNeighboursEvenIfNothingMoved) {
  FluidColumnActive[10] = 1;
  SeedSoThat([] { return Unit() < 0.3f && Unit() >= 0.1f; });
  TFluid::FCheckColumn(10);
  EXPECT_EQ(FluidColumnActive[9], 1);
  EXPECT_EQ(FluidColumnActive[10], 1);
  EXPECT_EQ(FluidColumnActive[11], 1);
  EXPECT_EQ(FluidColumnActive[12], 0);
}

TEST_F(FluidTest, StepDrawsOnceAndNeverVisitsTheEdgeColumns) {
  Water(0, 20, 8);
  Water(74, 20, 8);
  FluidColumnActive[0] = FluidColumnActive[74] = 1;
  FluidTopRow[0] = FluidTopRow[74] = 1;
  FluidBottomRow[0] = FluidBottomRow[74] = 52;
  SeedRandom(5);
  TFluid::FSim();
  const int32_t after_step = RandomSeedState;
  SeedRandom(5);
  RandomRange(1, 0);
  EXPECT_EQ(RandomSeedState, after_step);
  EXPECT_EQ(FillGrid[0][20], 8);
  EXPECT_EQ(FillGrid[74][20], 8);
}

TEST_F(FluidTest, RisingSweepCarriesWaterOnToTheRightWithinOneStep) {
  // A shelf with a ledge: water pushed into column 11 by column 10's pass is processed by the
  // same rising sweep, since the sweep only reaches column 11 afterwards.
  BorderRing();
  Water(10, 20, 16);
  Block(10, 21);
  Block(9, 21);
  Block(9, 20);
  TFluid::FEvaluateMap();
  // Draws: rising sweep, settle, right first, the 10 % tightening, column 11 settles too.
  SeedSoThat([] {
    return Unit() < 0.5 && Unit() >= 0.3f && Unit() >= 0.5 && (Unit(), true) && Unit() >= 0.3f;
  });
  TFluid::FSim();
  EXPECT_GT(FillGrid[11][22], 0);
  EXPECT_EQ(TotalWater(), 16);
}

namespace {
void ExpectRangesHoldAllWater(int step) {
  for (int c = 0; c < MAP_WIDTH_TILES; ++c) {
    for (int r = 1; r <= 52; ++r) {
      if (SolidGrid[c][r] != kSolidFluid) continue;
      ASSERT_GE(r, FluidTopRow[c]) << "step " << step << " column " << c;
      ASSERT_LE(r, FluidBottomRow[c]) << "step " << step << " column " << c;
    }
    ASSERT_LE(FluidBottomRow[c], 52);
  }
}

void ExpectMarkersMatchUnits() {
  for (int c = 0; c < MAP_WIDTH_TILES; ++c)
    for (int r = 0; r < MAP_HEIGHT_TILES; ++r) {
      if (SolidGrid[c][r] == kSolidFluid) {
        ASSERT_GE(FillGrid[c][r], 1);
        ASSERT_LE(FillGrid[c][r], 16);
      } else if (SolidGrid[c][r] == kSolidNothing) {
        ASSERT_EQ(FillGrid[c][r], 0);
      }
    }
}
}  // namespace

TEST_F(FluidTest, ClosedBasinConservesWaterOverTenThousandSteps) {
  BorderRing();
  for (int c = 20; c <= 40; ++c)
    Block(c, 35);  // a shelf to spill over
  for (int r = 40; r <= 52; ++r)
    Block(50, r);  // a wall that splits the floor
  for (int c = 5; c <= 60; c += 2)
    Water(c, 5, 1 + c % 16);
  for (int c = 22; c <= 38; ++c)
    Water(c, 34, 16);
  TFluid::FEvaluateMap();
  const int total = TotalWater();
  for (int step = 0; step < 10000; ++step) {
    TFluid::FSim();
    ASSERT_EQ(TotalWater(), total) << "step " << step;
    ExpectRangesHoldAllWater(step);
  }
  ExpectMarkersMatchUnits();
  for (int c = 0; c < MAP_WIDTH_TILES; ++c) {
    EXPECT_NE(SolidGrid[c][0], kSolidFluid);
    EXPECT_NE(SolidGrid[c][53], kSolidFluid);
  }
  // Water only falls or levels: none is left high up.
  for (int c = 1; c <= 73; ++c)
    for (int r = 1; r < 30; ++r)
      EXPECT_NE(SolidGrid[c][r], kSolidFluid) << c << "," << r;
}

TEST_F(FluidTest, OpenMapKeepsWaterInsideTheGridAndConservesIt) {
  // No border ring at all: water runs into the edge cells and stays there.
  for (int c = 1; c <= 73; c += 3)
    Water(c, 50, 16);
  Water(1, 52, 16);
  Water(73, 52, 16);
  TFluid::FEvaluateMap();
  const int total = TotalWater();
  for (int step = 0; step < 3000; ++step) {
    TFluid::FSim();
    ASSERT_EQ(TotalWater(), total) << "step " << step;
    ExpectRangesHoldAllWater(step);
  }
  ExpectMarkersMatchUnits();
  int in_ring = 0;
  for (int c = 0; c < MAP_WIDTH_TILES; ++c)
    in_ring += FillGrid[c][53];
  EXPECT_GT(in_ring, 0);
}
