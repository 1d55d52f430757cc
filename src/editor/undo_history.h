// The editor's undo history: every stroke, L and R is one step holding the map as it was just
// before and just after it; opening a level holds the level it left and the one it opened too
// (the file S saves to, its name and tune). Undo and redo put a whole snapshot back rather than
// replaying the step, because painting draws random numbers and water flows on while the mouse is
// held.
#pragma once

#include <cstddef>

#include "shared/game_events.h"

// All in editor/undo_history.cpp.
class TUndoHistory {
 public:
  // The history is bounded by memory: at most this many bytes of snapshots are kept (which is
  // room for several hundred steps); the oldest steps go first.
  static constexpr size_t kMaxBytes = size_t{16} << 20;

  static void FReset();

  // Called before anything of a frame moves: opens a stroke when painting input is held over
  // the left view, closes it when none is, so a stroke's snapshots are the map as the frames
  // before and after it left it.
  static void FFrameStart(bool painting);
  // Painting opens a stroke should its input arrive after the frame's start (a live window
  // pumps events at every query).
  static void FBeforeEdit();
  // The open stroke changed a cell; a stroke that changed none is no step.
  static void FEdited();
  // Ends an open stroke where it is, making it a step if it changed the map.
  static void FCommitStroke();

  // L and R: a step of their own around the whole-map change they make, of the kind given. A
  // kOpenLevel step also takes the current level before and after; its undo and redo put it back.
  static void FBeginWholeMapStep(UndoneStep kind = UndoneStep::kLoad);
  static void FEndWholeMapStep();

  // False with nothing to undo (redo); else `what`, if given, says which kind of step it was.
  static bool FUndo(UndoneStep* what = nullptr);
  static bool FRedo(UndoneStep* what = nullptr);

  // Not called by the game (these three): what the history holds, read by the tests.
  static size_t FUndoSteps();
  static size_t FRedoSteps();
  static size_t FBytesHeld();
  // True from the first step (or undo, or redo) until MarkSaved.
  static bool FUnsavedEdits();
  static void FMarkSaved();
};
