// The level being played: where S saves it (the raw pair, or its level file) and what it is
// called on screen. Start-up without a level file leaves it on the raw pair; the level list's
// new empty level is a level without a file until its first save.
#pragma once

#include <string>

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

// The name a level file gets when it names none: its file name without ".tmx", or "level" when
// that is no fit name.
std::string LevelNameFromPath(const std::string& path);

// Writes the map as a level file at `path` through the safe writer (whole or absent); the
// level's name is the current one, or one from the path. False with `why` on failure.
bool WriteLevelFile(const std::string& path, std::string& why);
