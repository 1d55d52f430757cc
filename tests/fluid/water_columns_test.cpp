// Pouring water and the columns' bookkeeping: the amount poured, blocks replaced by water and
// water by blocks, and a pour outside the map refused.
#include <set>

#include "fluid_fixture.h"

TEST_F(FluidTest, PouredWaterHoldsOneToFifteenUnits) {
  std::set<int> amounts;
  for (int i = 0; i < 300; ++i) {
    TFluid::FCreateWater(10, 20);
    ASSERT_EQ(SolidGrid[10][20], kSolidFluid);
    amounts.insert(FillGrid[10][20]);
  }
  EXPECT_EQ(amounts.size(), 15u);
  EXPECT_EQ(*amounts.begin(), 1);
  EXPECT_EQ(*amounts.rbegin(), 15);
  EXPECT_EQ(FluidColumnActive[10], 1);
  EXPECT_EQ(FluidTopRow[10], 20);
  EXPECT_EQ(FluidBottomRow[10], 20);
}

TEST_F(FluidTest, PouringOverABlockReplacesIt) {
  TMap::FCreateBlock(10, 20, 3);
  ASSERT_EQ(SolidGrid[10][20], kSolidBlock);
  TFluid::FCreateWater(10, 20);
  EXPECT_EQ(SolidGrid[10][20], kSolidFluid);
  EXPECT_LE(FillGrid[10][20], 15);
  EXPECT_EQ(TMap::FBlockStyleAtCell(10, 20), 255);
}

TEST_F(FluidTest, BlockOverWaterDestroysItAndReevaluatesTheColumns) {
  TFluid::FCreateWater(10, 20);
  TMap::FCreateBlock(10, 20, 3);
  EXPECT_EQ(FillGrid[10][20], 16);
  EXPECT_EQ(FluidColumnActive[10], 0);
  EXPECT_EQ(FluidTopRow[10], 52);
  EXPECT_EQ(FluidBottomRow[10], 1);
}

TEST_F(FluidTest, PouringOutsideTheMapIsRefusedWithALine) {
  TFluid::FCreateWater(75, 10);
  TFluid::FCreateWater(3, -1);
  EXPECT_EQ(Console().size(), 2u);
  EXPECT_TRUE(ConsoleHas("Water refused outside the map at 75, 10"));
  EXPECT_EQ(TotalWater(), 0);
}
