// The play state and the empty state skeleton.
#pragma once

// The play state, all in frame/game.cpp.
class TGame {
 public:
  // Starting the play state afresh: the map cleared for the dummy map, the bad guy the right
  // view follows and the player's actor created, scroll locks, light map and chunks evaluated.
  // Start-up calls it, and R calls it again to restart.
  static int FEnterState();
  // One frame: the update and the drawing between the clocks, the clocks' read-out, the flip.
  static int FRun();
  // The building switches (Tab, P, H) and Enter, the editor's stroke bookkeeping, then, unless
  // the world is held, the player's pad, every actor, the animating blocks and the water (every
  // seventh frame); the editor's input, T, R (one undo step), and while building the actors
  // put back at their starts when they changed.
  static int FUpdate();
  // Both views (the left one still while the free camera is on), the editor's overlay and,
  // unless hidden, the instructions panel.
  static int FDraw();

  // Not called by the game (these three): kept as part of TGame's interface.
  static int FBoot();
  static int FLoadAssets();
  static int FExitState();
};

// The actors of a fresh play state at the level's starts (frame/game.cpp): the first bad guy,
// the player, then the other bad guys as far as the actor cap allows. The actors must be
// cleared first.
void CreateActorsAtStarts();

// Not called by the game: the empty skeleton of a state, kept beside the one state there is.
class Template {
 public:
  static int FBoot();
  static int FLoadAssets();
  static int FEnterState();
  static int FExitState();
  static int FRun();
  static int FDrawAll();
  static int FUpdateAll();
};
