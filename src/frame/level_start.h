// The level file start-up plays instead of the raw pair (ravelon --level, ravelon-sim --level),
// and the console lines of reading a level file.
#pragma once

#include <string>

#include "world/level_file.h"

// Empty (the default): start-up loads the raw pair as it always has.
void SetStartLevelFile(const std::string& path);
const std::string& StartLevelFile();

// Reads a level file with its lines: "Loading level PATH.", one line for each kind of thing
// passed over, and on refusal "Level PATH refused: WHY." (the map is then not to be touched;
// `why`, when given, gets the reason).
bool ReadLevelWithLines(const std::string& path, TLevel& level, std::string* why = nullptr);

// Start-up's half of a level file: the level read before the play state is entered, so its
// actors are made at its starts; false (and the raw pair to be loaded) without one or when it
// is refused.
bool ReadStartLevel(TLevel& level);
// Puts the level read into the map and makes it the current level.
void UseStartLevel(const TLevel& level);
// The same for a level from `path` (empty for one without a file): its grids, water and starts
// into the map, and the current level the one S saves.
void UseLevel(const std::string& path, const TLevel& level);
