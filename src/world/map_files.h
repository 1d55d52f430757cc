// The map files beyond loading and saving: the backups before the first save of a run, the pair
// written on leaving with unsaved edits, and the start-up check that settles an interrupted save.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shared/units.h"

constexpr size_t kMapBackupsKept = 20;
// One map file's bytes: a byte per cell, 54 rows of 75, top row first.
constexpr size_t kMapFileBytes = MAP_WIDTH_TILES * MAP_HEIGHT_TILES;

// The grids as the two files' bytes: backgrounds, and block styles with 255 where none stands.
std::vector<uint8_t> BGBytes();
std::vector<uint8_t> BlockBytes();
// The grids set from a file's kMapFileBytes bytes, as loading does: the backgrounds; the blocks
// (every cell rewritten, its water gone), then the "Created N block instances." line.
void SetBackgroundsFromBytes(const std::vector<uint8_t>& bytes);
void SetBlocksFromBytes(const std::vector<uint8_t>& bytes);

// The save behind S: "Saving maps." and, on failure, "Failure to create save file."; true when
// both files were replaced. The first one of a run first copies the pair on disk into backups/.
bool SaveMapFiles();
// Forgets that this run has backed up the pair (a new run begins).
void ResetMapBackups();
// Writes the current map as a pair into recovery/; true with the two paths in `where`.
bool WriteRecoveryPair(std::string& where);
// Finishes or undoes a save that was interrupted; a note on standard error says which.
void FinishInterruptedMapSave();
