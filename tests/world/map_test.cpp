// The map grids: clearing, the dummy map, creating blocks, the cell queries (inside and
// outside the map), the light map, chunk visibility and edge counts.
#include <set>

#include "world_fixture.h"

namespace {

using MapGrids = WorldTest;

TEST_F(MapGrids, CreateBlockRefusesCellsOutsideTheMap) {
  const MapSnapshot before = Snapshot();
  EXPECT_EQ(TMap::FCreateBlock(75, 0, 23), 0);
  EXPECT_EQ(TMap::FCreateBlock(0, 54, 23), 0);
  EXPECT_EQ(TMap::FCreateBlock(-1, 5, 23), 0);
  EXPECT_EQ(TMap::FBGSet(75, 0, 3), 0);
  EXPECT_EQ(TMap::FBGSet(0, -1, 3), 0);
  EXPECT_TRUE(Snapshot() == before);
  EXPECT_EQ(TMap::FCreateBlock(74, 53, 23), 1);
  EXPECT_EQ(TMap::FBlockStyleAtCell(74, 53), 23);
}

TEST_F(MapGrids, StylesChooseTheKindAndOddStylesBecome15) {
  TMap::FCreateBlock(1, 1, 18);
  TMap::FCreateBlock(2, 1, 53);
  TMap::FCreateBlock(3, 1, 300);
  TMap::FCreateBlock(4, 1, 18 + 256);  // out of byte: solid, not a brick
  TMap::FCreateBlock(5, 1, -7);
  EXPECT_NE(dynamic_cast<TBlockBrick*>(BlockGrid[1][1].get()), nullptr);
  EXPECT_NE(dynamic_cast<TBlockContainer*>(BlockGrid[2][1].get()), nullptr);
  for (int x = 3; x <= 5; ++x) {
    EXPECT_NE(dynamic_cast<TBlockSolid*>(BlockGrid[x][1].get()), nullptr);
    EXPECT_EQ(BlockGrid[x][1]->Style, 15);
  }
  EXPECT_EQ(BlockGrid[2][1]->XPos, 2);
  EXPECT_EQ(BlockGrid[2][1]->Ypos, 1);
  EXPECT_EQ(TBlock::Count, 5);
}

TEST_F(MapGrids, EmptyStylesClearTheCellWithoutCounting) {
  for (int style : {-1, 255}) {
    TMap::FCreateBlock(7, 7, 23);
    const int32_t count = TBlock::Count;
    EXPECT_EQ(TMap::FCreateBlock(7, 7, style), 1);
    EXPECT_EQ(BlockGrid[7][7], nullptr);
    EXPECT_EQ(SolidGrid[7][7], 0);
    EXPECT_EQ(FillGrid[7][7], 0);
    EXPECT_EQ(TBlock::Count, count);
  }
}

TEST_F(MapGrids, ABlockReplacesFluidAndLeavesNoneBehind) {
  RawWater(9, 9, 11);
  TMap::FCreateBlock(9, 9, 4);
  EXPECT_EQ(SolidGrid[9][9], kSolidBlock);
  EXPECT_EQ(FillGrid[9][9], 16);
  TMap::FCreateBlock(9, 9, -1);
  EXPECT_EQ(SolidGrid[9][9], kSolidNothing);
  EXPECT_EQ(FillGrid[9][9], 0);
}

// Water written behind the fluid's back shows which columns a creation re-evaluated.
TEST_F(MapGrids, CreateBlockReEvaluatesItsColumnAndItsNeighboursOnly) {
  auto evaluated_after = [](int column) {
    TMap::FClear();
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      RawWater(x, 20, 8);
    TMap::FCreateBlock(column, 5, 23);
    std::set<int> active;
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      if (FluidColumnActive[x]) active.insert(x);
    return active;
  };
  EXPECT_EQ(evaluated_after(0), (std::set<int>{0, 1}));
  EXPECT_EQ(evaluated_after(74), (std::set<int>{73, 74}));
  EXPECT_EQ(evaluated_after(30), (std::set<int>{29, 30, 31}));
  EXPECT_EQ(FluidTopRow[30], 20);
  EXPECT_EQ(FluidBottomRow[30], 20);
}

TEST_F(MapGrids, ClearResetsTheMapButKeepsVisibilityLocksAndAnimations) {
  TMap::FCreateBlock(3, 3, 18);
  BlockGrid[3][3]->MBump(1);
  TMap::FBGSet(4, 4, 9);
  ShadowGrid[5][5] = 1;
  ChunkStyleGrid[2][2] = 1;
  ChunkVisibleGrid[2][2] = 0;
  ScrollLocks[1][1][2] = 1;
  RawWater(6, 6, 5);
  TFluid::FEvaluateMap();
  TActor::FCreate(10 * kCell, 10 * kCell, kUserBadguy);

  TMap::FClear();
  EXPECT_EQ(BlockGrid[3][3], nullptr);
  EXPECT_EQ(BGGrid[4][4], 255);
  EXPECT_EQ(ShadowGrid[5][5], 0);
  EXPECT_EQ(SolidGrid[6][6], 0);
  EXPECT_EQ(FillGrid[6][6], 0);
  EXPECT_EQ(FluidColumnActive[6], 0);
  EXPECT_EQ(ChunkStyleGrid[2][2], 7);
  EXPECT_EQ(TBlock::Count, 0);
  EXPECT_EQ(ActorCount, 0);
  EXPECT_TRUE(ActorLists[kBadguyList].empty());
  for (auto& column : ActorBuckets)
    for (auto& bucket : column)
      EXPECT_TRUE(bucket.empty());
  EXPECT_EQ(ChunkVisibleGrid[2][2], 0);
  EXPECT_EQ(ScrollLocks[1][1][2], 1);
  EXPECT_EQ(ActiveBlocks.size(), 1u);
}

TEST_F(MapGrids, DummyMapHas483SolidBlocksInItsBands) {
  TMap::FDummyMap();
  ASSERT_EQ(Console().back(), "TBlock.Count 483");
  for (int x = 0; x < MAP_WIDTH_TILES; ++x)
    EXPECT_EQ(TMap::FBlockStyleAtCell(x, 0), 23);
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y) {
    EXPECT_EQ(TMap::FBlockStyleAtCell(0, y), 23);
    EXPECT_EQ(TMap::FBlockStyleAtCell(74, y), 23);
  }
  auto band_base = [](int y) { return y == 34 ? 0 : y == 52 ? 32 : 44; };
  std::set<int> shelf_styles;
  for (int x = 1; x <= 73; ++x) {
    for (int y = 1; y < MAP_HEIGHT_TILES; ++y) {
      const int style = TMap::FBlockStyleAtCell(x, y);
      if (y == 34 || y == 35 || y == 52 || y == 53) {
        EXPECT_GE(style, band_base(y)) << x << "," << y;
        EXPECT_LE(style, band_base(y) + 5) << x << "," << y;
        EXPECT_NE(dynamic_cast<TBlockSolid*>(BlockGrid[x][y].get()), nullptr);
      } else {
        EXPECT_EQ(style, 255) << x << "," << y;
      }
    }
    if (x) shelf_styles.insert(TMap::FBlockStyleAtCell(x, 34));
  }
  EXPECT_GT(shelf_styles.size(), 1u);  // the variants really are drawn
  for (int x = 0; x < MAP_WIDTH_TILES; ++x)
    for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
      EXPECT_EQ(BGGrid[x][y], 255);
  for (int cy = 0; cy < CHUNK_ROWS; ++cy)
    for (int cx = 0; cx < CHUNK_COLUMNS; ++cx)
      EXPECT_EQ(ChunkStyleGrid[cx][cy], cy <= 8 ? 7 : 1);
}

