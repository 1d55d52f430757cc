// The per-column bookkeeping of the water: which rows of a column may hold water and whether
// the next step visits it, and pouring new water into a cell.
#include <cstring>
#include <string>

#include "fluid/fluid.h"
#include "fluid/fluid_cells.h"
#include "platform/console.h"
#include "platform/random.h"

uint16_t FluidTopRow[MAP_WIDTH_TILES];
uint16_t FluidBottomRow[MAP_WIDTH_TILES];
uint8_t FluidColumnActive[MAP_WIDTH_TILES];

int TFluid::FResetTables() {
  std::memset(FluidTopRow, 0, sizeof FluidTopRow);
  std::memset(FluidBottomRow, 0, sizeof FluidBottomRow);
  std::memset(FluidColumnActive, 0, sizeof FluidColumnActive);
  return 0;
}

int TFluid::FEvaluateColumn(int column) {
  if (!FluidColumnInGrid(column)) return 0;
  FluidColumnActive[column] = 0;
  FluidTopRow[column] = kLastWaterRow;
  FluidBottomRow[column] = kFirstWaterRow;
  // Walking upwards leaves the top row on the highest water cell found; the first cell found
  // (the lowest) sets the bottom row.
  for (int row = kLastWaterRow; row >= kFirstWaterRow; --row) {
    if (SolidGrid[column][row] != kSolidFluid) continue;
    if (row > FluidBottomRow[column]) FluidBottomRow[column] = static_cast<uint16_t>(row);
    FluidColumnActive[column] = 1;
    FluidTopRow[column] = static_cast<uint16_t>(row);
  }
  return 0;
}

int TFluid::FEvaluateMap() {
  for (int column = 0; column < MAP_WIDTH_TILES; ++column)
    FEvaluateColumn(column);
  return 0;
}

int TFluid::FCreateWater(int column, int row) {
  if (!FluidCellInGrid(column, row)) {
    PrintLine("Water refused outside the map at " + std::to_string(column) + ", " +
              std::to_string(row));
    return 0;
  }
  // Emptying the cell first removes a block there and discards any water it held.
  FCreateBlock(column, row, -1);
  SolidGrid[column][row] = kSolidFluid;
  // 1 to 15 units: a poured cell is never full, so it always has room to level out.
  FillGrid[column][row] = static_cast<uint8_t>(static_cast<int>(RandomRange(15, 0) + 1));
  FluidColumnActive[column] = 1;
  FEvaluateColumn(column);
  return 0;
}
