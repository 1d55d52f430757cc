// The two ways water moves from one cell to another, inline: the step makes thousands of them a
// pass. Both take from the source exactly what they give to the target, so the total amount of
// water never changes by a move. kChecked: either cell may lie off the grid, and such a move is
// refused; the step's own moves, from rows 1..52 of columns 1..73 to a neighbour, never do.
#pragma once

#include <algorithm>
#include <cstdint>

#include "fluid/fluid_cells.h"
#include "world/map.h"

namespace water_moves {

constexpr int kFullCell = 16;

// A full cell (water or block) and a block never take water.
inline bool AcceptsWater(int column, int row) {
  return FillGrid[column][row] < kFullCell && SolidGrid[column][row] != kSolidBlock;
}

inline void SetAmount(int column, int row, int amount) {
  FillGrid[column][row] = static_cast<uint8_t>(amount);
  if (amount == 0) SolidGrid[column][row] = kSolidNothing;
}

template <bool kChecked>
bool Refused(int from_column, int from_row, int to_column, int to_row) {
  if (kChecked && !FluidCellInGrid(to_column, to_row)) return true;
  if (!AcceptsWater(to_column, to_row)) return true;
  return kChecked && !FluidCellInGrid(from_column, from_row);
}

// A pour: half the room (what the target can take, at most what the source holds) plus one.
template <bool kChecked>
int Pour(int from_column, int from_row, int to_column, int to_row) {
  if (Refused<kChecked>(from_column, from_row, to_column, to_row)) return 0;
  const int from = FillGrid[from_column][from_row];
  const int to = FillGrid[to_column][to_row];
  const int room = std::min(from, kFullCell - to);
  // Half the room plus one: a single unit still moves, and a source of m units never gives
  // more than m. A marker-5 cell without units (a boulder) has nothing to give.
  if (room <= 0) return 0;
  const int amount = room / 2 + 1;
  FillGrid[to_column][to_row] = static_cast<uint8_t>(to + amount);
  SolidGrid[to_column][to_row] = kSolidFluid;
  SetAmount(from_column, from_row, from - amount);
  FluidWidenRange(to_column, to_row);
  return 1;
}

// A levelling: the two cells share their units, the target taking the larger half.
template <bool kChecked>
int Level(int from_column, int from_row, int to_column, int to_row) {
  if (Refused<kChecked>(from_column, from_row, to_column, to_row)) return 0;
  const int total = FillGrid[to_column][to_row] + FillGrid[from_column][from_row];
  // The target takes the larger half, so a lone unit wanders over whole.
  SolidGrid[to_column][to_row] = kSolidFluid;
  SetAmount(to_column, to_row, total - total / 2);
  SetAmount(from_column, from_row, total / 2);
  FluidWidenRange(to_column, to_row);
  // Success even when nothing changed: two equal neighbours keep their columns active.
  return 1;
}

}  // namespace water_moves
