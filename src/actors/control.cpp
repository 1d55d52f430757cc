// Where an actor's input comes from (the player's profile or a bad guy's random mind) and what
// the input does to its velocity: running, jumping, climbing and wall jumps.
#include "actors/actor.h"
#include "actors/pose_frames.h"
#include "actors/profile.h"
#include "platform/random.h"
#include "shared/game_codes.h"
#include "shared/game_events.h"

namespace {

constexpr int64_t kGroundAccel = 5000;
constexpr int64_t kGroundAccelA = 2000;  // the A button walks
constexpr int64_t kDuckedAccel = 3000;
constexpr int64_t kSteerAccel = 2000;  // in the air and on a wall
constexpr int64_t kClimbAccel = 3000;
constexpr int64_t kJumpVel = -256000;
constexpr int64_t kJumpHold = 4000;  // holding jump lifts, holding down cuts the rise
constexpr int64_t kWallJumpYVel = -96000;
constexpr int64_t kWallJumpXVel = 128000;
// Compared as the float constant, widened: the draw must fall below 0.019999999552965164.
constexpr UnitChance kChangeOfMind = Chance(0.02f);

// Mind entry -> input value; each row is indexed by the entry 0, 1, 2.
constexpr int32_t kMindVPad[3] = {kNoDirection, kUp, kDown};
constexpr int32_t kMindHpad[3] = {kNoDirection, kLeft, kRight};
constexpr int32_t kMindBButton[3] = {0, 0, 1};
constexpr int32_t kMindAButton[3] = {0, 1, 1};

int32_t MindChoice(const int32_t* table, int32_t entry) {
  return entry >= 0 && entry < 3 ? table[entry] : 0;
}

int64_t Steer(int32_t hpad, int64_t accel) {
  if (hpad == kLeft) return -accel;
  if (hpad == kRight) return accel;
  return 0;
}

}  // namespace

int TActor::MInputFromMind() {
  for (int32_t& entry : MentalState) {
    if (RandomUnitBelow(kChangeOfMind)) entry = static_cast<int32_t>(RandomRange(3, 0));
  }
  VPad = MindChoice(kMindVPad, MentalState[0]);
  Hpad = MindChoice(kMindHpad, MentalState[1]);
  BButton = MindChoice(kMindBButton, MentalState[2]);
  AButton = MindChoice(kMindAButton, MentalState[3]);
  return 0;
}

int TActor::MInput() {
  if (User == kUserPlayer) {
    const TProfile* profile = Profiles[kPlayerProfile].get();
    if (!profile) return 0;
    BButton = profile->BButton;
    AButton = profile->AButton;
    Pluspad = profile->Pluspad;
    Hpad = profile->Hpad;
    VPad = profile->VPad;
  } else if (User == kUserBadguy) {
    MInputFromMind();
  }
  return 0;
}

int TActor::MControl() {
  if (Grounded == 1) {
    int64_t accel = kGroundAccel;
    if (VPad == kDown) {
      accel = kDuckedAccel;
    } else if (AButton == 1) {
      accel = kGroundAccelA;
    }
    XVel += Steer(Hpad, accel);
    if (BButton > 0 && Pose != kPoseLanding) {
      YVel = kJumpVel;
      Grounded = 0;
      TGameEvents::FReport(GameEvent::kJump, XPos, YPos, 0, MEventActor());
    }
  } else if (Hugged == 1) {
    XVel += Steer(Hpad, kSteerAccel);
    if (VPad == kUp) YVel -= kClimbAccel;
    if (VPad == kDown) YVel += kClimbAccel;
    // A clinging actor faces its wall: the pad must point away from it.
    const bool away =
        (LastFacing == kLeft && Hpad == kRight) || (LastFacing == kRight && Hpad == kLeft);
    if (BButton > 0 && Pose != kPoseLanding && away) {
      YVel = kWallJumpYVel;
      XVel = LastFacing == kLeft ? kWallJumpXVel : -kWallJumpXVel;
      Grounded = 0;
      Hugged = 0;
      TGameEvents::FReport(GameEvent::kWallJump, XPos, YPos, 0, MEventActor());
    }
  } else {
    XVel += Steer(Hpad, kSteerAccel);
    if (BButton > 0 && YVel < 0) YVel -= kJumpHold;
    if (VPad == kDown && YVel < 0) YVel += kJumpHold;
  }
  return 0;
}
