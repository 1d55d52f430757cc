// Steps are kept as pairs of whole-map snapshots in a deque: [0, Done) can be undone, [Done,
// size) redone. Memory is only taken when a stroke opens (a frame that paints) and comes from a
// spare step when one is left over from a discarded or dropped step.
#include "editor/undo_history.h"

#include <deque>
#include <memory>

#include "editor/map_snapshot.h"

namespace {

struct Step {
  TMapSnapshot Before;
  TMapSnapshot After;
};

constexpr size_t kStepBytes = sizeof(Step);

struct History {
  std::deque<std::unique_ptr<Step>> Steps;
  size_t Done = 0;
  std::unique_ptr<Step> Open;   // the stroke being painted, or the L or R being made
  std::unique_ptr<Step> Spare;  // kept for the next stroke, so a discarded one costs nothing
  bool StrokeOpen = false;
  bool StrokeEdited = false;
  bool Unsaved = false;
};

History& State() {
  static History history;
  return history;
}

void OpenStep() {
  History& h = State();
  if (!h.Spare) h.Spare = std::make_unique<Step>();
  h.Open = std::move(h.Spare);
  CaptureMap(h.Open->Before);
}

void DiscardOpenStep() {
  History& h = State();
  h.Spare = std::move(h.Open);
}

void DropRedoSteps() {
  History& h = State();
  while (h.Steps.size() > h.Done) {
    if (!h.Spare) h.Spare = std::move(h.Steps.back());
    h.Steps.pop_back();
  }
}

// The open step and the spare count against the bound too.
void DropOldestBeyondBound() {
  History& h = State();
  while ((h.Steps.size() + 2) * kStepBytes > TUndoHistory::kMaxBytes) {
    if (!h.Spare) h.Spare = std::move(h.Steps.front());
    h.Steps.pop_front();
    --h.Done;
  }
}

// The open step ends with the map as it is now; it joins the history only if the map changed.
void CloseStep(bool edited) {
  History& h = State();
  CaptureMap(h.Open->After);
  if (!edited || SameMap(h.Open->Before, h.Open->After)) {
    DiscardOpenStep();
    return;
  }
  DropRedoSteps();
  h.Steps.push_back(std::move(h.Open));
  ++h.Done;
  h.Unsaved = true;
  DropOldestBeyondBound();
}

}  // namespace

void TUndoHistory::FReset() {
  State() = History();
}

void TUndoHistory::FFrameStart(bool painting) {
  History& h = State();
  if (painting && !h.StrokeOpen) {
    OpenStep();
    h.StrokeOpen = true;
    h.StrokeEdited = false;
  } else if (!painting && h.StrokeOpen) {
    FCommitStroke();
  }
}

void TUndoHistory::FBeforeEdit() {
  if (!State().StrokeOpen) FFrameStart(true);
}

void TUndoHistory::FEdited() {
  State().StrokeEdited = true;
}

void TUndoHistory::FCommitStroke() {
  History& h = State();
  if (!h.StrokeOpen) return;
  h.StrokeOpen = false;
  CloseStep(h.StrokeEdited);
}

void TUndoHistory::FBeginWholeMapStep() {
  FCommitStroke();
  OpenStep();
}

void TUndoHistory::FEndWholeMapStep() {
  CloseStep(true);
}

bool TUndoHistory::FUndo() {
  FCommitStroke();
  History& h = State();
  if (h.Done == 0) return false;
  --h.Done;
  RestoreMap(h.Steps[h.Done]->Before);
  h.Unsaved = true;
  return true;
}

bool TUndoHistory::FRedo() {
  FCommitStroke();
  History& h = State();
  if (h.Done == h.Steps.size()) return false;
  RestoreMap(h.Steps[h.Done]->After);
  ++h.Done;
  h.Unsaved = true;
  return true;
}

size_t TUndoHistory::FUndoSteps() {
  return State().Done;
}
size_t TUndoHistory::FRedoSteps() {
  return State().Steps.size() - State().Done;
}

size_t TUndoHistory::FBytesHeld() {
  const History& h = State();
  return (h.Steps.size() + (h.Open ? 1 : 0) + (h.Spare ? 1 : 0)) * kStepBytes;
}

bool TUndoHistory::FUnsavedEdits() {
  return State().Unsaved;
}
void TUndoHistory::FMarkSaved() {
  State().Unsaved = false;
}
