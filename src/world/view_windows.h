// The parts of the map a view draws each frame: the chunks its backdrops come from and the
// cells its cell pass visits, both starting at the camera's corner.
#pragma once

#include <algorithm>

#include "world/scroller.h"

inline constexpr int kChunkWindowColumns = 8;  // 400 pixels reach into at most 8 chunks of 64
inline constexpr int kChunkWindowRows = 6;     // 288 pixels into at most 6
inline constexpr int kCellWindowColumns = 26;
inline constexpr int kCellWindowRows = 19;

// The last index of a window of `count` starting at `first`, kept inside a grid of `size`.
inline int WindowEnd(int first, int count, int size) {
  return std::min(first + count, size) - 1;
}

// The cells of the window that the cell pass will draw.
struct TScroller::CellWindow {
  int x0, y0, x1, y1;  // inclusive
  bool Holds(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

// The clip a view leaves for the drawing after it (the editor overlay, the panel): the whole back
// buffer and more, from its top-left corner, as it has always been.
inline constexpr int kAfterViewsClipWidth = 672;
inline constexpr int kAfterViewsClipHeight = 600;

// The backdrop palette styles.
inline constexpr int kPaletteDark = 1;
inline constexpr int kPaletteSky = 7;
inline constexpr int kPaletteCovered = 12;
