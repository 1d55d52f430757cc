// A hook at the end of every pass of the main loop, for whoever watches play from outside it
// (the recorder of play). Kept here, below the main loop, so a watcher need not include it.
#pragma once

#include <functional>

// Defined in frame/main_program.cpp. Called after every pass of the main loop with its number
// (from 1), before the backend may end the loop; empty for none.
void SetPassObserver(std::function<void(int pass)> observer);
