// Opening a level handed over as one file (world/map_pair_file.h) in place of the map.
#pragma once

#include <string>

// "Loading maps.", then the file's map put in place as one undoable step, as L does, with the
// scroll locks, light map and chunks worked out anew as at start-up. A malformed file is
// refused with the game's message ("Wrong size!" or "Failure to load file."), leaves the map as
// it was and adds no step. True when the map was replaced.
bool OpenMapPairAsStep(const std::string& path);
