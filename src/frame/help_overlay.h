// The help: F1 shows the commands of the table, grouped by where they act, over the presented
// picture: in play every group but build mode's, in build mode build mode's with the groups
// that act while building; F1 or Escape hides it. While it is shown the game waits: a pass with F1
// in it, or with the help up, runs no frame, so nothing moves, nothing is painted, and the keys
// pressed in it (Escape, S, Tab, ...) do nothing, then or later.
#pragma once

#include <span>

#include "platform/commands.h"
#include "platform/render/overlay_scene.h"

class THelp {
 public:
  // Hidden (at every start of the game).
  static void FReset();
  static bool FShown();
  // Reads F1 (and Escape while shown) from the pass's input: true when the pass is the help's,
  // the rest of its presses then forgotten. An odd number of F1 presses switches the help.
  static bool FTakePass();
  // The help's pass: the same picture shown again with the overlay as it now stands.
  static void FShowPass();
  // Adds the help to the scene: a dark panel over the picture and the commands in columns, the
  // page of build mode while it is on.
  static void FLayOut(OverlayScene& scene);
  static void FLayOutPage(OverlayScene& scene, bool building);
  // The groups of a page, in the order shown; every group is on one page at least.
  static std::span<const CommandMode> FPageModes(bool building);
  // The panel's area in the picture's pixels, which the help never leaves.
  static OverlayBox FPanel();
};
