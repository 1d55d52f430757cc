// The game's run on SDL2: SDL and the pads started, the window backend in place while the run
// lasts, SDL shut down after it. The process entry (frame/ravelon_main.cpp) chooses this backend.
#pragma once

#include <functional>

// Runs run() with the window backend in place and returns its status. Without video the window
// cannot open; start-up then says so and the run ends with status 1. fill: the largest picture
// that fits from the start (F9 switches it), even where whole steps of 2 or more fit.
int RunOnSdl(int scale, bool fullscreen, bool fill, const std::function<int()>& run);
