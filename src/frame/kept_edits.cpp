// Unsaved map edits kept in recovery/ while playing and on leaving.
#include "frame/kept_edits.h"

#include <string>

#include "editor/build_mode.h"
#include "editor/undo_history.h"
#include "platform/console.h"
#include "world/current_level.h"
#include "world/level_save.h"
#include "world/map_files.h"
#include "world/recovery_level.h"

namespace {

bool KeepEdits = true;
bool FailureSaid = false;

// Keeps the level worth keeping (once build mode has been used, the level as built, never what
// play did to it): as a pair for the map files, as its own file for a level file (which alone
// keeps the water and the starts); nothing when the files on disk hold it already.
KeptEdits KeepTheMap(std::string& where) {
  const TLevel level = LevelToSave();
  if (CurrentLevel.Path.empty() && !CurrentLevel.Untitled)
    return KeepUnsavedEdits(level.Backgrounds, level.Blocks, where);
  if (CurrentLevelFileHolds(level)) return KeptEdits::kNothingToKeep;
  return KeepRecoveryLevel(level, where);
}

}  // namespace

void SetKeepEdits(bool keep) {
  KeepEdits = keep;
  FailureSaid = false;
}

void KeepEditsWhilePlaying(int pass) {
  if (!KeepEdits || pass % kKeepEditsEvery != 0 || !TUndoHistory::FUnsavedEdits()) return;
  std::string where;
  if (KeepTheMap(where) != KeptEdits::kFailed) return;
  if (!FailureSaid) PrintNote("Unsaved map edits could not be kept: recovery/ cannot be written.");
  FailureSaid = true;
}

void KeepEditsOnQuit() {
  if (!KeepEdits || !TUndoHistory::FUnsavedEdits()) return;
  std::string where;
  switch (KeepTheMap(where)) {
    case KeptEdits::kNothingToKeep:
      break;
    case KeptEdits::kWritten:
    case KeptEdits::kAlreadyKept:
      PrintNote("Unsaved map edits kept in " + where);
      break;
    case KeptEdits::kFailed:
      PrintNote("Unsaved map edits could not be kept: recovery/ cannot be written.");
      break;
  }
}
