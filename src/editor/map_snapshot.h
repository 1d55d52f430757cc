// A copy of everything of the map that painting, L, R and the build tools change: the cell grids,
// the block styles, the water columns' ranges and activity, and the level's starts. Fixed size,
// so taking one never allocates.
#pragma once

#include <cstdint>

#include "actors/actor.h"
#include "shared/units.h"
#include "world/level_starts.h"

struct TMapSnapshot {
  uint8_t Solid[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
  uint8_t Fill[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
  uint8_t BG[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
  uint8_t Styles[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];  // 255 where no block stands
  uint16_t FluidTop[MAP_WIDTH_TILES];
  uint16_t FluidBottom[MAP_WIDTH_TILES];
  uint8_t FluidActive[MAP_WIDTH_TILES];
  // LevelStarts: the player's, then BadguyStarts of the bad guys' (never more than the cap).
  TStartPoint PlayerStart;
  uint64_t BadguyStarts;
  TStartPoint Badguys[kActorCap];
};

void CaptureMap(TMapSnapshot& snapshot);
bool SameMap(const TMapSnapshot& a, const TMapSnapshot& b);

// Puts the map back as the snapshot holds it. A cell whose block keeps its style keeps its block,
// animation and all; a cell that needs another block gets a fresh one at rest, and any animating
// block of a rewritten cell stops there, so no brick breaks and no container releases a bad guy
// into a cell that no longer holds it. TBlock::Count, the actors and the random generator stay
// as they are; light map, chunks and scroll locks wait for E, as after painting. LevelStarts is
// put back too.
void RestoreMap(const TMapSnapshot& snapshot);
