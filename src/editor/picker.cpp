// The tile picker: the tile sheet drawn at half size over the right view. Its top half picks
// block styles, its bottom half background styles.
#include "editor/editor.h"

#include <cstring>

#include "editor/build_mode.h"
#include "editor/editor_layout.h"
#include "editor/stroke_events.h"
#include "editor/undo_history.h"

int32_t EditorTileGrid[32][8];
int32_t EditorBlockStyle, EditorBGStyle, EditorMode;

int TEditor::FResetTables() {
  std::memset(EditorTileGrid, 0, sizeof EditorTileGrid);
  EditorBlockStyle = EditorBGStyle = 0;
  EditorMode = kEditorBackgroundMode;
  TBuild::FReset();
  return 0;
}

int TEditor::FBoot() {
  TUndoHistory::FReset();
  TBuild::FReset();
  ForgetStrokeCells();
  for (int r = 0; r < kPickerHalfRows; ++r)
    for (int c = 0; c < kPickerColumns; ++c)
      EditorTileGrid[c][r] = r * kPickerColumns + c;
  return 0;
}

PickerPlace PickerPlaceAt(int mx, int my) {
  // Divided as floating point and truncated toward zero, so the seven pixels just left of or
  // above the picker still select its first column or row. The subtraction is done in floating
  // point too: a mouse far off to the left or top would overflow it as an int.
  const int pc = static_cast<int>((static_cast<double>(mx) - kPickerLeft) / kPickerSquare);
  const int pr = static_cast<int>((static_cast<double>(my) - kPickerTop) / kPickerSquare);
  return {pc, pr};
}

void PickerClick(const PickerPlace& place) {
  if (place.column < 0 || place.column >= kPickerColumns) return;
  if (place.row >= 0 && place.row < kPickerHalfRows) {
    EditorBlockStyle = EditorTileGrid[place.column][place.row];
    EditorMode = kEditorBlockMode;
  } else if (place.row >= kPickerHalfRows && place.row < 2 * kPickerHalfRows) {
    EditorBGStyle = EditorTileGrid[place.column][place.row - kPickerHalfRows];
    EditorMode = kEditorBackgroundMode;
  }
}
