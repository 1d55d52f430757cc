// The short lines the game shows over its picture when something happens that a player should
// see (a save, a load, an undo, a pause, a pad): each made from a game event, shown for about two
// seconds and faded out, the newest on top and at most three at once.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/render/overlay_scene.h"
#include "shared/game_events.h"

// The line for an event, or empty for events that show none (the gameplay's own).
std::string MessageFor(const GameEventRecord& event);

class TOverlayMessages {
 public:
  static constexpr size_t kMostShown = 3;
  static constexpr uint32_t kShownMillis = 2000;   // fully there
  static constexpr uint32_t kFadeMillis = 500;     // then fading out
  static constexpr uint32_t kPromptMillis = 8000;  // the start-up offer of recovered edits

  static void FReset();
  // Turns the events into lines that start at `now` (milliseconds of the game's clock).
  static void FHear(std::span<const GameEventRecord> events, uint32_t now);
  // A line of its own, shown from now.
  static void FAdd(const std::string& text, uint32_t now, uint32_t shown = kShownMillis);
  // The lines still visible at `now`, newest first, with their opacity (255 fully there).
  struct Shown {
    std::string Text;
    uint8_t Alpha;
  };
  static std::vector<Shown> FVisible(uint32_t now);
  // Adds the visible lines to the scene: centred over the picture, newest on top.
  static void FLayOut(OverlayScene& scene, uint32_t now, int picture_width);
};
