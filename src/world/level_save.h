// S and Ctrl+S for level files: the current level's file replaced through the safe writer
// (backed up in backups/ before the first save of a run over it), and a new file in levels/.
#pragma once

#include <string>

#include "world/level_file.h"

constexpr const char* kLevelsFolder = "levels";

// "Saving level PATH."; the current level's file written whole or not at all. Reports
// kLevelSaved, or kLevelNotSaved with the reason (and "Failure to create save file.").
bool SaveCurrentLevelFile(const TLevel& level);
// Ctrl+S: `level` as the first free levels/level-N.tmx, made the current level, so S saves
// there from then on. levels/ is made when missing; one that is a link, a file or cannot be
// written is refused with a line and kLevelNotSaved.
bool SaveNewLevelFile(const TLevel& level);
// Whether a level holds what the raw pair cannot keep: water, or starts other than the
// built-in ones.
bool LevelHasMoreThanThePair(const TLevel& level);
// `level` as the current level's file into recovery/ under a stamp ("recovery/STAMP.NAME.tmx"),
// beside the pair written there on leaving with unsaved edits: the water and the starts are
// kept too (a new level no save has named as "new-level.tmx"). True with the path in `where`.
bool WriteRecoveryLevel(const TLevel& level, std::string& where);
// Whether the current level's file holds `level` byte for byte, as a save would write it.
bool CurrentLevelFileHolds(const TLevel& level);
// Forgets which level files this run has backed up (a new run begins).
void ResetLevelBackups();
