// The map grids: clearing, the bounds helpers, the cell queries and the two writers
// (FCreateBlock for blocks, FBGSet for backgrounds).
#include <algorithm>
#include <cstring>

#include "actors/actor.h"  // up: a new map clears the actors filed in its chunks
#include "fluid/fluid.h"   // up: a changed cell re-evaluates the water around it
#include "shared/game_codes.h"
#include "world/block.h"
#include "world/map.h"
#include "world/map_files.h"

// The map's grids (world/map.h), and the chunks' actor buckets (actors/actor.h), which the map
// owns as it owns the chunks.
std::shared_ptr<TBlock> BlockGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
uint8_t SolidGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
uint8_t FillGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
uint8_t BGGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
uint8_t ShadowGrid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
uint8_t ChunkStyleGrid[CHUNK_COLUMNS][CHUNK_ROWS];
uint8_t ChunkVisibleGrid[CHUNK_COLUMNS][CHUNK_ROWS];
uint8_t ScrollLocks[3][3][4];
ActorList ActorBuckets[CHUNK_COLUMNS][CHUNK_ROWS];

namespace {

bool CellInMap(int x, int y) {
  return x >= 0 && x < MAP_WIDTH_TILES && y >= 0 && y < MAP_HEIGHT_TILES;
}

// Tested on the units themselves, so a far-off point can never wrap back into the map through
// the 32-bit cell number.
bool UnitsInMap(int64_t ux, int64_t uy) {
  return ux >= 0 && ux < MAP_WIDTH_UNITS && uy >= 0 && uy < MAP_HEIGHT_UNITS;
}

}  // namespace

bool IsBrickStyle(int style) {
  switch (style) {
    case 18:
    case 19:
    case 20:
    case 50:
    case 51:
    case 52:
      return true;
    default:
      return false;
  }
}

bool IsContainerStyle(int style) {
  return style == 21 || style == 53;
}

std::shared_ptr<TBlock> CreateBlockOfStyle(int style, int x, int y) {
  if (IsBrickStyle(style)) return TBlockBrick::FCreate(style, x, y);
  if (IsContainerStyle(style)) return TBlockContainer::FCreate(style, x, y);
  return TBlockSolid::FCreate(style, x, y);
}

int TMap::FResetTables() {
  for (auto& column : BlockGrid)
    std::fill(std::begin(column), std::end(column), nullptr);
  std::memset(SolidGrid, 0, sizeof SolidGrid);
  std::memset(FillGrid, 0, sizeof FillGrid);
  std::memset(BGGrid, 0, sizeof BGGrid);
  std::memset(ShadowGrid, 0, sizeof ShadowGrid);
  std::memset(ChunkStyleGrid, 0, sizeof ChunkStyleGrid);
  std::memset(ChunkVisibleGrid, 0, sizeof ChunkVisibleGrid);
  std::memset(ScrollLocks, 0, sizeof ScrollLocks);
  // Swapped with an empty list, so a second start gets its room back as well.
  for (auto& column : ActorBuckets)
    for (auto& bucket : column)
      ActorList().swap(bucket);
  return 0;
}

int TMap::FBoot() {
  ResetMapBackups();
  for (auto& column : ActorBuckets)
    for (auto& bucket : column)
      bucket = ActorList();
  return 0;
}

int TMap::FClear() {
  for (int cy = 0; cy < CHUNK_ROWS; ++cy) {
    for (int cx = 0; cx < CHUNK_COLUMNS; ++cx) {
      ChunkStyleGrid[cx][cy] = kChunkStyleSky;
      ActorBuckets[cx][cy].clear();
    }
  }
  TActor::FClear();
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y) {
    for (int x = 0; x < MAP_WIDTH_TILES; ++x) {
      SolidGrid[x][y] = kSolidNothing;
      FillGrid[x][y] = 0;
      BGGrid[x][y] = kNoStyle;
      BlockGrid[x][y] = nullptr;
      ShadowGrid[x][y] = 0;
    }
  }
  TBlock::Count = 0;
  TFluid::FEvaluateMap();
  return 0;
}

