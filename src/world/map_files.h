// The map files beyond loading and saving: the backup of what each save replaces, the pair of
// unsaved edits kept in recovery/, and the start-up check that settles an interrupted save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shared/game_events.h"
#include "shared/play_files.h"
#include "shared/units.h"

// The pair of map files in the play folder (kBGMapFile, kBlockMapFile): one byte per cell, row
// after row.
constexpr size_t kMapFileBytes = MAP_WIDTH_TILES * MAP_HEIGHT_TILES;

constexpr size_t kMapBackupsKept = 20;
constexpr const char* kMapRecoveryFolder = "recovery";

// The grids as the two files' bytes: backgrounds, and block styles with 255 where none stands.
std::vector<uint8_t> BGBytes();
std::vector<uint8_t> BlockBytes();

// The save behind S: "Saving maps." and, on failure, "Failure to create save file."; true when
// both files were replaced. It first copies the pair on disk into backups/, unless a pair there
// already holds the same bytes (the newest kMapBackupsKept pairs are kept).
// Reports kSaveDone with the time, or kSaveFailed with the reason.
bool SaveMapFiles();
// The same save of the given bytes (the level as built) instead of the map's grids.
bool SaveMapFiles(const std::vector<uint8_t>& backgrounds, const std::vector<uint8_t>& blocks);
// The load behind L and start-up, with its console lines; false when a file was missing or of
// the wrong size (a bad block file leaves the backgrounds just loaded).
bool LoadMapFiles();
// Sets the whole map from the two files' bytes (each exactly one byte per cell), as a load does.
void SetMapFromBytes(const std::vector<uint8_t>& backgrounds, const std::vector<uint8_t>& blocks);
// Forgets what the last load found (a new run begins).
void ResetMapBackups();
// True when the last load (L, or start-up's) refused a map file that was there, with which one
// and why; a missing file is not refused, the game then plays its built-in map.
bool MapFileRefused(LoadFailure& why);
// Writes the current map as a pair into recovery/ (the newest kMapBackupsKept pairs are kept);
// true with the two paths in `where`.
bool WriteRecoveryPair(std::string& where);
// The same of the given bytes (the level as built).
bool WriteRecoveryPair(const std::vector<uint8_t>& backgrounds, const std::vector<uint8_t>& blocks,
                       std::string& where);
// The map pair and the save's journal: the files of the play folder start-up reads for the map.
std::vector<std::string> MapFilesReadAtStartUp();
// Finishes or undoes a save that was interrupted; a note on standard error says which.
void FinishInterruptedMapSave();

// world/save_failure.cpp
// Why a save failed, in the player's terms: `at_backups` when the copy into backups/ failed,
// `error` the errno the save ran into (0 for none), `files` the map files it was replacing.
SaveFailure WhySaveFailed(bool at_backups, int error, const std::vector<std::string>& files);

// world/recovery_pair.cpp: the pair the last run kept in recovery/ and Ctrl+L, which loads it.
// The newest stamp with at least one map file in recovery/; empty for none.
std::string NewestRecoveryStamp();
// True when recovery/ holds a whole pair written after both map files were last changed, and
// other than what the map files hold.
bool RecoveryPairIsNewer();
// What keeping the unsaved edits came to.
enum class KeptEdits { kNothingToKeep, kWritten, kAlreadyKept, kFailed };
// Keeps a map (the two files' bytes) in recovery/, unless the map files or the newest pair there
// already hold exactly it; `where` then names the pair that holds it.
KeptEdits KeepUnsavedEdits(const std::vector<uint8_t>& backgrounds,
                           const std::vector<uint8_t>& blocks, std::string& where);
// Loads the newest pair in recovery/ into the map. A pair missing a file, or with a file of the
// wrong size, is refused and the map left as it was; `why` then says which.
bool LoadRecoveryPair(LoadFailure& why);
