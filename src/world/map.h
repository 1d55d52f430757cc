// The map: its per-cell and per-chunk grids and the class-level functions that query them.
// Every per-cell grid is indexed [column 0..74][row 0..53]; chunk grids [0..19][0..14].
#pragma once

#include <cstdint>
#include <memory>

#include "shared/game_codes.h"
#include "shared/units.h"

class TBlock;

extern std::shared_ptr<TBlock> BlockGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
extern uint8_t SolidGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];  // 0 nothing, 1 block, 5 fluid
extern uint8_t FillGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];   // 0..16, 16 for a block
extern uint8_t BGGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];     // kNoStyle: no background
extern uint8_t ShadowGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
extern uint8_t ChunkStyleGrid[CHUNK_COLUMNS][CHUNK_ROWS];  // kChunkStyleSky or kChunkStyleDark
extern uint8_t ChunkVisibleGrid[CHUNK_COLUMNS][CHUNK_ROWS];
extern uint8_t ScrollLocks[3][3]
                          [4];  // [screen column][screen row][side 0 top 1 right 2 bottom 3 left]

constexpr uint8_t kSolidNothing = 0;
constexpr uint8_t kSolidBlock = 1;
constexpr uint8_t kSolidFluid = 5;

// Cells outside the map answer as empty cells, except to FUnitsFree (and so every probe), for
// which they are blocked: an actor on a map without a border ring cannot leave it.
class TMap {
 public:
  static int FBoot();
  static int FClear();
  static int FDummyMap();
  static int FSaveState();
  static int FLoadState();
  static int FEvaluateLightMap();
  static int FShadowCheck(int x, int y);
  static int FEvaluateChunks();
  static int FChunkObscured(int cx, int cy);
  static int FBoundsMargin(int x, int y);
  static int FBoundsMargin2(int x, int y);
  static int FBounds(int x, int y);
  static int FBlockAtCell(int x, int y);
  static int FCellFree(int x, int y);
  static int FUnitsFree(int64_t ux, int64_t uy);
  static int FBlockStyleAtCell(int x, int y);
  static int FHitCell(int x, int y, uint8_t direction);
  static int FBlockStyleAtUnits(int64_t ux, int64_t uy);
  static int FBGStyleAtCell(int x, int y);
  static int FCreateBlock(int x, int y, int style);
  static int FBGSet(int x, int y, int style);
  static int FSpotsUpFreeDucked(int64_t x, int64_t y);
  static int FSpotsUpFree(int64_t x, int64_t y);
  static int FSpotsDownFree(int64_t x, int64_t y);
  static int FSpotsLeftFree(int64_t x, int64_t y);
  static int FSpotsRightFree(int64_t x, int64_t y);
  static int FSpotsLeftDuckedFree(int64_t x, int64_t y);
  static int FSpotsRightDuckedFree(int64_t x, int64_t y);
  static int FSpotsFree(int64_t x, int64_t y);
  static int FCountEdge(int sx, int sy, int side);
};
