// Unsaved map edits kept in recovery/ while playing and on leaving.
#include "frame/kept_edits.h"

#include <string>

#include "editor/undo_history.h"
#include "platform/console.h"
#include "world/map_files.h"

namespace {

bool KeepEdits = true;
bool FailureSaid = false;

}  // namespace

void SetKeepEdits(bool keep) {
  KeepEdits = keep;
  FailureSaid = false;
}

void KeepEditsWhilePlaying(int pass) {
  if (!KeepEdits || pass % kKeepEditsEvery != 0 || !TUndoHistory::FUnsavedEdits()) return;
  std::string where;
  if (KeepUnsavedEdits(where) != KeptEdits::kFailed) return;
  if (!FailureSaid) PrintNote("Unsaved map edits could not be kept: recovery/ cannot be written.");
  FailureSaid = true;
}

void KeepEditsOnQuit() {
  if (!KeepEdits || !TUndoHistory::FUnsavedEdits()) return;
  std::string where;
  switch (KeepUnsavedEdits(where)) {
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
