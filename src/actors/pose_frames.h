// The poses an actor shows, as the first frame of each in the actor sheet (ActorGfxKelpo.bmp).
// Poses of four frames step with AnimPhase, the others (two frames) with SlowToggle.
#pragma once

#include <cstdint>

constexpr int32_t kPoseRun = 0;      // four frames
constexpr int32_t kPoseRunFast = 4;  // four frames
constexpr int32_t kPoseStand = 8;
constexpr int32_t kPoseSkid = 10;  // running, steered against the run
constexpr int32_t kPoseSkidFast = 12;
constexpr int32_t kPoseDuckWalk = 14;  // four frames
constexpr int32_t kPoseDuckStill = 18;
constexpr int32_t kPoseDuckSlide = 20;
constexpr int32_t kPoseDuckSlideFast = 22;
constexpr int32_t kPoseWallCling = 24;
constexpr int32_t kPoseWallClimbUp = 26;
constexpr int32_t kPoseWallClimbDown = 30;
constexpr int32_t kPoseRise = 32;
constexpr int32_t kPoseFall = 34;
constexpr int32_t kPoseLanding = 36;  // held after a hard landing; no jump starts from it

// Whether a pose runs through four frames rather than two.
constexpr bool PoseHasFourFrames(int32_t pose) {
  return pose == kPoseRun || pose == kPoseRunFast || pose == kPoseDuckWalk;
}
