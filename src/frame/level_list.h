// The level list: Ctrl+O shows the level files of levels/ and "New empty level" over the
// presented picture; Up and Down or the wheel move the choice, Enter or a click opens it, Escape
// (or Ctrl+O again) closes the list. While it is shown the game waits as it does behind the help:
// a pass with the list up runs no frame, and the keys pressed in it do nothing, then or later.
#pragma once

#include <string>
#include <vector>

#include "platform/render/overlay_scene.h"

class TLevelList {
 public:
  // Hidden, nothing listed (at every start of the game).
  static void FReset();
  static bool FShown();
  // Reads Ctrl+O (and the list's keys while shown) from the pass's input: true when the pass is
  // the list's, the rest of its presses then forgotten. A click that opened a level keeps the
  // passes until its button is let go, so the press paints nothing in the level it opened.
  static bool FTakePass();
  // The list's pass: the same picture shown again with the overlay as it now stands.
  static void FShowPass();
  // Adds the list to the scene: a panel in the middle of the picture, a row per entry.
  static void FLayOut(OverlayScene& scene);

  // What the list offers, in order (the level files' names as shown, then "New empty level"),
  // and the chosen row: for the tests.
  static std::vector<std::string> FEntries();
  static int FChoice();
  // The panel's area and a row's, in the picture's pixels.
  static OverlayBox FPanel();
  static OverlayBox FRowBox(int row);
};
