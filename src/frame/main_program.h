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
#include "shared/random_styles.h"
#include "shared/units.h"

class TActor;

extern std::shared_ptr<TActor> BadguyActor;  // the bad guy the right-hand view follows

// Creates (resets) every class-level table and variable of the game, in the documented order.
void CreateTables();

class TMain {
 public:
  static int FBoot();
  static int FDefaultState();
  static int FRun();
  static int FGoodbye();
};

// The whole program on the current backend: start-up, the main loop until Escape or a close
// request, goodbye. Returns the exit status. With run_loop false it stops after start-up.
int RunRavelon(bool run_loop = true);

// The window caption, also written into recordings of play.
inline constexpr const char* kGameTitle = "Ravelon v0.09a";

// Called after every pass of the main loop with its number (from 1), before the backend may end
// the loop; empty for none. A recording of play writes its lines here.
void SetPassObserver(std::function<void(int pass)> observer);

// One pass of the main loop (Escape and close checks, the frame, the pause, the counters).
void MainLoopPass();

void DrawStatLine(const std::string& label, int32_t value, int x, int y);
