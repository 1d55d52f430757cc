// A level file from outside the play folder (the web page's Open button hands one over): read
// with its lines, kept in levels/ as the game writes its level files, and opened from there, so
// the level list offers it and S saves it where it is kept.
#pragma once

#include <string>

// Where a level file called `file_name` is kept: "levels/STEM.tmx" for the file's stem when it
// is a fit level name ("level" otherwise), else the first of "levels/STEM-2.tmx",
// "levels/STEM-3.tmx", ... that no file takes yet. Empty when all of the first 999 are taken.
std::string FreeLevelCopyPath(const std::string& file_name);

// Reads the level file at `path` (its lines on the console), writes it as FreeLevelCopyPath
// names through the safe writer and opens it as the level list does. A file the game refuses,
// or one it cannot keep, leaves the map, the actors and the current level as they were, with
// one line and a message on screen. True when opened.
bool OpenLevelFromOutside(const std::string& path, const std::string& file_name);
