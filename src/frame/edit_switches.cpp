// The building switches: the free camera, the held world, the instructions panel and playing
// from the pointer (from build mode: the level as built, from the pointer), each reported on the
// game-event channel for the on-screen messages.
#include "frame/edit_switches.h"

#include "actors/actor.h"
#include "actors/profile.h"
#include "editor/build_mode.h"
#include "editor/free_camera.h"
#include "editor/map_overview.h"
#include "frame/build_switch.h"
#include "frame/clock.h"
#include "platform/commands.h"
#include "platform/input.h"
#include "shared/game_events.h"
#include "shared/units.h"
#include "world/map.h"
#include "world/scroller.h"

bool WorldHeld, PanelShown;

void ResetEditSwitches() {
  WorldHeld = false;
  PanelShown = true;
}

namespace {

// An odd number of presses in one frame switches; an even number leaves the switch as it was.
bool Switched(Command command) {
  return CommandPresses(command) % 2 == 1;
}

void Report(GameEvent kind, bool on) {
  TGameEvents::FReport(kind, 0, 0, on ? 1 : 0);
}

// The map cell under the pointer: the overview's cell where the overview shows, else the left
// view's cell through its camera; false outside the left view.
bool CellUnderPointer(int& cx, int& cy) {
  const int mx = MousePosX();
  const int my = MousePosY();
  if (FreeCameraOn && OverviewContains(mx, my)) {
    OverviewCellAt(mx, my, cx, cy);
    return true;
  }
  const TScroller* view = Scrollers[0].get();
  if (!view || mx < 0 || my < 0 || mx >= SCREEN_WIDTH_PIXELS || my >= SCREEN_HEIGHT_PIXELS)
    return false;
  cx = UnitsToCell(view->CameraCornerX + int64_t{mx} * PIXEL_UNITS);
  cy = UnitsToCell(view->CameraCornerY + int64_t{my} * PIXEL_UNITS);
  return true;
}

}  // namespace

void SetFreeCamera(bool on) {
  if (on == FreeCameraOn) return;
  if (on) {
    EnterFreeCamera();
  } else {
    LeaveFreeCamera();
  }
  Report(GameEvent::kFreeCamera, on);
}

void SetWorldHeld(bool held) {
  if (held == WorldHeld) return;
  WorldHeld = held;
  // The frames the world waited are not the world's: the profiler's sums start afresh, so its
  // next average counts none of them.
  if (!held) TClock::FRestartSums();
  Report(GameEvent::kWorldHeld, held);
}

void EditSwitchKeys() {
  if (Switched(Command::kFreeCamera)) SetFreeCamera(!FreeCameraOn);
  // Build mode holds the world until Enter plays.
  if (Switched(Command::kHoldWorld)) {
    if (Build.On) {
      TGameEvents::FReport(GameEvent::kBuildNote, 0, 0,
                           static_cast<int32_t>(BuildNote::kHeldWhileBuilding));
    } else {
      SetWorldHeld(!WorldHeld);
    }
  }
  if (Switched(Command::kPanel)) {
    PanelShown = !PanelShown;
    Report(GameEvent::kPanelShown, PanelShown);
  }
}

void PlayFromPointerKey() {
  if (CommandPresses(Command::kPlayFromPointer) == 0) return;
  // While building, T plays the level as built from the pointer; over a block nothing happens.
  if (Build.On) {
    if (!PointerCellPlayable()) return;
    PlayBuiltLevel();
  }
  PlayFromPointer();
}

void ReadPlayerPad() {
  const auto& profile = Profiles[kPlayerProfile];
  if (!profile) return;
  if (!FreeCameraOn) {
    TProfile::FUpdate();
    return;
  }
  profile->VPad = profile->Hpad = kNoDirection;
  profile->Pluspad = PluspadOf(kNoDirection, kNoDirection);
  profile->AButton = profile->BButton = 0;
}

bool PointerCellPlayable() {
  int cx = 0, cy = 0;
  if (!CellUnderPointer(cx, cy) || !TMap::FBoundsMargin(cx, cy)) return false;
  return !BlockGrid[cx][cy] && SolidGrid[cx][cy] != kSolidBlock;
}

bool PlayFromPointer() {
  TActor* player = Profiles[kPlayerProfile] ? Profiles[kPlayerProfile]->Actor.get() : nullptr;
  int cx = 0, cy = 0;
  if (!player || !PointerCellPlayable() || !CellUnderPointer(cx, cy)) return false;
  player->XPos = int64_t{cx} * TILE_UNITS + TILE_UNITS / 2;
  // The feet line on the cell's last row of units: inside the cell, over whatever lies below.
  player->YPos = int64_t{cy + 1} * TILE_UNITS - 1;
  player->XVel = player->YVel = 0;
  player->MBucketChange();
  SetFreeCamera(false);
  SetWorldHeld(false);
  return true;
}
