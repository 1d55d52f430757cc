// The eyedropper: the middle button takes the style under the pointer into the picker's
// selection, exactly as a click on that style in the picker would.
#include "editor/editor.h"
#include "editor/editor_layout.h"
#include "world/map.h"

void EyedropperPick(int cx, int cy) {
  if (!TMap::FBounds(cx, cy)) return;
  const int block = TMap::FBlockStyleAtCell(cx, cy);
  if (block >= 0 && block != 255) {
    EditorBlockStyle = block;
    EditorMode = kEditorBlockMode;
    return;
  }
  const int background = TMap::FBGStyleAtCell(cx, cy);
  if (background == 255) return;
  EditorBGStyle = background;
  EditorMode = kEditorBackgroundMode;
}
