// The in-game map editor: the tile picker over the right view, painting and erasing in the
// left view, pouring water, and the save, load and refresh keys.
#pragma once

#include <cstdint>

// The editor's: defined in editor/picker.cpp, at their start values after TEditor::FResetTables
// (nothing picked: background style 0 in background mode); the picker and the eyedropper pick.
extern int32_t EditorTileGrid[32][8];
extern int32_t EditorBlockStyle;
extern int32_t EditorBGStyle;
extern int32_t EditorMode;  // what painting paints: one of the two below

// EditorMode's values: the picked block is painted, or the picked background.
constexpr int32_t kEditorBackgroundMode = 0;
constexpr int32_t kEditorBlockMode = 1;

class TEditor {
 public:
  // editor/picker.cpp
  // The four tables above at their start values, the grid all 0, build mode off and unused.
  static int FResetTables();
  static int FBoot();  // empties the undo history, numbers the picker's squares
  // editor/editor.cpp
  // Before the frame's first move: where a stroke of the undo history opens and closes.
  static int FFrameStart();
  // The free camera's steering, the mouse over the picker or the left view (not the overview),
  // the S, L and E keys, and undo and redo.
  static int FInput();
  // The black gap and strip beside the left view; the map overview while the free camera is on;
  // with the mouse over the right view, the picker and the two picked styles.
  static int FDraw();
};
