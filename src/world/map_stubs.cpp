// Placeholder bodies, replaced file by file as the world lands.
#include "world/block.h"
#include "world/map.h"
#include "world/scroller.h"
#include "actors/actor.h"
#include "fluid/fluid.h"
#include "actors/actor.h"

int TMap::FBoot() { return 0; }
int TMap::FClear() {
  TActor::FClear();
  TFluid::FEvaluateMap();
  return 0;
}
int TMap::FDummyMap() { return 0; }
int TMap::FSaveState() { return 0; }
int TMap::FLoadState() { return 0; }
int TMap::FEvaluateLightMap() { return 0; }
int TMap::FShadowCheck(int, int) { return 0; }
int TMap::FEvaluateChunks() { return 0; }
int TMap::FChunkObscured(int, int) { return 0; }
int TMap::FBoundsMargin(int, int) { return 0; }
int TMap::FBoundsMargin2(int, int) { return 0; }
int TMap::FBounds(int, int) { return 0; }
int TMap::FBlockAtCell(int, int) { return 0; }
int TMap::FCellFree(int, int) { return 1; }
int TMap::FUnitsFree(int64_t, int64_t) { return 1; }
int TMap::FBlockStyleAtCell(int, int) { return 255; }
int TMap::FHitCell(int, int, uint8_t) { return 0; }
int TMap::FBlockStyleAtUnits(int64_t, int64_t) { return 0; }
int TMap::FBGStyleAtCell(int, int) { return 255; }
int TMap::FCreateBlock(int, int, int) { return 0; }
int TMap::FBGSet(int, int, int) { return 0; }
int TMap::FSpotsUpFreeDucked(int64_t, int64_t) { return 1; }
int TMap::FSpotsUpFree(int64_t, int64_t) { return 1; }
int TMap::FSpotsDownFree(int64_t, int64_t) { return 1; }
int TMap::FSpotsLeftFree(int64_t, int64_t) { return 1; }
int TMap::FSpotsRightFree(int64_t, int64_t) { return 1; }
int TMap::FSpotsLeftDuckedFree(int64_t, int64_t) { return 1; }
int TMap::FSpotsRightDuckedFree(int64_t, int64_t) { return 1; }
int TMap::FSpotsFree(int64_t, int64_t) { return 1; }
int TMap::FCountEdge(int, int, int) { return 0; }

int TBlock::FBoot() { return 0; }
std::shared_ptr<TBlock> TBlock::FCreate(int, int, int) { return nullptr; }
int TBlock::FUpdate() { return 0; }
std::shared_ptr<TBlock> TBlockSolid::FCreate(int, int, int) { return nullptr; }
int TBlockSolid::MDraw(int, int) { return 0; }
std::shared_ptr<TBlock> TBlockBrick::FCreate(int, int, int) { return nullptr; }
int TBlockBrick::MUpdate() { return 0; }
int TBlockBrick::MDraw(int, int) { return 0; }
int TBlockBrick::MBump(uint8_t) { return 0; }
std::shared_ptr<TBlock> TBlockContainer::FCreate(int, int, int) { return nullptr; }
int TBlockContainer::MUpdate() { return 0; }
int TBlockContainer::MDraw(int, int) { return 0; }
int TBlockContainer::MBump(uint8_t) { return 0; }

