// A level put in place of the map: its grids, its water and its starts.
#pragma once

#include "world/level_file.h"

// The whole map from the level, as a load of the raw pair does, then the water (cells under
// blocks stay dry) and the start table. The actors are not moved: a play state entered
// afterwards creates them at the new starts.
void SetMapFromLevel(const TLevel& level);
