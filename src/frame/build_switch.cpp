// Switching between building and playing, and keeping the actors at their starts while building.
#include "frame/build_switch.h"

#include "actors/actor.h"
#include "editor/build_mode.h"
#include "editor/free_camera.h"
#include "frame/clock.h"
#include "frame/edit_switches.h"
#include "frame/game.h"
#include "platform/commands.h"
#include "platform/random.h"
#include "shared/game_events.h"
#include "world/level_starts.h"
#include "world/scroller.h"

namespace {

// The seed R's test map is drawn from.
constexpr int32_t kRestartSeed = 7777;

// The starts the actors shown while building were made at.
TLevelStarts& ShownStarts() {
  static TLevelStarts starts;
  return starts;
}

void Note(BuildNote note) {
  TGameEvents::FReport(GameEvent::kBuildNote, 0, 0, static_cast<int32_t>(note));
}

void FreshActors() {
  for (auto& column : ActorBuckets)
    for (auto& bucket : column)
      bucket.clear();
  TActor::FClear();
  CreateActorsAtStarts();
}

// The level as built is on the map: fresh actors at its starts, seeded as a restart seeds, so
// every play-test of the same level plays the same.
void StartPlay() {
  SeedRandom(kRestartSeed);
  FreshActors();
  TScroller::FRefreshFromMap();
}

}  // namespace

void BuildModeKey() {
  if (CommandPresses(Command::kBuildMode) % 2 == 0) return;
  if (Build.On) {
    PlayBuiltLevel();
  } else {
    EnterBuildMode();
  }
}

void EnterBuildMode() {
  TBuild::FEnter();
  FreshActors();
  ShownStarts() = LevelStarts;
  TScroller::FRefreshFromMap();
  WorldHeld = true;
  SetFreeCamera(true);
  Note(BuildNote::kBuilding);
}

void PlayBuiltLevel() {
  TBuild::FLeave();
  StartPlay();
  WorldHeld = false;
  TClock::FRestartSums();
  SetFreeCamera(false);
  Note(BuildNote::kPlaying);
}

void RestartBuiltLevel() {
  if (Build.On) {
    Note(BuildNote::kHeldWhileBuilding);
    return;
  }
  PutAuthoredLevel(Build.Level);
  StartPlay();
  Note(BuildNote::kRestartedPlay);
}

void BuildUpkeep() {
  if (!Build.On || LevelStarts == ShownStarts()) return;
  FreshActors();
  ShownStarts() = LevelStarts;
}
