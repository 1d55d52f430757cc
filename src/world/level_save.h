// S and Ctrl+S for level files: the current level's file replaced through the safe writer
// (what each save replaces backed up in backups/, unless a copy there holds it already), and a new
// file in levels/.
#pragma once

#include <string>

#include "world/level_file.h"

constexpr const char* kLevelsFolder = "levels";

// "Saving level PATH."; the current level's file written whole or not at all. Reports
// kLevelSaved, or kLevelNotSaved with the reason (and "Failure to create save file.").
bool SaveCurrentLevelFile(const TLevel& level);
// Ctrl+S: `level` as levels/NAME.tmx (the name the map maker typed, or the first free level-N),
// made the current level, so S saves there from then on. levels/ is made when missing; one that
// is a link, a file or cannot be written is refused with a line and kLevelNotSaved, and so is a
// name WhyNotNewLevelName has a reason against: nothing is ever written over.
bool SaveNamedLevelFile(const TLevel& level, const std::string& name);
// levels/ as a real folder, made when missing; otherwise why it cannot hold a new level.
std::string WhyNoLevelsFolder();
// Whether anything stands at `path` (a file, a link, a folder), or it cannot be looked at: a
// new level file never goes there.
bool LevelPathTaken(const std::string& path);
// The first level-N with no levels/level-N.tmx; empty when level-1 to level-9999 are all taken.
std::string FirstFreeLevelName();
// Why `name` cannot name a new level file: not fit for a name (WhyNotLevelName), starting with
// '.' (a hidden file the list never offers), or levels/NAME.tmx there already (a file, a link or
// anything else). Empty when it can.
std::string WhyNotNewLevelName(const std::string& name);
// Whether a level holds what the raw pair cannot keep: water, or starts other than the
// built-in ones.
bool LevelHasMoreThanThePair(const TLevel& level);
// Whether the current level's file holds `level` byte for byte, as a save would write it.
bool CurrentLevelFileHolds(const TLevel& level);
