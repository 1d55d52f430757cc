// One frame of motion: friction, gravity, and the two movers that carry an actor through the
// map in sub-pixel steps, landing, bumping heads and clinging to walls.
#include <cmath>
#include <cstdlib>
#include <limits>

#include "actors/actor.h"
#include "actors/pose_frames.h"
#include "shared/game_codes.h"
#include "shared/game_events.h"
#include "world/map.h"

namespace {

// The factors are single-precision constants multiplied in double precision: the product of
// the float value (0.99f is 0.9900000095367432) is what the game's motion was tuned against.
constexpr float kAirFriction = 0.99f;
constexpr float kRunFriction = 0.98f;
constexpr float kHaltFriction = 0.95f;

constexpr int64_t kGravity = 11000;
constexpr int64_t kContactSpeed = 65000;  // pressing onto the ground or into a wall
constexpr int64_t kHardLanding = 70000;
constexpr int64_t kBumpRebound = 20000;
constexpr int64_t kHalfWidth = 196608;    // 3 pixels
constexpr int64_t kHeadHeight = 1048576;  // 16 pixels
constexpr int32_t kLandingHold = 5;

enum class Vertical { Free, Landed, Bumped };
enum class Horizontal { Free, BlockedRight, BlockedLeft };

int64_t Scaled(int64_t velocity, float factor) {
  // Truncation toward zero lets small velocities die out to exactly 0.
  return static_cast<int64_t>(static_cast<double>(velocity) * static_cast<double>(factor));
}

// The speed in whole pixels plus one, so that every sub-step is shorter than a pixel and the
// point probes cannot tunnel through a block.
int64_t SubStepCount(int64_t xvel, int64_t yvel) {
  const double x = static_cast<double>(xvel);
  const double y = static_cast<double>(yvel);
  const double root = std::sqrt(x * x + y * y);
  const double cap = static_cast<double>(std::numeric_limits<int32_t>::max());
  const int32_t whole = static_cast<int32_t>(root < cap ? root : cap);
  return (whole >> PIXEL_SHIFT) + 1;
}

// A head corner's cell hit from below; there is nothing to hit outside the map.
void HitCellFromBelow(int64_t ux, int64_t uy) {
  const int32_t column = UnitsToCell(ux);
  const int32_t row = UnitsToCell(uy);
  if (column < 0 || column >= MAP_WIDTH_TILES || row < 0 || row >= MAP_HEIGHT_TILES) return;
  TMap::FHitCell(column, row, kUp);  // a head bumps the block above it upward
}

// An event's value is 32 bits; no real fall comes near the limit.
int32_t ClampedSpeed(int64_t speed) {
  constexpr int64_t kMost = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(speed > kMost ? kMost : speed);
}

}  // namespace

int TActor::MAddAirFriction() {
  XVel = Scaled(XVel, kAirFriction);
  YVel = Scaled(YVel, kAirFriction);
  return 0;
}

int TActor::MAddRunFriction() {
  XVel = Scaled(XVel, kRunFriction);
  YVel = Scaled(YVel, kRunFriction);
  return 0;
}

int TActor::MAddHaltFriction() {
  XVel = Scaled(XVel, kHaltFriction);
  YVel = Scaled(YVel, kHaltFriction);
  return 0;
}

int TActor::MAddFriction() {
  if (Grounded == 1) {
    if (Hpad == kNoDirection || VPad == kDown) return MAddHaltFriction();
    return MAddRunFriction();
  }
  if (Hugged == 1) return MAddHaltFriction();
  return MAddAirFriction();
}

int TActor::MAddGravity() {
  if (Grounded == 1 || Hugged == 1) return 0;
  YVel += kGravity;
  return 0;
}

