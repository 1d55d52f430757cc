// A level's grids, water and starts into the map.
#include "fluid/level_apply.h"

#include "actors/actor.h"
#include "fluid/fluid.h"
#include "world/map.h"

// The player and every bad guy a level may name fit under the actor cap.
static_assert(kLevelBadguyCap + 1 <= static_cast<size_t>(kActorCap));

void SetMapFromLevel(const TLevel& level) {
  SetMapFromBytes(level.Backgrounds, level.Blocks);
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y) {
    for (int x = 0; x < MAP_WIDTH_TILES; ++x) {
      const uint8_t units = level.Water[static_cast<size_t>(y) * MAP_WIDTH_TILES + x];
      if (units == 0 || SolidGrid[x][y] == kSolidBlock) continue;
      SolidGrid[x][y] = kSolidFluid;
      FillGrid[x][y] = units > kFullWater ? kFullWater : units;
    }
  }
  TFluid::FEvaluateMap();
  LevelStarts = level.Starts;
  if (LevelStarts.Badguys.empty()) LevelStarts.Badguys = DefaultLevelStarts().Badguys;
}
