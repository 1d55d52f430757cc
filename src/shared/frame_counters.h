// The main loop's counters, read by whatever animates: FrameTick runs 0..6, and each time it
// wraps SlowToggle flips (0, 1) and AnimPhase steps (0..3). QuitFlag ends the loop.
#pragma once

#include <cstdint>

// Defined in frame/main_program.cpp, 0 after ResetProgramVariables there; advanced between
// passes by AdvanceCounters in the same file.
extern uint8_t FrameTick, SlowToggle, AnimPhase, QuitFlag;
