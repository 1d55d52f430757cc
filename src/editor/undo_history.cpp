// Steps are kept as pairs of whole-map snapshots. Memory is only taken when a stroke opens (a
// frame that paints), and then only when no spare is left over from a discarded or dropped step.
#include "editor/undo_history.h"

#include <memory>
#include <vector>

#include "editor/map_snapshot.h"

namespace {

struct Step {
  TMapSnapshot Before;
  TMapSnapshot After;
  UndoneStep Kind = UndoneStep::kStroke;
};

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
  if (!edited || SameMap(h.Open->Before, h.Open->After)) {
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
  RestoreMap(h.Slot(h.Done)->Before);
  if (what) *what = h.Slot(h.Done)->Kind;
  h.Unsaved = true;
  return true;
}

bool TUndoHistory::FRedo(UndoneStep* what) {
  FCommitStroke();
  History& h = State();
  if (h.Done == h.Size) return false;
  RestoreMap(h.Slot(h.Done)->After);
  if (what) *what = h.Slot(h.Done)->Kind;
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
