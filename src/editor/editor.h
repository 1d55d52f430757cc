// The in-game map editor: the tile picker over the right view, painting and erasing in the
// left view, pouring water, and the save, load and refresh keys.
#pragma once

#include <cstdint>

extern int32_t EditorTileGrid[32][8];
extern int32_t EditorBlockStyle;
extern int32_t EditorBGStyle;
extern int32_t EditorMode;  // 1 block mode, 0 background mode

class TEditor {
 public:
  static int FBoot();
  static int FInput();
  // Before the frame's first move: where a stroke of the undo history opens and closes.
  static int FFrameStart();
  static int FDraw();
};
