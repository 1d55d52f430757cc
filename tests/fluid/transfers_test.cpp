// The two water moves: how much a pour and a levelling move, which cells take nothing, and
// the column range the target widens.
#include "fluid_fixture.h"

namespace {
struct Pair {
  int from, to, from_after, to_after;
};

class TransferTest : public FluidTest {
 protected:
  // Source at (10, 20), target beside it at (11, 20).
  void Load(const Pair& p) {
    Water(10, 20, p.from);
    Water(11, 20, p.to);
  }
  void ExpectAfter(const Pair& p) {
    EXPECT_EQ(FillGrid[10][20], p.from_after) << p.from << "," << p.to;
    EXPECT_EQ(FillGrid[11][20], p.to_after) << p.from << "," << p.to;
    EXPECT_EQ(SolidGrid[10][20], p.from_after ? kSolidFluid : kSolidNothing);
    EXPECT_EQ(SolidGrid[11][20], p.to_after ? kSolidFluid : kSolidNothing);
  }
};
}  // namespace

TEST_F(TransferTest, PourMovesHalfTheRoomPlusOne) {
  for (const Pair& p : {Pair{16, 0, 7, 9}, Pair{2, 0, 0, 2}, Pair{3, 0, 1, 2}, Pair{1, 0, 0, 1},
                        Pair{16, 15, 15, 16}, Pair{10, 13, 8, 15}}) {
    Load(p);
    EXPECT_EQ(TFluid::FTransferFluid(10, 20, 11, 20), 1);
    ExpectAfter(p);
  }
}

TEST_F(TransferTest, LevellingGivesTheTargetTheLargerHalf) {
  for (const Pair& p : {Pair{1, 0, 0, 1}, Pair{3, 0, 1, 2}, Pair{5, 4, 4, 5}, Pair{2, 10, 6, 6},
                        Pair{5, 5, 5, 5}, Pair{4, 5, 4, 5}}) {
    Load(p);
    EXPECT_EQ(TFluid::FTransferFluidEven(10, 20, 11, 20), 1);
    ExpectAfter(p);
  }
}

TEST_F(TransferTest, FullCellsBlocksAndCellsOffTheGridTakeNothing) {
  Water(10, 20, 8);
  Water(11, 20, 16);
  Block(9, 20);
  for (auto transfer : {&TFluid::FTransferFluid, &TFluid::FTransferFluidEven}) {
    EXPECT_EQ(transfer(10, 20, 11, 20), 0);
    EXPECT_EQ(transfer(10, 20, 9, 20), 0);
    EXPECT_EQ(FillGrid[10][20], 8);
    EXPECT_EQ(FillGrid[11][20], 16);
    EXPECT_EQ(SolidGrid[9][20], kSolidBlock);
  }
  // A map without a border ring lets the edge columns aim past the grid.
  Water(0, 52, 8);
  Water(74, 52, 8);
  Water(5, 53, 8);
  EXPECT_EQ(TFluid::FTransferFluid(0, 52, -1, 53), 0);
  EXPECT_EQ(TFluid::FTransferFluidEven(74, 52, 75, 52), 0);
  EXPECT_EQ(TFluid::FTransferFluid(5, 53, 5, 54), 0);
  EXPECT_EQ(TotalWater(), 8 + 16 + 3 * 8);
}

TEST_F(TransferTest, TargetWidensItsColumnButNeverRecordsRow53) {
  // Column 11 evaluated empty: top 52, bottom 1.
  Water(10, 20, 8);
  EXPECT_EQ(TFluid::FTransferFluid(10, 20, 11, 21), 1);
  EXPECT_EQ(FluidTopRow[11], 21);
  EXPECT_EQ(FluidBottomRow[11], 21);
  EXPECT_EQ(FluidColumnActive[11], 0);  // activity is the pass's business
  Water(10, 52, 8);
  EXPECT_EQ(TFluid::FTransferFluid(10, 52, 10, 53), 1);
  EXPECT_EQ(SolidGrid[10][53], kSolidFluid);
  EXPECT_EQ(FluidBottomRow[10], 1);
  EXPECT_EQ(TFluid::FTransferFluidEven(10, 20, 11, 19), 1);
  EXPECT_EQ(FluidTopRow[11], 19);
}

TEST_F(TransferTest, MarkedCellWithoutUnitsPoursNothing) {
  // A boulder carries the water's marker but may hold no units; pouring from it must not
  // wrap the byte around.
  SolidGrid[10][20] = kSolidFluid;
  FillGrid[10][20] = 0;
  EXPECT_EQ(TFluid::FTransferFluid(10, 20, 10, 21), 0);
  EXPECT_EQ(FillGrid[10][20], 0);
  EXPECT_EQ(SolidGrid[10][21], kSolidNothing);
}