int TMap::FBoundsMargin(int x, int y) {
  return x >= 1 && x <= 73 && y >= 1 && y <= 52 ? 1 : 0;
}

int TMap::FBoundsMargin2(int x, int y) {
  return x >= 3 && x <= 71 && y >= 3 && y <= 50 ? 1 : 0;
}

int TMap::FBounds(int x, int y) {
  return CellInMap(x, y) ? 1 : 0;
}

int TMap::FBlockAtCell(int x, int y) {
  return CellInMap(x, y) && BlockGrid[x][y] ? 1 : 0;
}

int TMap::FCellFree(int x, int y) {
  return FBlockAtCell(x, y) ? 0 : 1;
}

// The one query for which outside counts as a block: a map loaded without a border ring must
// still keep every actor inside it.
int TMap::FUnitsFree(int64_t ux, int64_t uy) {
  if (!UnitsInMap(ux, uy)) return 0;
  return BlockGrid[UnitsToCell(ux)][UnitsToCell(uy)] ? 0 : 1;
}

int TMap::FBlockStyleAtCell(int x, int y) {
  if (!FBlockAtCell(x, y)) return kNoStyle;
  return BlockGrid[x][y]->MStyle();
}

int TMap::FHitCell(int x, int y, uint8_t direction) {
  if (!FBlockAtCell(x, y)) return 0;
  // The bump may replace the cell's block (a brick breaking); keep it alive through the call.
  const std::shared_ptr<TBlock> block = BlockGrid[x][y];
  block->MBump(direction);
  return 0;
}

int TMap::FBlockStyleAtUnits(int64_t ux, int64_t uy) {
  if (!UnitsInMap(ux, uy)) return 0;
  return FBlockStyleAtCell(UnitsToCell(ux), UnitsToCell(uy));
}

int TMap::FBGStyleAtCell(int x, int y) {
  return CellInMap(x, y) ? BGGrid[x][y] : kNoStyle;
}

int TMap::FCreateBlock(int x, int y, int style) {
  if (!CellInMap(x, y)) return 0;
  BlockGrid[x][y] = CreateBlockOfStyle(style, x, y);
  // Whatever the cell held before, fluid included, is gone.
  if (BlockGrid[x][y]) {
    SolidGrid[x][y] = kSolidBlock;
    FillGrid[x][y] = 16;
  } else {
    SolidGrid[x][y] = kSolidNothing;
    FillGrid[x][y] = 0;
  }
  TFluid::FEvaluateColumn(x);
  if (x > 0) TFluid::FEvaluateColumn(x - 1);
  if (x < MAP_WIDTH_TILES - 1) TFluid::FEvaluateColumn(x + 1);
  return 1;
}

int TMap::FBGSet(int x, int y, int style) {
  if (!CellInMap(x, y)) return 0;
  BGGrid[x][y] = static_cast<uint8_t>(style & 0xFF);
  return 1;
}

int TMap::FCountEdge(int sx, int sy, int side) {
  const int x0 = SCREEN_WIDTH_TILES * sx;
  const int y0 = SCREEN_HEIGHT_TILES * sy;
  int count = 0;
  switch (side) {
    case kSideTop:
      for (int x = x0; x < x0 + SCREEN_WIDTH_TILES; ++x)
        count += FBlockAtCell(x, y0);
      break;
    case kSideRight:
      for (int y = y0; y < y0 + SCREEN_HEIGHT_TILES; ++y)
        count += FBlockAtCell(x0 + SCREEN_WIDTH_TILES - 1, y);
      break;
    case kSideBottom:
      for (int x = x0; x < x0 + SCREEN_WIDTH_TILES; ++x)
        count += FBlockAtCell(x, y0 + SCREEN_HEIGHT_TILES - 1);
      break;
    case kSideLeft:
      for (int y = y0; y < y0 + SCREEN_HEIGHT_TILES; ++y)
        count += FBlockAtCell(x0, y);
      break;
    default:
      break;
  }
  return count;
}
