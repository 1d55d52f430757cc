// Grid guards shared by the water and boulder moves: a map without a border ring can let a
// move aim one cell past the grid, and such a target is refused like a block.
#pragma once

#include "shared/units.h"

// Rows 0 and 53 belong to the border ring: water is only ever simulated in rows 1..52.
constexpr int kFirstWaterRow = 1;
constexpr int kLastWaterRow = MAP_HEIGHT_TILES - 2;

inline bool FluidColumnInGrid(int column) {
  return column >= 0 && column < MAP_WIDTH_TILES;
}
inline bool FluidCellInGrid(int column, int row) {
  return FluidColumnInGrid(column) && row >= 0 && row < MAP_HEIGHT_TILES;
}

// The rows a move may widen a column's range to: row 53 is never recorded, so the step never
// takes water (or a boulder) out of the bottom row of the border ring.
void FluidWidenRange(int column, int row);
