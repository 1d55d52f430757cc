// Boulders: loose cells that drop whole, one cell a move. They share the water's marker 5 and
// its per-column ranges, but leave FillGrid and the columns' activity alone.
//
// Callers keep the cell within columns 1..73 and rows 1..52. Should one not, a target off the
// grid counts as taken (the boulder stays) and FCountNeighbors counts nothing there, so no
// grid is ever read or written outside its bounds.
#include "fluid/fluid.h"
#include "fluid/fluid_cells.h"
#include "platform/random.h"
#include "shared/game_events.h"

namespace {
bool BoulderTargetFree(int column, int row) {
  return FluidCellInGrid(column, row) && SolidGrid[column][row] == kSolidNothing;
}

bool Occupied(int column, int row) {
  return FluidCellInGrid(column, row) && SolidGrid[column][row] != kSolidNothing;
}

// A drop is heard where it ends: onto something, or falling on with room still under it.
void ReportDrop(int column, int row) {
  const GameEvent kind =
      BoulderTargetFree(column, row + 1) ? GameEvent::kBoulderFell : GameEvent::kBoulderLanded;
  TGameEvents::FReport(kind, int64_t{column} * TILE_UNITS + TILE_UNITS / 2,
                       int64_t{row} * TILE_UNITS + TILE_UNITS / 2);
}

int MoveBoulder(int column, int row, int to_column, int to_row) {
  TFluid::FMoveBoulderSide(to_column, to_row);
  if (FluidCellInGrid(column, row)) SolidGrid[column][row] = kSolidNothing;
  if (to_row > row) ReportDrop(to_column, to_row);
  return 1;
}

int TryMove(int column, int row, int to_column, int to_row) {
  if (!BoulderTargetFree(to_column, to_row)) return 0;
  return MoveBoulder(column, row, to_column, to_row);
}
}  // namespace

int TFluid::FMoveBoulderSide(int column, int row) {
  if (!FluidCellInGrid(column, row)) return 0;
  FluidWidenRange(column, row);
  SolidGrid[column][row] = kSolidFluid;
  return 0;
}

int TFluid::FBoulderFall(int column, int row) {
  if (TryMove(column, row, column, row + 1)) return 1;
  const int first = RandomRange(1, 0) >= 0.5 ? 1 : -1;
  for (const int side : {first, -first}) {
    if (TryMove(column, row, column + side, row + 1)) return 1;
    if (TryMove(column, row, column + side, row)) return 1;
  }
  return 0;
}

int TFluid::FBoulderFallScatter(int column, int row) {
  const int k = static_cast<int>(RandomRange(5, 0));
  switch (k) {
    case 0:
      return TryMove(column, row, column - 1, row);
    case 1:
      return TryMove(column, row, column - 1, row + 1);
    case 2:
      return TryMove(column, row, column + 1, row);
    case 3:
      return TryMove(column, row, column + 1, row + 1);
    default:
      return TryMove(column, row, column, row + 1);
  }
}

uint8_t TFluid::FCountNeighbors(int column, int row) {
  uint8_t mask = 0;
  if (Occupied(column, row - 1)) mask |= 1;
  if (Occupied(column + 1, row)) mask |= 2;
  if (Occupied(column, row + 1)) mask |= 4;
  if (Occupied(column - 1, row)) mask |= 8;
  return mask;
}
