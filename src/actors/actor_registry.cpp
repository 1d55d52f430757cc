// The actor registry: creation, clearing, the spatial buckets and the per-frame update order.
#include <algorithm>

#include "actors/actor.h"
#include "actors/profile.h"
#include "shared/game_codes.h"
#include "shared/game_events.h"
#include "world/map.h"

ActorList ActorLists[2];
int32_t ActorCount;

namespace {

constexpr int64_t kSpawnHopVel = -131072;  // a new actor hops 2 pixels up out of its spawn cell

// Drops the first entry that is this very actor; an actor not in the list leaves it alone.
void RemoveFirst(ActorList& list, const TActor* actor) {
  auto found =
      std::find_if(list.begin(), list.end(),
                   [actor](const std::shared_ptr<TActor>& entry) { return entry.get() == actor; });
  if (found != list.end()) list.erase(found);
}

int32_t ClampedBucket(int64_t units, int32_t count) {
  // A bucket is one chunk. Positions inside the map are never negative; anything that strays
  // outside is filed in the nearest edge bucket so that no actor ever indexes past the grid.
  if (units < 0) return 0;
  return static_cast<int32_t>(std::min<int64_t>(units >> CHUNK_SHIFT, count - 1));
}

// Water at the middle of the body (half a cell above the feet): wading through a film of it in
// the cell below does not count as entering.
bool InWater(int64_t x, int64_t y) {
  const int64_t middle = y - TILE_UNITS / 2;
  if (x < 0 || middle < 0 || x >= MAP_WIDTH_UNITS || middle >= MAP_HEIGHT_UNITS) return false;
  const int column = UnitsToCell(x), row = UnitsToCell(middle);
  return SolidGrid[column][row] == kSolidFluid && FillGrid[column][row] > 0;
}

}  // namespace

int32_t BucketColumnOf(int64_t x) {
  return ClampedBucket(x, CHUNK_COLUMNS);
}
int32_t BucketRowOf(int64_t y) {
  return ClampedBucket(y, CHUNK_ROWS);
}

int TActor::FResetTables() {
  for (auto& list : ActorLists)
    ActorList().swap(list);
  ActorCount = 0;
  return 0;
}

int TActor::FBoot() {
  for (auto& list : ActorLists) {
    list.clear();
    // Room for the whole cap up front, so spawning never reallocates mid-game.
    list.reserve(kActorCap);
  }
  return 0;
}

std::shared_ptr<TActor> TActor::FCreate(int64_t x, int64_t y, int32_t kind) {
  auto actor = std::make_shared<TActor>();
  actor->XPos = x;
  actor->YPos = y;
  actor->YVel = kSpawnHopVel;
  actor->User = kind;
  if (kind == kUserBadguy) ActorLists[kBadguyList].push_back(actor);
  actor->MPlaceInBucket();
  ++ActorCount;
  return actor;
}

int TActor::FClear() {
  ActorCount = 0;
  for (auto& list : ActorLists)
    list.clear();
  return 0;
}

int TActor::MPlaceInBucket() {
  XBucket = BucketColumnOf(XPos);
  YBucket = BucketRowOf(YPos);
  // Only actors made by FCreate are shared; any other has no owner a bucket could join.
  if (auto self = weak_from_this().lock()) ActorBuckets[XBucket][YBucket].push_back(self);
  return 0;
}

int TActor::MBucketChange() {
  const int32_t bx = BucketColumnOf(XPos);
  const int32_t by = BucketRowOf(YPos);
  if (bx == XBucket && by == YBucket) return 0;
  auto self = weak_from_this().lock();
  RemoveFirst(ActorBuckets[XBucket][YBucket], this);
  if (self) ActorBuckets[bx][by].push_back(self);
  XBucket = bx;
  YBucket = by;
  return 0;
}

int TActor::MUpdate() {
  const bool was_wet = InWater(XPos, YPos);
  MInput();
  MControl();
  if (ForceDuck == 1) VPad = kDown;
  MAddFriction();
  MAddGravity();
  if (VPad == kDown && Grounded == 1) {
    MAddVelDucked();
  } else {
    MAddVelStanding();
  }
  if (!was_wet && InWater(XPos, YPos))
    TGameEvents::FReport(GameEvent::kEnteredWater, XPos, YPos, 0, MEventActor());
  MBucketChange();
  MChoosePose();
  if (XVel > 0) LastFacing = kRight;
  if (XVel < 0) LastFacing = kLeft;
  return 0;
}

int TActor::FUpdateBadguys() {
  if (Profiles[kPlayerProfile] && Profiles[kPlayerProfile]->Actor)
    Profiles[kPlayerProfile]->Actor->MUpdate();
  // By index, re-reading the size: an actor appended meanwhile would still get its turn, and a
  // reallocation cannot pull the list out from under the loop.
  for (size_t i = 0; i < ActorLists[kBadguyList].size(); ++i)
    ActorLists[kBadguyList][i]->MUpdate();
  return 0;
}
