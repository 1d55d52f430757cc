// The map files beyond loading and saving: the backups before the first save of a run, the pair
// written on leaving with unsaved edits, and the start-up check that settles an interrupted save.
#pragma once

#include <cstddef>
#include <string>

#include "shared/units.h"

// The pair of map files in the play folder: one byte per cell, row after row.
inline constexpr const char* kBGFile = "BGMap75x54.raw";
inline constexpr const char* kBlockFile = "BlockMap75x54.raw";
constexpr size_t kMapFileBytes = MAP_WIDTH_TILES * MAP_HEIGHT_TILES;

constexpr size_t kMapBackupsKept = 20;

// The save behind S: "Saving maps." and, on failure, "Failure to create save file."; true when
// both files were replaced. The first one of a run first copies the pair on disk into backups/.
bool SaveMapFiles();
// Forgets that this run has backed up the pair (a new run begins).
void ResetMapBackups();
// Writes the current map as a pair into recovery/; true with the two paths in `where`.
bool WriteRecoveryPair(std::string& where);
// Finishes or undoes a save that was interrupted; a note on standard error says which.
void FinishInterruptedMapSave();
