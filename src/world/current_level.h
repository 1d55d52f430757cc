// The level being played: where S saves it (the raw pair, or its level file) and what it is
// called on screen. Start-up without a level file leaves it on the raw pair; the level list's
// new empty level is a level without a file until its first save.
#pragma once

#include <string>

#include "world/authored_level.h"
#include "world/level_file.h"

struct TCurrentLevel {
  std::string Path;   // the level file; empty for the raw pair
  std::string Name;   // the level's name; empty for the raw pair
  std::string Music;  // the tune the level names, kept through a save; empty for none
  // A new level no save has named yet (Path and Name empty): S saves it as Ctrl+S does.
  bool Untitled = false;
};

extern TCurrentLevel CurrentLevel;

// The map as it stands as a level: grids, water, starts, and the current level's name and music.
TLevel LevelFromMap();
// The level as built (build mode's) as a level, with the current level's name and music; each
// of its water cells is a full one.
TLevel LevelFromAuthored(const TAuthoredLevel& authored);

// The name a level file gets when it names none: its file name without ".tmx", or "level" when
// that is no fit name.
std::string LevelNameFromPath(const std::string& path);

// Writes `level` as a level file at `path` through the safe writer (whole or absent), named from
// the path when it has no name. False with `why` on failure.
bool WriteLevelFile(const std::string& path, TLevel level, std::string& why);
