// The name a new level file gets: Ctrl+S (and S on a new level no save has named) asks for it in
// a small panel over the presented picture, prefilled with the first free level-N. Printable
// characters typed add to it, Backspace takes the last one back, Enter saves the level as
// levels/NAME.tmx and Escape gives up. A name that is unfit, or taken by a file already there,
// is said in the panel and nothing is written. While it is shown the game waits as it does behind
// the level list: a pass with the panel up runs no frame, and its keys do nothing, then or later.
#pragma once

#include <string>

#include "platform/render/overlay_scene.h"

class TNamePrompt {
 public:
  // Hidden (at every start of the game).
  static void FReset();
  // Shows the panel, prefilled; asks the input for typed text.
  static void FOpen();
  static bool FShown();
  // The panel's keys and typed text from the pass's input: true when the pass is the panel's,
  // the rest of its presses then forgotten.
  static bool FTakePass();
  static void FLayOut(OverlayScene& scene);

  // For the tests: the name as it stands, and what the panel says about the last Enter.
  static const std::string& FName();
  static const std::string& FNote();
};
