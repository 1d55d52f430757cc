// The play state: entering it (the dummy map and the two starting actors), one frame's update
// and drawing between the clocks, and the flip. Also the empty state skeleton.
#include "frame/game.h"

#include "actors/actor.h"
#include "actors/profile.h"
#include "editor/build_mode.h"
#include "editor/editor.h"
#include "editor/free_camera.h"
#include "editor/undo_history.h"
#include "fluid/fluid.h"
#include "frame/build_switch.h"
#include "frame/clock.h"
#include "frame/edit_switches.h"
#include "frame/main_program.h"
#include "frame/overlay.h"
#include "platform/commands.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"
#include "shared/game_events.h"
#include "world/block.h"
#include "world/level_starts.h"
#include "world/map.h"
#include "world/scroller.h"

int TGame::FBoot() {
  return FLoadAssets();
}
int TGame::FLoadAssets() {
  return 0;
}
int TGame::FExitState() {
  return 0;
}

void CreateActorsAtStarts() {
  if (LevelStarts.Badguys.empty()) LevelStarts.Badguys = DefaultLevelStarts().Badguys;
  const TStartPoint& first = LevelStarts.Badguys.front();
  BadguyActor = TActor::FCreate(first.X, first.Y, kUserBadguy);
  const TStartPoint& player = LevelStarts.Player;
  Profiles[kPlayerProfile]->Actor = TActor::FCreate(player.X, player.Y, kUserPlayer);
  for (size_t i = 1; i < LevelStarts.Badguys.size() && ActorCount < kActorCap; ++i)
    TActor::FCreate(LevelStarts.Badguys[i].X, LevelStarts.Badguys[i].Y, kUserBadguy);
}

int TGame::FEnterState() {
  TMap::FClear();
  TMap::FDummyMap();
  CreateActorsAtStarts();
  TScroller::FRefreshFromMap();
  return 0;
}

int TGame::FRun() {
  TClock::FStartClock(kClockFrame);
  TClock::FStartClock(kClockPhysics);
  FUpdate();
  TClock::FEndClock(kClockPhysics);
  TClock::FStartClock(kClockDraw);
  FDraw();
  TClock::FEndClock(kClockDraw);
  TClock::FEndClock(kClockFrame);
  // While the world is held the frame counters wait, and with them the averaging: the figures
  // stay as they were.
  if (!WorldHeld) TClock::FAverage();
  if (PanelShown) TClock::FDraw();
  TOverlay::FLayOut();
  Flip(1);
  return 0;
}

int TGame::FUpdate() {
  EditSwitchKeys();
  BuildModeKey();
  TEditor::FFrameStart();
  // A held world draws no random number and moves nothing; the editor goes on as ever.
  if (!WorldHeld) {
    ReadPlayerPad();
    TActor::FUpdateBadguys();
    TBlock::FUpdate();
    if (FrameTick == 0) TFluid::FSim();
  }
  TEditor::FInput();
  PlayFromPointerKey();
  // R restarts at once: the rest of this frame draws the fresh game. Once build mode has been
  // used it plays the level as built again instead.
  if (CommandPresses(Command::kRestart) != 0) {
    if (Build.Used) {
      RestartBuiltLevel();
    } else {
      // A restart throws the map away for the dummy map: one undo step brings it back.
      TUndoHistory::FBeginWholeMapStep(UndoneStep::kRestart);
      FEnterState();
      TUndoHistory::FEndWholeMapStep();
      TBuild::FLevelReplaced();
      TGameEvents::FReport(GameEvent::kRestarted);
    }
  }
  BuildUpkeep();
  return 0;
}

int TGame::FDraw() {
  // The free camera's view stays where it was steered to.
  if (FreeCameraOn) {
    Scrollers[0]->MDrawStill(0, 0);
  } else {
    Scrollers[0]->MDraw(Profiles[kPlayerProfile]->Actor.get(), 0, 0);
  }
  Scrollers[1]->MDraw(BadguyActor.get(), 416, 0);
  TEditor::FDraw();
  if (PanelShown) DrawImageFrame(InstrImage.get(), 20, 20, 0);
  return 0;
}

int Template::FBoot() {
  return FLoadAssets();
}
int Template::FLoadAssets() {
  return 0;
}
int Template::FEnterState() {
  return 0;
}
int Template::FExitState() {
  return 0;
}
int Template::FRun() {
  FUpdateAll();
  FDrawAll();
  return 0;
}
int Template::FDrawAll() {
  return 0;
}
int Template::FUpdateAll() {
  return 0;
}