int TActor::MAddVelStanding() {
  if (XVel == 0 && YVel == 0) return 0;
  const int64_t n = SubStepCount(XVel, YVel);
  const int64_t dx = XVel / n;
  const int64_t dy = YVel / n;
  const bool was_grounded = Grounded == 1;
  Vertical vertical = Vertical::Free;
  Horizontal horizontal = Horizontal::Free;
  for (int64_t step = 0; step < n; ++step) {
    if (vertical == Vertical::Free) {
      const int64_t ny = YPos + dy;
      if (YVel > 0) {
        if (TMap::FSpotsDownFree(XPos, ny)) {
          YPos = ny;
        } else {
          vertical = Vertical::Landed;
        }
      } else if (YVel < 0) {
        if (TMap::FSpotsUpFree(XPos, ny)) {
          YPos = ny;
        } else {
          vertical = Vertical::Bumped;
          // Both head corners, left first; one column means the same cell twice.
          HitCellFromBelow(XPos - kHalfWidth, ny - kHeadHeight);
          HitCellFromBelow(XPos + kHalfWidth, ny - kHeadHeight);
        }
      }
    }
    if (horizontal == Horizontal::Free) {
      const int64_t nx = XPos + dx;
      if (XVel > 0) {
        if (TMap::FSpotsRightFree(nx, YPos)) {
          XPos = nx;
        } else {
          horizontal = Horizontal::BlockedRight;
        }
      } else if (XVel < 0) {
        if (TMap::FSpotsLeftFree(nx, YPos)) {
          XPos = nx;
        } else {
          horizontal = Horizontal::BlockedLeft;
        }
      }
    }
  }

  Grounded = 0;
  if (vertical == Vertical::Landed) {
    if (!was_grounded)
      TGameEvents::FReport(GameEvent::kLanding, XPos, YPos, ClampedSpeed(YVel), MEventActor());
    if (YVel > kHardLanding) {
      Pose = kPoseLanding;
      HoldPose = kLandingHold;
    }
    // A small downward speed keeps the actor pressed onto the ground every frame.
    YVel = kContactSpeed;
    Grounded = 1;
  }
  if (vertical == Vertical::Bumped) {
    TGameEvents::FReport(GameEvent::kHeadBump, XPos, YPos - kHeadHeight, 0, MEventActor());
    YVel = std::llabs(YVel) / 4 + kBumpRebound;
  }

  // The cling holds only while the move into the wall is refused with a block beside the feet.
  Hugged = 0;
  if (horizontal == Horizontal::BlockedRight) {
    const bool wall = !TMap::FUnitsFree(XPos + kHalfWidth + kContactSpeed, YPos);
    if (wall && AButton != 0 && Grounded == 0) {
      XVel = kContactSpeed;
      Hugged = 1;
    } else {
      XVel = 0;
    }
  } else if (horizontal == Horizontal::BlockedLeft) {
    const bool wall = !TMap::FUnitsFree(XPos - kHalfWidth - kContactSpeed, YPos);
    if (wall && AButton != 0 && Grounded == 0) {
      XVel = -kContactSpeed;
      Hugged = 1;
    } else {
      XVel = 0;
    }
  }
  return 0;
}

int TActor::MAddVelDucked() {
  if (XVel == 0 && YVel == 0) return 0;
  const int64_t n = SubStepCount(XVel, YVel);
  const int64_t dx = XVel / n;
  const int64_t dy = YVel / n;
  bool landed = false;
  bool stopped = false;
  for (int64_t step = 0; step < n; ++step) {
    if (!landed) {
      // Only a grounded actor ducks, and it always presses downwards.
      if (TMap::FSpotsDownFree(XPos, YPos + dy)) {
        YPos += dy;
      } else {
        landed = true;
      }
    }
    if (!stopped) {
      const int64_t nx = XPos + dx;
      bool free = true;
      if (XVel > 0) free = TMap::FSpotsRightDuckedFree(nx, YPos) != 0;
      if (XVel < 0) free = TMap::FSpotsLeftDuckedFree(nx, YPos) != 0;
      if (free) {
        XPos = nx;
      } else {
        stopped = true;
      }
    }
  }

  Grounded = 0;
  if (landed) {
    YVel = kContactSpeed;
    Grounded = 1;
  }
  // No room to stand: the actor stays ducked (MUpdate holds "down") until it finds some.
  ForceDuck = TMap::FSpotsUpFree(XPos, YPos) ? 0 : 1;
  Hugged = 0;
  if (stopped) XVel = 0;
  return 0;
}

int TActor::MActorCollide(int64_t x, int64_t y) const {
  constexpr int64_t kHalfBoxWidth = 393216;  // 6 pixels
  for (const auto& other : ActorLists[kBadguyList]) {
    if (other.get() == this) continue;
    if (y > other->YPos - kHeadHeight && x > other->XPos - kHalfBoxWidth &&
        x < other->XPos + kHalfBoxWidth && y < other->YPos + kHeadHeight) {
      return 1;
    }
  }
  return 0;
}
