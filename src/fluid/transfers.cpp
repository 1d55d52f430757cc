// The two ways water moves from one cell to another. Both take from the source exactly what
// they give to the target, so the total amount of water never changes by a move.
#include <algorithm>

#include "fluid/fluid.h"
#include "fluid/fluid_cells.h"

namespace {
constexpr int kFullCell = 16;

// A full cell (water or block) and a block never take water; nor does a cell off the grid.
bool AcceptsWater(int column, int row) {
  if (!FluidCellInGrid(column, row)) return false;
  return FillGrid[column][row] < kFullCell && SolidGrid[column][row] != kSolidBlock;
}

void SetAmount(int column, int row, int amount) {
  FillGrid[column][row] = static_cast<uint8_t>(amount);
  if (amount == 0) SolidGrid[column][row] = kSolidNothing;
}
}  // namespace

void FluidWidenRange(int column, int row) {
  if (row < FluidTopRow[column]) FluidTopRow[column] = static_cast<uint16_t>(row);
  if (row > FluidBottomRow[column] && row < MAP_HEIGHT_TILES - 1) {
    FluidBottomRow[column] = static_cast<uint16_t>(row);
  }
}

int TFluid::FTransferFluid(int from_column, int from_row, int to_column, int to_row) {
  if (!AcceptsWater(to_column, to_row) || !FluidCellInGrid(from_column, from_row)) return 0;
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

int TFluid::FTransferFluidEven(int from_column, int from_row, int to_column, int to_row) {
  if (!AcceptsWater(to_column, to_row) || !FluidCellInGrid(from_column, from_row)) return 0;
  const int total = FillGrid[to_column][to_row] + FillGrid[from_column][from_row];
  // The target takes the larger half, so a lone unit wanders over whole.
  SolidGrid[to_column][to_row] = kSolidFluid;
  SetAmount(to_column, to_row, total - total / 2);
  SetAmount(from_column, from_row, total / 2);
  FluidWidenRange(to_column, to_row);
  // Success even when nothing changed: two equal neighbours keep their columns active.
  return 1;
}
