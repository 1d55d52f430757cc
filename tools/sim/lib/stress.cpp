#include "stress.h"

#include <algorithm>
#include <cstdint>

#include "actors/actor.h"
#include "actors/profile.h"
#include "fluid/fluid.h"
#include "frame/main_program.h"
#include "world/block.h"
#include "world/map.h"

namespace {

void FillBackgrounds() {
  // A fixed spread of the eight plain background styles, so the state costs no random draws.
  for (int row = 0; row < MAP_HEIGHT_TILES; ++row)
    for (int column = 0; column < MAP_WIDTH_TILES; ++column)
      TMap::FBGSet(column, row, (column * 7 + row * 3) % 8);
}

void FillWater() {
  for (int row = 1; row <= 52; ++row)
    for (int column = 0; column < MAP_WIDTH_TILES; ++column) {
      if (SolidGrid[column][row] != kSolidNothing || BlockGrid[column][row]) continue;
      SolidGrid[column][row] = kSolidFluid;
      FillGrid[column][row] = 16;
    }
  TFluid::FEvaluateMap();
}

struct CellWindow {
  int left, top, right, bottom;  // inclusive cell bounds
};

// A view-sized window of cells around an actor, inside the border ring.
CellWindow ViewAround(const TActor& actor) {
  const int left = std::clamp(UnitsToCell(actor.XPos) - SCREEN_WIDTH_TILES / 2, 1,
                              MAP_WIDTH_TILES - 1 - SCREEN_WIDTH_TILES);
  const int top = std::clamp(UnitsToCell(actor.YPos) - SCREEN_HEIGHT_TILES / 2, 1,
                             MAP_HEIGHT_TILES - 1 - SCREEN_HEIGHT_TILES);
  return {left, top, left + SCREEN_WIDTH_TILES - 1, top + SCREEN_HEIGHT_TILES - 1};
}

// Bad guys on the block-free cells of the window, a pixel further right on each later round, until
// `share` are placed or the cap is reached.
void Crowd(const CellWindow& w, int share) {
  int placed = 0;
  for (int round = 0; round < 8; ++round)
    for (int row = w.top; row <= w.bottom; ++row)
      for (int column = w.left; column <= w.right; ++column) {
        if (placed >= share || ActorCount >= kActorCap) return;
        if (BlockGrid[column][row]) continue;
        const int64_t x = int64_t{column} * TILE_UNITS + (4 + round) * PIXEL_UNITS;
        const int64_t y = int64_t{row + 1} * TILE_UNITS - PIXEL_UNITS;
        TActor::FCreate(x, y, kUserBadguy);
        ++placed;
      }
}

}  // namespace

void BuildStressState() {
  FillBackgrounds();
  FillWater();
  const TActor* player = Profiles[kPlayerProfile] ? Profiles[kPlayerProfile]->Actor.get() : nullptr;
  if (player) Crowd(ViewAround(*player), std::max(0, kActorCap - ActorCount) / 2);
  if (BadguyActor) Crowd(ViewAround(*BadguyActor), kActorCap);
  // Whatever the two views had no room for goes anywhere in the map.
  Crowd({1, 1, MAP_WIDTH_TILES - 2, MAP_HEIGHT_TILES - 2}, kActorCap);
  TMap::FEvaluateLightMap();
  TMap::FEvaluateChunks();
}
