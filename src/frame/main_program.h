// Start-up, the program-level variables and the main loop.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The program-level variables live in shared/ so the lower layers can reach them; they are
// re-exported here for the program's own users.
#include "shared/frame_counters.h"
#include "shared/game_images.h"
#include "shared/game_title.h"
#include "shared/pass_observer.h"
#include "shared/units.h"
#include "world/random_styles.h"

class TActor;

extern std::shared_ptr<TActor> BadguyActor;  // the bad guy the right-hand view follows

// frame/tables.cpp: creates (resets) every class-level table and variable of the game, each
// through its owner's reset and in the order the game has always created them. It runs before
// anything else of the game, so the whole program can start again in the same process.
void CreateTables();

// frame/main_program.cpp, like the variables' definitions: the images, the frame counters and
// BadguyActor null or 0.
void ResetProgramVariables();

// frame/main_program.cpp from here on, DrawStatLine aside.
class TMain {
 public:
  // Opens the window, sets the mask and clear colours, boots the views, the editor, the map,
  // the actors, the profile and the blocks, then loads the art. No window ends the program.
  static int FBoot();
  // The subsystems' boots in start-up's order: the views, the editor, the map, the actors, the
  // profile, the blocks. FBoot runs them once the window is open; the tests boot through here.
  static int FBootSubsystems();
  static int FDefaultState();  // prints its line, nothing more
  static int FRun();           // the main loop: passes until QuitFlag or the backend's end
  static int FGoodbye();       // leaving with unsaved edits keeps them in recovery/
};

// The whole program on the current backend: start-up, the main loop until Escape or a close
// request, goodbye. Returns the exit status. With run_loop false it stops after start-up.
int RunRavelon(bool run_loop = true);

// Whether leaving with unsaved edits writes them into recovery/ (the default). A replay plays in
// a scratch folder that is thrown away, where a recovery pair would only mislead.
void SetKeepUnsavedEditsOnQuit(bool keep);
// What no S has saved, into recovery/ as a pair (and, for a level file or a new level, as a
// level beside it), with a line saying where; nothing without unsaved edits or when the run
// keeps none. Leaving does it, and so does opening another level from the level list.
void KeepUnsavedEdits();

// One pass of the main loop (Escape and close checks, the frame, the pause, the counters).
void MainLoopPass();
// The frame counters advance between passes: FrameTick 0..6, then SlowToggle and AnimPhase.
// A held world keeps them: its water steps and animations go on from the same count later.
// The loop's pass calls it; so does a program that times the pass's pieces apart.
void AdvanceCounters();
// Tells the pass observer (shared/pass_observer.h) that pass number `pass` is over: the loop
// does, and so does a program that runs the passes itself (the web page, by its pass clock).
void ObservePass(int pass);

// frame/stat_line.cpp: a label and a number, with a shadow, as the profiler shows them.
void DrawStatLine(const std::string& label, int32_t value, int x, int y);
