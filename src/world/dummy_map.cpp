// The start-up map: a ceiling, two side walls, a shelf and a floor of varied solid styles,
// always the same because the generator is seeded first.
#include <string>

#include "platform/console.h"
#include "platform/random.h"
#include "shared/game_codes.h"
#include "world/block.h"
#include "world/map.h"
#include "world/random_styles.h"

namespace {
constexpr int kWallStyle = 23;
constexpr int kLastSkyChunkRow = 8;  // chunk rows 0..8 (cell rows 0..35) are sky
}  // namespace

int TMap::FDummyMap() {
  SeedRandom(7777);
  for (int cy = 0; cy < CHUNK_ROWS; ++cy)
    for (int cx = 0; cx < CHUNK_COLUMNS; ++cx)
      ChunkStyleGrid[cx][cy] = cy <= kLastSkyChunkRow ? kChunkStyleSky : kChunkStyleDark;
  // One draw per call, in this order: the map is the same on every start.
  for (int x = 0; x < MAP_WIDTH_TILES; ++x) {
    FCreateBlock(x, 0, kWallStyle);
    FCreateBlock(x, 34, RandomStyleNear(0));
    FCreateBlock(x, 35, RandomStyleNear(44));
    FCreateBlock(x, 52, RandomStyleNear(32));
    FCreateBlock(x, 53, RandomStyleNear(44));
  }
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y) {
    FCreateBlock(0, y, kWallStyle);
    FCreateBlock(MAP_WIDTH_TILES - 1, y, kWallStyle);
  }
  PrintLine("TBlock.Count " + std::to_string(TBlock::Count));
  return 0;
}
