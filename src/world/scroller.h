// One view of the world: a 400x288 window onto the map whose camera follows one actor.
#pragma once

#include <cstdint>
#include <memory>

class TActor;

class TScroller {
 public:
  int64_t XHandleUnits = 0;
  int64_t YHandleUnits = 0;
  int64_t XPosPixelOfs = 0;
  int64_t YPosPixelOfs = 0;
  int64_t XPosTile = 0;
  int64_t YPosTile = 0;
  int64_t CameraXPos = 0;
  int64_t CameraYPos = 0;
  int64_t CameraXVel = 0;
  int64_t CameraYVel = 0;
  int64_t CameraCornerX = 0;
  int64_t CameraCornerY = 0;

  static int FBoot();
  static int FDefaultState();
  static int FEvaluateScrollLocks();
  int MDraw(const TActor* actor, int screen_x, int screen_y);
  static int FUpdate() { return 0; }

  // The camera half of MDraw (target, locks, easing, corner clamp), without drawing.
  void MMoveCamera(const TActor& actor);
};

extern std::shared_ptr<TScroller> Scrollers[2];
