// Opening a level while the game runs, as the level list does: a level file, or a new empty
// level. The level is played from its starts as `--level` starts the game on it, in one step of
// the undo history, and becomes the level S saves. Unsaved edits of the level left are first
// kept in recovery/, as on leaving the game.
#pragma once

#include <string>

#include "world/level_file.h"

// Reads the level file with its lines and plays it; a refused file leaves the map, the actors
// and the current level as they were, with one line and a message on screen. True when opened.
bool OpenLevelFile(const std::string& path);
// An empty map (the unpaintable border ring only) with the built-in starts, and no file or name
// until S or Ctrl+S saves it as the first free levels/level-N.tmx.
void OpenEmptyLevel();
// The new empty level's map: no backgrounds, no water, blocks only in the border ring, which
// the editor never paints, so the actors have a floor and walls.
TLevel EmptyLevel();
