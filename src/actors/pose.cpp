// The pose an actor shows, chosen afresh at the end of each update from its contact flags, its
// speed and its pad, unless a held pose (the hard landing) is still running out.
#include <cstdlib>

#include "actors/actor.h"
#include "actors/pose_frames.h"
#include "shared/game_codes.h"

namespace {

constexpr int64_t kStill = 10000;  // below this an actor counts as nearly still
constexpr int64_t kFast = 110000;  // from this on it runs fast

enum class Steering { None, With, Against };

Steering SteeringOf(int32_t hpad, int64_t xvel) {
  if (hpad != kLeft && hpad != kRight) return Steering::None;
  if ((hpad == kLeft && xvel < 0) || (hpad == kRight && xvel > 0)) return Steering::With;
  return Steering::Against;
}

int32_t GroundPose(int64_t xvel, int32_t hpad, bool ducking) {
  const int64_t speed = std::llabs(xvel);
  const Steering steering = SteeringOf(hpad, xvel);
  if (speed < kStill) return ducking ? kPoseDuckStill : kPoseStand;
  if (speed < kFast) {
    if (steering == Steering::With) return ducking ? kPoseDuckWalk : kPoseRun;
    if (steering == Steering::Against) return ducking ? kPoseDuckSlide : kPoseSkid;
    return ducking ? kPoseDuckSlide : kPoseRun;
  }
  if (steering == Steering::Against) return ducking ? kPoseDuckSlideFast : kPoseSkidFast;
  return ducking ? kPoseDuckSlideFast : kPoseRunFast;
}

int32_t WallPose(int64_t yvel) {
  if (std::llabs(yvel) < kStill) return kPoseWallCling;
  return yvel < 0 ? kPoseWallClimbUp : kPoseWallClimbDown;
}

}  // namespace

int TActor::MChoosePose() {
  if (HoldPose > 0) {
    --HoldPose;
    return 0;
  }
  if (Grounded == 1) {
    Pose = GroundPose(XVel, Hpad, VPad == kDown);
  } else if (Hugged == 1) {
    Pose = WallPose(YVel);
  } else {
    Pose = YVel < 0 ? kPoseRise : kPoseFall;
  }
  return 0;
}
