// The map: its per-cell and per-chunk grids and the class-level functions that query them.
// Every per-cell grid is indexed [column 0..74][row 0..53]; chunk grids [0..19][0..14].
#pragma once

#include <cstdint>
#include <memory>

#include "shared/game_codes.h"
#include "shared/units.h"

class TBlock;

// The map's grids, the map's own: defined in world/map_grids.cpp, where TMap::FResetTables gives
// them their start values. They are written by world/ and the water (a TMap of its own) and
// put back by the editor's undo (editor/map_snapshot.cpp); the rest of the game only reads them.
extern std::shared_ptr<TBlock> BlockGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
extern uint8_t SolidGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];  // 0 nothing, 1 block, 5 fluid
extern uint8_t FillGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];   // 0..16, 16 for a block
extern uint8_t BGGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];     // kNoStyle: no background
extern uint8_t ShadowGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
extern uint8_t ChunkStyleGrid[CHUNK_COLUMNS][CHUNK_ROWS];  // kChunkStyleSky or kChunkStyleDark
extern uint8_t ChunkVisibleGrid[CHUNK_COLUMNS][CHUNK_ROWS];
// [screen column][screen row][side]: 1 where a wall locks that side of the screen region.
extern uint8_t ScrollLocks[3][3][4];

// The sides of a screen region, as ScrollLocks and TMap::FCountEdge number them: Direction's
// order (game_codes.h) from 0, one less than its codes.
enum ScreenSide : int { kSideTop = 0, kSideRight = 1, kSideBottom = 2, kSideLeft = 3 };

constexpr uint8_t kSolidNothing = 0;
constexpr uint8_t kSolidBlock = 1;
constexpr uint8_t kSolidFluid = 5;

// The map's class-level functions, spread over six files by concern; each group below names its
// file. Cells are given as column x, row y; points in units as ux, uy (TILE_UNITS to a cell).
// Cells outside the map answer as empty cells, except to FUnitsFree (and so every probe), for
// which they are blocked: an actor on a map without a border ring cannot leave it.
class TMap {
 public:
  // world/map_grids.cpp: the grids' life, the bounds, the cell queries and the two writers.
  // The queries only read the grids.
  // Every grid above and the actor buckets at their start values: numbers 0, no block, no
  // actor; CreateTables (frame/tables.cpp) calls it first thing, before any boot.
  static int FResetTables();
  static int FBoot();   // empties the actor buckets; a new run backs the map files up anew
  static int FClear();  // an all-sky map without blocks, backgrounds, water or actors
  static int FBounds(int x, int y);        // 1 inside the map
  static int FBoundsMargin(int x, int y);  // 1 inside the border ring: columns 1..73, rows 1..52
  // Not called by the game: kept as part of TMap's interface.
  static int FBoundsMargin2(int x, int y);  // 1 in columns 3..71, rows 3..50
  static int FBlockAtCell(int x, int y);    // 1 where a block stands
  // Not called by the game: kept as part of TMap's interface.
  static int FCellFree(int x, int y);             // 1 where no block stands
  static int FUnitsFree(int64_t ux, int64_t uy);  // 1 where no block stands; outside is blocked
  static int FBlockStyleAtCell(int x, int y);     // the block's style; kNoStyle without one
  // Not called by the game: kept as part of TMap's interface.
  static int FBlockStyleAtUnits(int64_t ux, int64_t uy);  // the same at a point; 0 outside
  static int FBGStyleAtCell(int x, int y);                // kNoStyle without a background
  static int FHitCell(int x, int y, uint8_t direction);   // bumps the cell's block, if one stands
  // Puts a block of the kind its style selects in the cell (-1 or kNoStyle empties it). Whatever
  // the cell held goes, water included, and the water of its column and the two beside it is
  // evaluated again.
  static int FCreateBlock(int x, int y, int style);
  static int FBGSet(int x, int y, int style);  // kNoStyle for no background
  // The blocks along one side of screen region (sx, sy) of the 3x3 regions the scroll locks
  // use (a ScreenSide).
  static int FCountEdge(int sx, int sy, int side);

  // world/probes.cpp: the collision probes of the movers. (x, y) is an actor's centre line and
  // feet line; each probe tests a few points 3 pixels either side of the centre line with
  // FUnitsFree and answers 1 when none is blocked. They only read the map.
  static int FSpotsUpFree(int64_t x, int64_t y);    // the head's corners, 16 pixels up
  static int FSpotsDownFree(int64_t x, int64_t y);  // the feet's corners
  static int FSpotsLeftFree(int64_t x, int64_t y);  // feet, middle and head of the left side
  static int FSpotsRightFree(int64_t x, int64_t y);
  static int FSpotsLeftDuckedFree(int64_t x, int64_t y);  // feet and ducked head, 13 pixels up
  static int FSpotsRightDuckedFree(int64_t x, int64_t y);
  // Not called by the game (these two): kept as part of TMap's interface.
  static int FSpotsUpFreeDucked(int64_t x, int64_t y);  // the ducked head's corners
  static int FSpotsFree(int64_t x, int64_t y);          // all six points of both sides

  // world/light_map.cpp: the shade blocks cast, kept in ShadowGrid.
  static int FEvaluateLightMap();  // every cell of rows 2..52, columns 0..73 shaded anew
  static int FShadowCheck(int x, int y);

  // world/chunks.cpp: which chunks need a backdrop, kept in ChunkVisibleGrid.
  static int FEvaluateChunks();
  static int FChunkObscured(int cx, int cy);  // 1 when opaque tiles cover all 16 cells

  // world/map_files.cpp: the two map files in the working folder (the save and its backups are
  // declared in world/map_files.h).
  static int FLoadState();  // backgrounds, then blocks; a refused file leaves its grid alone
  // Not called by the game: kept as part of TMap's interface. S saves through SaveMapFiles,
  // which also says whether the save succeeded.
  static int FSaveState();

  // world/dummy_map.cpp: the built-in test map, the same on every start.
  static int FDummyMap();
};
