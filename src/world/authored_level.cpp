// Taking the level as built from the map and putting it back.
#include "world/authored_level.h"

#include "fluid/fluid.h"  // up: put-back water needs its columns evaluated
#include "shared/game_codes.h"
#include "world/block.h"
#include "world/map.h"

void CaptureAuthoredCell(TAuthoredLevel& level, int x, int y) {
  if (!TMap::FBounds(x, y)) return;
  level.Blocks[x][y] = static_cast<uint8_t>(TMap::FBlockStyleAtCell(x, y));
  level.BG[x][y] = BGGrid[x][y];
  level.Water[x][y] = !BlockGrid[x][y] && SolidGrid[x][y] == kSolidFluid ? 1 : 0;
}

void CaptureAuthoredLevel(TAuthoredLevel& level) {
  for (int x = 0; x < MAP_WIDTH_TILES; ++x)
    for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
      CaptureAuthoredCell(level, x, y);
  level.Starts = LevelStarts;
}

void PutAuthoredLevel(const TAuthoredLevel& level) {
  ActiveBlocks.clear();
  TBlock::Count = 0;
  for (int x = 0; x < MAP_WIDTH_TILES; ++x) {
    for (int y = 0; y < MAP_HEIGHT_TILES; ++y) {
      BlockGrid[x][y] = CreateBlockOfStyle(level.Blocks[x][y], x, y);
      BGGrid[x][y] = level.BG[x][y];
      if (BlockGrid[x][y]) {
        SolidGrid[x][y] = kSolidBlock;
        FillGrid[x][y] = 16;
      } else if (level.Water[x][y]) {
        SolidGrid[x][y] = kSolidFluid;
        FillGrid[x][y] = 16;
      } else {
        SolidGrid[x][y] = kSolidNothing;
        FillGrid[x][y] = 0;
      }
    }
  }
  TFluid::FEvaluateMap();
  LevelStarts = level.Starts;
  if (LevelStarts.Badguys.empty()) LevelStarts.Badguys = DefaultLevelStarts().Badguys;
}

namespace {
std::vector<uint8_t> RowAfterRow(const uint8_t (&grid)[MAP_WIDTH_TILES][MAP_HEIGHT_TILES]) {
  std::vector<uint8_t> bytes(static_cast<size_t>(MAP_WIDTH_TILES) * MAP_HEIGHT_TILES);
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      bytes[static_cast<size_t>(y) * MAP_WIDTH_TILES + x] = grid[x][y];
  return bytes;
}
}  // namespace

std::vector<uint8_t> AuthoredBGBytes(const TAuthoredLevel& level) {
  return RowAfterRow(level.BG);
}
std::vector<uint8_t> AuthoredBlockBytes(const TAuthoredLevel& level) {
  return RowAfterRow(level.Blocks);
}
