// The level's start table.
#include "world/level_starts.h"

#include "shared/units.h"

TLevelStarts LevelStarts = DefaultLevelStarts();

TLevelStarts DefaultLevelStarts() {
  // Centre line and feet line on cell edges.
  constexpr int64_t kStartX = 6 * TILE_UNITS;
  constexpr int64_t kBadguyStartY = 10 * TILE_UNITS;
  constexpr int64_t kPlayerStartY = 33 * TILE_UNITS;
  static_assert(kStartX == 6291456 && kBadguyStartY == 10485760 && kPlayerStartY == 34603008);
  TLevelStarts starts;
  starts.Player = {kStartX, kPlayerStartY};
  starts.Badguys = {{kStartX, kBadguyStartY}};
  return starts;
}

void ResetLevelStarts() {
  LevelStarts = DefaultLevelStarts();
}
