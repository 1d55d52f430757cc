// Steps are kept as pairs of whole-map snapshots. Memory is only taken when a stroke opens (a
// frame that paints), and then only when no spare is left over from a discarded or dropped step.
#include "editor/undo_history.h"

#include <memory>
#include <vector>

#include "editor/map_snapshot.h"
#include "world/current_level.h"

namespace {

struct Step {
  TMapSnapshot Before;
  TMapSnapshot After;
  UndoneStep Kind = UndoneStep::kStroke;
  // An open's level before and after it: the file S saves to, the name and the tune. Only an
  // open fills them, so a stroke copies no text.
  TCurrentLevel LevelBefore;
  TCurrentLevel LevelAfter;
};

bool SameLevel(const TCurrentLevel& a, const TCurrentLevel& b) {
  return a.Path == b.Path && a.Name == b.Name && a.Music == b.Music && a.Untitled == b.Untitled;
}

constexpr size_t kStepBytes = sizeof(Step);

// Room for the steps, the open one and a spare within the bound.
constexpr size_t kCapacity = TUndoHistory::kMaxBytes / kStepBytes - 2;

// A ring of steps: the oldest at First, Size of them, the first Done of which can be undone.
// The ring's slots are made once, so closing a stroke never allocates.
struct History {
  std::vector<std::unique_ptr<Step>> Slots = std::vector<std::unique_ptr<Step>>(kCapacity);
  size_t First = 0;
  size_t Size = 0;
  size_t Done = 0;
  std::unique_ptr<Step> Open;   // the stroke being painted, or the L or R being made
  std::unique_ptr<Step> Spare;  // kept for the next stroke, so a discarded one costs nothing
  bool StrokeOpen = false;
  bool StrokeEdited = false;
  bool Unsaved = false;

  std::unique_ptr<Step>& Slot(size_t i) { return Slots[(First + i) % kCapacity]; }
};

History& State() {
  static History history;
  return history;
}

// A step's memory goes to the spare if there is none, else back to the system.
void Release(std::unique_ptr<Step>& step) {
  History& h = State();
  if (!h.Spare) h.Spare = std::move(step);
  step.reset();
}

void OpenStep(UndoneStep kind) {
  History& h = State();
  if (!h.Spare) h.Spare = std::make_unique<Step>();
  h.Open = std::move(h.Spare);
  h.Open->Kind = kind;
  CaptureMap(h.Open->Before);
  if (kind == UndoneStep::kOpenLevel) h.Open->LevelBefore = CurrentLevel;
}

void DiscardOpenStep() {
  Release(State().Open);
}

void DropRedoSteps() {
  History& h = State();
  while (h.Size > h.Done)
    Release(h.Slot(--h.Size));
}

// The oldest step makes room when the ring is full.
void DropOldestIfFull() {
  History& h = State();
  if (h.Size < kCapacity) return;
  Release(h.Slot(0));
  h.First = (h.First + 1) % kCapacity;
  --h.Size;
  --h.Done;
}

// The open step ends with the map as it is now; it joins the history only if the map changed.
void CloseStep(bool edited) {
  History& h = State();
  CaptureMap(h.Open->After);
  // Opening another level is a step even when its map is the same as the last one's.
  const bool open = h.Open->Kind == UndoneStep::kOpenLevel;
  if (open) h.Open->LevelAfter = CurrentLevel;
  const bool level_changed = open && !SameLevel(h.Open->LevelBefore, h.Open->LevelAfter);
  if (!edited || (SameMap(h.Open->Before, h.Open->After) && !level_changed)) {
    DiscardOpenStep();
    return;
  }
  DropRedoSteps();
  DropOldestIfFull();
  h.Slot(h.Size++) = std::move(h.Open);
  h.Done = h.Size;
  h.Unsaved = true;
}

}  // namespace

void TUndoHistory::FReset() {
  State() = History();
}

void TUndoHistory::FFrameStart(bool painting) {
  History& h = State();
  if (painting && !h.StrokeOpen) {
    OpenStep(UndoneStep::kStroke);
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

void TUndoHistory::FBeginWholeMapStep(UndoneStep kind) {
  FCommitStroke();
  OpenStep(kind);
}

void TUndoHistory::FEndWholeMapStep() {
  CloseStep(true);
}

bool TUndoHistory::FUndo(UndoneStep* what) {
  FCommitStroke();
  History& h = State();
  if (h.Done == 0) return false;
  --h.Done;
  const Step& step = *h.Slot(h.Done);
  RestoreMap(step.Before);
  if (step.Kind == UndoneStep::kOpenLevel) CurrentLevel = step.LevelBefore;
  if (what) *what = step.Kind;
  h.Unsaved = true;
  return true;
}

bool TUndoHistory::FRedo(UndoneStep* what) {
  FCommitStroke();
  History& h = State();
  if (h.Done == h.Size) return false;
  const Step& step = *h.Slot(h.Done);
  RestoreMap(step.After);
  if (step.Kind == UndoneStep::kOpenLevel) CurrentLevel = step.LevelAfter;
  if (what) *what = step.Kind;
  ++h.Done;
  h.Unsaved = true;
  return true;
}

size_t TUndoHistory::FUndoSteps() {
  return State().Done;
}
size_t TUndoHistory::FRedoSteps() {
  return State().Size - State().Done;
}

size_t TUndoHistory::FBytesHeld() {
  const History& h = State();
  return (h.Size + (h.Open ? 1 : 0) + (h.Spare ? 1 : 0)) * kStepBytes +
         h.Slots.capacity() * sizeof h.Slots[0];
}

bool TUndoHistory::FUnsavedEdits() {
  return State().Unsaved;
}
void TUndoHistory::FMarkSaved() {
  State().Unsaved = false;
}
