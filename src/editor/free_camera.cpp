// The free camera's steering: the arrow keys and the wheel move the left view, a press or drag
// in the map overview puts it where the pointer is, and the map's edges hold it.
#include "editor/free_camera.h"

#include "editor/map_overview.h"
#include "platform/commands.h"
#include "platform/input.h"
#include "shared/units.h"
#include "world/scroller.h"

bool FreeCameraOn, OverviewDragging, ButtonsHeldAtFrameStart;

namespace {

// A steady glide of six pixels a frame, four times that with Shift: the map's width in about
// six seconds, or one and a half.
constexpr int64_t kArrowStep = 6 * PIXEL_UNITS;
constexpr int64_t kShiftFactor = 4;
constexpr int64_t kWheelStep = 3 * TILE_UNITS;  // one notch: three cells

bool AnyButtonHeld() {
  return CommandHeld(Command::kOverviewSteer);
}

void SteerWithKeys(TScroller& view) {
  const int64_t step = CommandHeld(Command::kScrollFaster) ? kArrowStep * kShiftFactor : kArrowStep;
  int64_t dx = 0, dy = 0;
  if (CommandHeld(Command::kScrollLeft)) dx -= step;
  if (CommandHeld(Command::kScrollRight)) dx += step;
  if (CommandHeld(Command::kScrollUp)) dy -= step;
  if (CommandHeld(Command::kScrollDown)) dy += step;
  view.MShiftCamera(dx, dy);
}

// Up the wheel (away from the user) scrolls up, or left with Shift; a wheel that turns across
// scrolls across either way.
void SteerWithWheel(TScroller& view) {
  const int64_t across = MouseWheelX();
  const int64_t up = MouseWheelY();
  if (CommandHeld(Command::kScrollFaster)) {
    view.MShiftCamera((across - up) * kWheelStep, 0);
  } else {
    view.MShiftCamera(across * kWheelStep, -up * kWheelStep);
  }
}

// The view centres on the middle of the overview cell under the pointer.
void SteerWithOverview(TScroller& view) {
  int cx = 0, cy = 0;
  OverviewCellAt(MousePosX(), MousePosY(), cx, cy);
  view.MCentreCameraOn(cx * TILE_UNITS + TILE_UNITS / 2, cy * TILE_UNITS + TILE_UNITS / 2);
}

}  // namespace

void FreeCameraFrameStart() {
  const bool held = AnyButtonHeld();
  if (!held) {
    OverviewDragging = false;
  } else if (!ButtonsHeldAtFrameStart && FreeCameraOn &&
             OverviewContains(MousePosX(), MousePosY())) {
    OverviewDragging = true;
  }
  ButtonsHeldAtFrameStart = held;
}

void FreeCameraInput() {
  if (!FreeCameraOn || !Scrollers[0]) return;
  TScroller& view = *Scrollers[0];
  SteerWithKeys(view);
  SteerWithWheel(view);
  if (OverviewDragging) SteerWithOverview(view);
}

bool PointerOnOverview() {
  return FreeCameraOn && (OverviewDragging || OverviewContains(MousePosX(), MousePosY()));
}

void ResetFreeCamera() {
  FreeCameraOn = OverviewDragging = ButtonsHeldAtFrameStart = false;
}

void EnterFreeCamera() {
  FreeCameraOn = true;
}

void LeaveFreeCamera() {
  FreeCameraOn = false;
  OverviewDragging = false;
}
