// The unsaved edits of a level file kept in recovery/ as "recovery/STAMP.NAME.tmx" (NAME the
// level file's own name, "new-level.tmx" for a new level no save has named yet; a level outside
// levels/ as "STAMP.NAME-MARK.tmx", MARK eight hex digits of its folder's name), kept and
// offered as the map pair is: one copy per change, the newest kMapBackupsKept of each level,
// the offer when the newest is newer than the level's file and holds another level, and Ctrl+L,
// which loads it.
#pragma once

#include <string>

#include "world/level_file.h"
#include "world/map_files.h"

// The name the current level's copies carry after their stamp; empty on the raw pair.
std::string RecoveryLevelName();
// The newest copy of the current level in recovery/; empty when there is none.
std::string NewestRecoveryLevel();
// Keeps `level` as the current level's copy in recovery/, unless the newest copy there holds
// it byte for byte (`where` then names that one). False on the raw pair (kFailed).
KeptEdits KeepRecoveryLevel(const TLevel& level, std::string& where);
// True when the newest copy of the current level was written after its file was last changed
// (or the file is gone) and holds other grids, water or starts than the file.
bool RecoveryLevelIsNewer();
// Reads the newest copy of the current level whole. False with `why` when there is none
// (`none` then true) or it is not a level the game can play; `level` is then untouched.
bool ReadRecoveryLevel(TLevel& level, std::string& where, std::string& why, bool& none);