TEST_F(MapGrids, OutsideTheMapIsEmptyExceptToFUnitsFree) {
  TMap::FCreateBlock(0, 0, 23);
  for (auto [x, y] : {std::pair{-1, 0}, {75, 0}, {0, -1}, {0, 54}, {-100000, 900000}}) {
    EXPECT_EQ(TMap::FBlockAtCell(x, y), 0);
    EXPECT_EQ(TMap::FCellFree(x, y), 1);
    EXPECT_EQ(TMap::FBlockStyleAtCell(x, y), 255);
    EXPECT_EQ(TMap::FBGStyleAtCell(x, y), 255);
    EXPECT_EQ(TMap::FHitCell(x, y, 1), 0);
    EXPECT_EQ(TMap::FShadowCheck(x, y), 0);
  }
  EXPECT_TRUE(ActiveBlocks.empty());
  EXPECT_EQ(TMap::FUnitsFree(0, 5 * kCell), 1);
  EXPECT_EQ(TMap::FUnitsFree(-1, 5 * kCell), 0);
  EXPECT_EQ(TMap::FUnitsFree(MAP_WIDTH_UNITS, 5 * kCell), 0);
  EXPECT_EQ(TMap::FUnitsFree(5 * kCell, -1), 0);
  EXPECT_EQ(TMap::FUnitsFree(5 * kCell, MAP_HEIGHT_UNITS), 0);
  EXPECT_EQ(TMap::FUnitsFree(int64_t{1} << 52, 5 * kCell), 0);  // would wrap to column 0
  EXPECT_EQ(TMap::FBlockStyleAtUnits(-1, 0), 0);
  EXPECT_EQ(TMap::FBlockStyleAtUnits(78643200, 0), 0);
  EXPECT_EQ(TMap::FBlockStyleAtUnits(0, 0), 23);
  EXPECT_EQ(TMap::FBlockStyleAtUnits(kCell, 0), 255);
  EXPECT_EQ(TMap::FCountEdge(7, -3, 0), 0);
  EXPECT_EQ(TMap::FChunkObscured(-1, 20), 0);
}

