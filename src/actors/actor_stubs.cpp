// Placeholder bodies, replaced file by file as the actors land.
#include "actors/actor.h"
#include "actors/profile.h"

int TActor::FBoot() { return 0; }
std::shared_ptr<TActor> TActor::FCreate(int64_t x, int64_t y, int32_t kind) {
  auto actor = std::make_shared<TActor>();
  actor->XPos = x;
  actor->YPos = y;
  actor->User = kind;
  return actor;
}
int TActor::FClear() { return 0; }
int TActor::FUpdateBadguys() { return 0; }
int TActor::MPlaceInBucket() { return 0; }
int TActor::MBucketChange() { return 0; }
int TActor::MUpdate() { return 0; }
int TActor::MAddAirFriction() { return 0; }
int TActor::MAddRunFriction() { return 0; }
int TActor::MAddHaltFriction() { return 0; }
int TActor::MAddGravity() { return 0; }
int TActor::MAddVelStanding() { return 0; }
int TActor::MAddVelDucked() { return 0; }
int TActor::MActorCollide(int64_t, int64_t) const { return 0; }
int TActor::MInput() { return 0; }
int TActor::MControl() { return 0; }
int TActor::MChoosePose() { return 0; }
int TActor::MOnScreenRelativePos(int64_t, int64_t) { return 0; }
int TActor::MDraw(int32_t, int32_t) { return 0; }
int32_t BucketColumnOf(int64_t) { return 0; }
int32_t BucketRowOf(int64_t) { return 0; }

int TProfile::FBoot() {
  Profiles[0] = std::make_shared<TProfile>();
  return 0;
}
int TProfile::FUpdate() { return 0; }
int TProfile::MInput() { return 0; }
int32_t PluspadOf(int32_t, int32_t) { return 0; }
