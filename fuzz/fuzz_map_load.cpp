// libFuzzer target: the two map files from arbitrary bytes, loaded over a booted game, then
// played for a few frames with water poured next to the border, so that a map with an open
// border ring or odd block styles is also run, not only read.
//
// Input layout: two bytes (little-endian) give the length of the background file; the block
// file is the rest. A length past the end gives the background file everything.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "actors/actor.h"
#include "fluid/fluid.h"
#include "frame/game.h"
#include "frame/main_program.h"
#include "fuzz_support.h"
#include "platform/commands.h"
#include "platform/headless_backend.h"
#include "platform/input.h"
#include "platform/random.h"
#include "world/block.h"
#include "world/map.h"
#include "world/scroller.h"

namespace {

HeadlessBackend Headless;

void CheckCells() {
  for (int x = 0; x < MAP_WIDTH_TILES; ++x) {
    for (int y = 0; y < MAP_HEIGHT_TILES; ++y) {
      const uint8_t solid = SolidGrid[x][y], fill = FillGrid[x][y];
      const bool block = BlockGrid[x][y] != nullptr;
      if (solid == kSolidBlock)
        fuzz::Check(fill == 16 && block, "a block cell is full");
      else if (solid == kSolidFluid)
        fuzz::Check(fill >= 1 && fill <= 16 && !block, "water 1..16");
      else
        fuzz::Check(solid == kSolidNothing && fill == 0 && !block, "an empty cell is empty");
      if (solid == kSolidFluid && y >= 1 && y <= 52)
        fuzz::Check(FluidTopRow[x] <= y && y <= FluidBottomRow[x], "the range holds the water");
    }
    fuzz::Check(FluidBottomRow[x] <= 52, "the range stays above the bottom row");
  }
}

void CheckActors() {
  fuzz::Check(ActorCount <= kActorCap, "the actor cap");
  for (int bx = 0; bx < CHUNK_COLUMNS; ++bx)
    for (int by = 0; by < CHUNK_ROWS; ++by)
      for (const auto& actor : ActorBuckets[bx][by])
        fuzz::Check(BucketColumnOf(actor->XPos) == bx && BucketRowOf(actor->YPos) == by,
                    "an actor in the bucket of its position");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const fuzz::InScratchDir here;
  SetBackend(&Headless);
  Headless.OnEndOfPass = [](int) { return false; };
  RunRavelon(false);  // no art and no map files here: the dummy map, as on a bare machine
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const fuzz::InScratchDir here;
  const size_t first = std::min<size_t>(data[0] | (data[1] << 8), size - 2);
  fuzz::WriteBytes("BGMap75x54.raw", data + 2, first);
  fuzz::WriteBytes("BlockMap75x54.raw", data + 2 + first, size - 2 - first);

  SeedRandom(5);
  InputReset();
  TGame::FEnterState();
  TMap::FLoadState();
  TScroller::FEvaluateScrollLocks();
  TMap::FEvaluateLightMap();
  TMap::FEvaluateChunks();
  CheckCells();

  // Water at the edges of the editable area flows into any border cell left open.
  for (int x : {1, 2, 37, 72, 73})
    for (int y : {1, 26, 51, 52})
      TFluid::FCreateWater(x, y);
  for (int step = 0; step < 12; ++step)
    TFluid::FSim();
  CheckCells();

  // A few frames of play: run right and jump, so actors reach the border and bump blocks.
  InputKeyDown(kKeyRight);
  InputKeyDown(kKeyB);
  for (int pass = 0; pass < 8; ++pass) {
    MainLoopPass();
    CheckCells();
    CheckActors();
  }
  return 0;
}