TEST_F(MapGrids, BoundsHelpersEdges) {
  EXPECT_EQ(TMap::FBounds(0, 0), 1);
  EXPECT_EQ(TMap::FBounds(74, 53), 1);
  EXPECT_EQ(TMap::FBounds(75, 53), 0);
  EXPECT_EQ(TMap::FBoundsMargin(1, 52), 1);
  EXPECT_EQ(TMap::FBoundsMargin(73, 53), 0);
  EXPECT_EQ(TMap::FBoundsMargin(0, 1), 0);
  EXPECT_EQ(TMap::FBoundsMargin2(3, 50), 1);
  EXPECT_EQ(TMap::FBoundsMargin2(71, 51), 0);
  EXPECT_EQ(TMap::FBoundsMargin2(2, 3), 0);
}

TEST_F(MapGrids, LightMapShadesBelowAndDiagonallyBelowPairs) {
  TMap::FCreateBlock(10, 9, 23);
  TMap::FEvaluateLightMap();
  EXPECT_EQ(ShadowGrid[10][10], 1);
  EXPECT_EQ(ShadowGrid[11][10], 0);
  TMap::FCreateBlock(10, 10, 23);
  TMap::FEvaluateLightMap();
  EXPECT_EQ(ShadowGrid[11][10], 1);
  EXPECT_EQ(ShadowGrid[11][11], 1);
  EXPECT_EQ(ShadowGrid[10][11], 1);
  EXPECT_EQ(ShadowGrid[11][12], 0);
  // Column 0 looks at column -1, which holds nothing.
  TMap::FCreateBlock(0, 20, 23);
  TMap::FCreateBlock(0, 21, 23);
  TMap::FEvaluateLightMap();
  EXPECT_EQ(ShadowGrid[0][20], 0);
  EXPECT_EQ(ShadowGrid[0][22], 1);
  EXPECT_EQ(ShadowGrid[1][22], 1);
}

TEST_F(MapGrids, LightMapLeavesItsOuterRowsAndLastColumnAlone) {
  TMap::FCreateBlock(73, 0, 23);
  TMap::FCreateBlock(74, 4, 23);
  ShadowGrid[74][5] = 1;
  ShadowGrid[30][53] = 1;
  TMap::FEvaluateLightMap();
  EXPECT_EQ(ShadowGrid[73][1], 0);  // row 1 is never evaluated
  EXPECT_EQ(ShadowGrid[74][5], 1);
  EXPECT_EQ(ShadowGrid[30][53], 1);
}

TEST_F(MapGrids, ChunksAreObscuredOnlyByAFullSetOfOpaqueTiles) {
  auto fill_chunk = [](int cx, int cy, int style) {
    for (int y = 4 * cy; y < 4 * cy + 4; ++y)
      for (int x = 4 * cx; x < 4 * cx + 4; ++x)
        TMap::FCreateBlock(x, y, style);
  };
  fill_chunk(2, 3, 17);
  EXPECT_EQ(TMap::FChunkObscured(2, 3), 1);
  TMap::FCreateBlock(9, 13, 18);
  EXPECT_EQ(TMap::FChunkObscured(2, 3), 0);
  TMap::FBGSet(9, 13, 15);
  EXPECT_EQ(TMap::FChunkObscured(2, 3), 1);
  TMap::FBGSet(9, 13, 16);
  EXPECT_EQ(TMap::FChunkObscured(2, 3), 0);
  TMap::FCreateBlock(9, 13, -1);
  TMap::FBGSet(9, 13, 0);  // an opaque background alone is enough
  EXPECT_EQ(TMap::FChunkObscured(2, 3), 1);
}

TEST_F(MapGrids, ChunksAtTheMapEdgeAreAlwaysVisible) {
  for (int x = 0; x < MAP_WIDTH_TILES; ++x)
    for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
      TMap::FCreateBlock(x, y, 0);
  TMap::FEvaluateChunks();
  for (int cy = 0; cy < CHUNK_ROWS; ++cy)
    for (int cx = 0; cx < CHUNK_COLUMNS; ++cx)
      EXPECT_EQ(ChunkVisibleGrid[cx][cy], cx >= 18 || cy >= 13 ? 1 : 0) << cx << "," << cy;
}

TEST_F(MapGrids, CountEdgeOnTheDummyMap) {
  TMap::FDummyMap();
  EXPECT_EQ(TMap::FCountEdge(0, 0, 4), 0);
  EXPECT_EQ(TMap::FCountEdge(0, 0, -1), 0);
  EXPECT_EQ(TMap::FCountEdge(0, 0, 3), 18);
  EXPECT_EQ(TMap::FCountEdge(1, 0, 0), 25);
  EXPECT_EQ(TMap::FCountEdge(2, 2, 1), 18);
  EXPECT_EQ(TMap::FCountEdge(1, 2, 2), 25);  // row 53
  EXPECT_EQ(TMap::FCountEdge(1, 1, 0), 0);   // row 18
  EXPECT_EQ(TMap::FCountEdge(1, 1, 2), 25);  // row 35, the shelf's lower row
}

}  // namespace
