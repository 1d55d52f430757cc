// The overlay's model fed by the game's events, and the scene laid out from it each frame.
#include "frame/overlay.h"
#include "frame/level_label.h"

#include "editor/build_mode.h"
#include "editor/level_name_prompt.h"
#include "editor/picker_overlay.h"
#include "frame/help_overlay.h"
#include "frame/level_list.h"
#include "frame/overlay_messages.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/render/draw.h"
#include "shared/game_events.h"

namespace {

// Pause messages already shown by FShowPause, whose events are not to show them twice.
int PausesShown = 0;

uint32_t Now() {
  return static_cast<uint32_t>(ClockMillis());
}

void Hear(std::span<const GameEventRecord> events) {
  const uint32_t now = Now();
  for (const GameEventRecord& event : events) {
    if (event.Kind == GameEvent::kPaused && PausesShown > 0) {
      --PausesShown;
      continue;
    }
    TOverlayMessages::FHear({&event, 1}, now);
  }
}

}  // namespace

void TOverlay::FStart() {
  TOverlayMessages::FReset();
  THelp::FReset();
  TLevelList::FReset();
  TNamePrompt::FReset();
  PausesShown = 0;
  SetOverlayScene({});
  // Listeners can be forgotten between runs (the tests do): each start listens anew, and the
  // listeners of earlier starts, should they still be there, fall silent.
  static int generation = 0;
  TGameEvents::FListen([start = ++generation](std::span<const GameEventRecord> events) {
    if (start == generation) Hear(events);
  });
}

void TOverlay::FLayOut() {
  OverlayScene scene;
  // The help covers the picture: nothing else shows while it is up.
  if (THelp::FShown()) {
    THelp::FLayOut(scene);
    SetOverlayScene(std::move(scene));
    return;
  }
  // So does the name prompt of a new level file, and the level list.
  if (TNamePrompt::FShown()) {
    TNamePrompt::FLayOut(scene);
    SetOverlayScene(std::move(scene));
    return;
  }
  if (TLevelList::FShown()) {
    TLevelList::FLayOut(scene);
    SetOverlayScene(std::move(scene));
    return;
  }
  if (Build.On) LayOutBuildOverlay(scene, MousePosX(), MousePosY());
  TOverlayMessages::FLayOut(scene, Now(), kBackBufferWidth);
  LayOutPickerOverlay(scene, MousePosX(), MousePosY());
  LayOutLevelLabel(scene);
  SetOverlayScene(std::move(scene));
}

void TOverlay::FShowPause() {
  const GameEventRecord pause{GameEvent::kPaused, 3000, 0, 0};
  TOverlayMessages::FHear({&pause, 1}, Now());
  ++PausesShown;
  FLayOut();
  if (Backend* backend = CurrentBackend()) backend->ShowAgain();
}
