// The two moves as TFluid offers them: any cells, those off the grid refused.
#include "fluid/fluid.h"
#include "fluid/fluid_cells.h"
#include "fluid/water_moves.h"

void FluidWidenRange(int column, int row) {
  if (row < FluidTopRow[column]) FluidTopRow[column] = static_cast<uint16_t>(row);
  if (row > FluidBottomRow[column] && row < MAP_HEIGHT_TILES - 1) {
    FluidBottomRow[column] = static_cast<uint16_t>(row);
  }
}

int TFluid::FTransferFluid(int from_column, int from_row, int to_column, int to_row) {
  return water_moves::Pour<true>(from_column, from_row, to_column, to_row);
}

int TFluid::FTransferFluidEven(int from_column, int from_row, int to_column, int to_row) {
  return water_moves::Level<true>(from_column, from_row, to_column, to_row);
}
