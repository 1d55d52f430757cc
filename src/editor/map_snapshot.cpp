// Taking and putting back map snapshots for the editor's undo history.
#include "editor/map_snapshot.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "fluid/fluid.h"
#include "shared/game_codes.h"
#include "world/block.h"
#include "world/map.h"

namespace {

uint8_t StyleAt(int x, int y) {
  const auto& block = BlockGrid[x][y];
  return block ? static_cast<uint8_t>(block->MStyle()) : kNoStyle;
}

void CaptureStyles(uint8_t (&styles)[MAP_WIDTH_TILES][MAP_HEIGHT_TILES]) {
  for (int x = 0; x < MAP_WIDTH_TILES; ++x)
    for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
      styles[x][y] = StyleAt(x, y);
}

// An animating block of a cell the restore gave another block must not act on that cell again.
void StopStrandedAnimations(const bool (&rewritten)[MAP_WIDTH_TILES][MAP_HEIGHT_TILES]) {
  for (auto it = ActiveBlocks.begin(); it != ActiveBlocks.end();) {
    const TBlock* block = it->get();
    const bool inMap = block->XPos < MAP_WIDTH_TILES && block->Ypos < MAP_HEIGHT_TILES;
    if (inMap && rewritten[block->XPos][block->Ypos] &&
        BlockGrid[block->XPos][block->Ypos].get() != block) {
      (*it)->Angle = 0;
      (*it)->Counter = 0;
      it = ActiveBlocks.erase(it);
    } else {
      ++it;
    }
  }
}

void RestoreBlocks(const uint8_t (&styles)[MAP_WIDTH_TILES][MAP_HEIGHT_TILES]) {
  static bool rewritten[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
  std::memset(rewritten, 0, sizeof rewritten);
  const int32_t count = TBlock::Count;  // putting a block back is not creating one
  for (int x = 0; x < MAP_WIDTH_TILES; ++x) {
    for (int y = 0; y < MAP_HEIGHT_TILES; ++y) {
      if (StyleAt(x, y) == styles[x][y]) continue;
      BlockGrid[x][y] = CreateBlockOfStyle(styles[x][y], x, y);
      rewritten[x][y] = true;
    }
  }
  TBlock::Count = count;
  StopStrandedAnimations(rewritten);
}

}  // namespace

void CaptureMap(TMapSnapshot& snapshot) {
  std::memcpy(snapshot.Solid, SolidGrid, sizeof snapshot.Solid);
  std::memcpy(snapshot.Fill, FillGrid, sizeof snapshot.Fill);
  std::memcpy(snapshot.BG, BGGrid, sizeof snapshot.BG);
  CaptureStyles(snapshot.Styles);
  std::memcpy(snapshot.FluidTop, FluidTopRow, sizeof snapshot.FluidTop);
  std::memcpy(snapshot.FluidBottom, FluidBottomRow, sizeof snapshot.FluidBottom);
  std::memcpy(snapshot.FluidActive, FluidColumnActive, sizeof snapshot.FluidActive);
  snapshot.PlayerStart = LevelStarts.Player;
  const size_t count = std::min<size_t>(LevelStarts.Badguys.size(), size_t{kActorCap});
  snapshot.BadguyStarts = static_cast<uint32_t>(count);
  std::copy_n(LevelStarts.Badguys.begin(), count, snapshot.Badguys);
  // The unused places the same in every snapshot, so equal starts compare equal.
  std::fill(snapshot.Badguys + count, std::end(snapshot.Badguys), TStartPoint{});
}

bool SameMap(const TMapSnapshot& a, const TMapSnapshot& b) {
  // Field by field: the padding between them is no part of the map.
  const auto same = [](const auto& x, const auto& y) { return std::memcmp(&x, &y, sizeof x) == 0; };
  return same(a.Solid, b.Solid) && same(a.Fill, b.Fill) && same(a.BG, b.BG) &&
         same(a.Styles, b.Styles) && same(a.FluidTop, b.FluidTop) &&
         same(a.FluidBottom, b.FluidBottom) && same(a.FluidActive, b.FluidActive) &&
         same(a.PlayerStart, b.PlayerStart) && a.BadguyStarts == b.BadguyStarts &&
         same(a.Badguys, b.Badguys);
}

void RestoreMap(const TMapSnapshot& snapshot) {
  RestoreBlocks(snapshot.Styles);
  std::memcpy(SolidGrid, snapshot.Solid, sizeof snapshot.Solid);
  std::memcpy(FillGrid, snapshot.Fill, sizeof snapshot.Fill);
  std::memcpy(BGGrid, snapshot.BG, sizeof snapshot.BG);
  std::memcpy(FluidTopRow, snapshot.FluidTop, sizeof snapshot.FluidTop);
  std::memcpy(FluidBottomRow, snapshot.FluidBottom, sizeof snapshot.FluidBottom);
  std::memcpy(FluidColumnActive, snapshot.FluidActive, sizeof snapshot.FluidActive);
  LevelStarts.Player = snapshot.PlayerStart;
  const uint64_t count = std::min<uint64_t>(snapshot.BadguyStarts, uint64_t{kActorCap});
  LevelStarts.Badguys.assign(snapshot.Badguys, snapshot.Badguys + count);
  if (LevelStarts.Badguys.empty()) LevelStarts.Badguys = DefaultLevelStarts().Badguys;
}
