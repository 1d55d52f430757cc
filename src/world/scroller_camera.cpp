// The camera of a view: a target ahead of the actor, the walls of the screen regions, an easing
// step and the clamp that keeps the view's corner inside the map.
#include <cmath>

#include "actors/actor.h"  // up: the camera follows an actor
#include "shared/game_codes.h"
#include "shared/units.h"
#include "world/map.h"
#include "world/scroller.h"

namespace {

constexpr int64_t kHalfViewWidth = SCREEN_WIDTH_UNITS / 2;                     // 13107200
constexpr int64_t kHalfViewHeight = SCREEN_HEIGHT_UNITS / 2;                   // 9437184
constexpr int64_t kCornerLimitX = MAP_WIDTH_UNITS - SCREEN_WIDTH_UNITS - 1;    // 52428799
constexpr int64_t kCornerLimitY = MAP_HEIGHT_UNITS - SCREEN_HEIGHT_UNITS - 1;  // 37748735
constexpr int64_t kFacingLookAhead = 2 * TILE_UNITS;
constexpr int64_t kPadLookAhead = 3 * TILE_UNITS;
constexpr int64_t kVelocityLookAhead = 20;
constexpr int64_t kVerticalVelocityBias = 64000;
constexpr int64_t kVerticalLift = 2 * TILE_UNITS;
constexpr int64_t kLockBias = 32000;
constexpr int64_t kDeadZone = 1000;
constexpr float kEasing = 0.04f;

struct Point {
  int64_t x, y;
};

// Where the camera wants to be: ahead of the actor's facing, its look up or down while it stands,
// and where its velocity carries it, lifted so the view shows more above than below.
Point TargetOf(const TActor& actor) {
  Point t{actor.XPos, actor.YPos};
  if (actor.LastFacing == kLeft) t.x -= kFacingLookAhead;
  if (actor.LastFacing == kRight) t.x += kFacingLookAhead;
  if (actor.Grounded != 0) {
    if (actor.VPad == kUp) t.y -= kPadLookAhead;
    if (actor.VPad == kDown) t.y += kPadLookAhead;
  }
  t.x += actor.XVel * kVelocityLookAhead;
  t.y += (actor.YVel - kVerticalVelocityBias) * kVelocityLookAhead - kVerticalLift;
  return t;
}

bool InsideMap(const TActor& actor) {
  return actor.XPos >= 0 && actor.XPos < MAP_WIDTH_UNITS && actor.YPos >= 0 &&
         actor.YPos < MAP_HEIGHT_UNITS;
}

// A wall on a side of the actor's screen region pins the target to the region's centre while the
// actor stands in the part of the region next to that wall. An actor outside the map has no region
// of its own, so no wall holds its camera.
void ApplyScrollLocks(const TActor& actor, Point& t) {
  if (!InsideMap(actor)) return;
  const int64_t rx = actor.XPos / SCREEN_WIDTH_UNITS;
  const int64_t ry = actor.YPos / SCREEN_HEIGHT_UNITS;
  const int col = UnitsToCell(actor.XPos) % SCREEN_WIDTH_TILES;
  const int row = UnitsToCell(actor.YPos) % SCREEN_HEIGHT_TILES;
  const int64_t locked_x = rx * SCREEN_WIDTH_UNITS + kHalfViewWidth + kLockBias;
  const int64_t locked_y = ry * SCREEN_HEIGHT_UNITS + kHalfViewHeight + kLockBias;
  const uint8_t* locks = ScrollLocks[rx][ry];
  if (locks[kSideTop] == 1 && row >= 2 && row <= 9) t.y = locked_y;
  if (locks[kSideBottom] == 1 && row >= 9 && row <= 16) t.y = locked_y;
  if (locks[kSideLeft] == 1 && col >= 1 && col <= 13) t.x = locked_x;
  if (locks[kSideRight] == 1 && col >= 12 && col <= 23) t.x = locked_x;
}

// The step is taken in single precision on purpose: the camera's glide (and where it comes to
// rest) depends on the float rounding of the position, and a double step would drift from it.
int64_t EaseToward(int64_t camera, int64_t delta) {
  return static_cast<int64_t>(static_cast<float>(camera) + static_cast<float>(delta) * kEasing);
}

int64_t Clamp(int64_t value, int64_t limit) {
  if (value < 0) return 0;
  return value > limit ? limit : value;
}

}  // namespace

void TScroller::MMoveCamera(const TActor& actor) {
  Point target = TargetOf(actor);
  ApplyScrollLocks(actor, target);
  const int64_t dx = target.x - CameraXPos;
  const int64_t dy = target.y - CameraYPos;
  const double dxd = static_cast<double>(dx);
  const double dyd = static_cast<double>(dy);
  const auto distance = static_cast<int64_t>(std::sqrt(dxd * dxd + dyd * dyd));
  if (distance > kDeadZone) {
    CameraXPos = EaseToward(CameraXPos, dx);
    CameraYPos = EaseToward(CameraYPos, dy);
  }
  // Only the corner is clamped: the centre may lie past the edge while the view stays inside.
  CameraCornerX = Clamp(CameraXPos - kHalfViewWidth, kCornerLimitX);
  CameraCornerY = Clamp(CameraYPos - kHalfViewHeight, kCornerLimitY);
}

// The centre follows the clamped corner, so a camera pushed against an edge for any length of
// time stands at the edge, never beyond it, and comes back at once when pushed the other way.
void TScroller::MShiftCamera(int64_t dx, int64_t dy) {
  // Far beyond any distance across the map, and small enough that no sum below overflows.
  constexpr int64_t kFar = int64_t{1} << 40;
  dx = dx < -kFar ? -kFar : (dx > kFar ? kFar : dx);
  dy = dy < -kFar ? -kFar : (dy > kFar ? kFar : dy);
  if (dx == 0 && dy == 0) return;
  CameraCornerX = Clamp(CameraCornerX + dx, kCornerLimitX);
  CameraCornerY = Clamp(CameraCornerY + dy, kCornerLimitY);
  CameraXPos = CameraCornerX + kHalfViewWidth;
  CameraYPos = CameraCornerY + kHalfViewHeight;
}

void TScroller::MCentreCameraOn(int64_t x, int64_t y) {
  MShiftCamera(x - kHalfViewWidth - CameraCornerX, y - kHalfViewHeight - CameraCornerY);
}
