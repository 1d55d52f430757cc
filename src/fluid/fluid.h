// Water: a cellular simulation over SolidGrid (marker 5) and FillGrid (0..16 units), stepping
// once every seven frames and visiting only the active columns within their recorded rows.
// Boulders share the marker and the per-column ranges.
#pragma once

#include <cstdint>

#include "shared/units.h"
#include "world/map.h"

// The rows of each column that may hold water, and whether the step visits it. Defined in
// fluid/water_columns.cpp; all 0 after TFluid::FResetTables, worked out by TFluid::FEvaluateMap.
extern uint16_t FluidTopRow[MAP_WIDTH_TILES];
extern uint16_t FluidBottomRow[MAP_WIDTH_TILES];
extern uint8_t FluidColumnActive[MAP_WIDTH_TILES];

class TFluid : public TMap {
 public:
  // fluid/water_columns.cpp: the columns' bookkeeping and pouring.
  static int FResetTables();  // the three column tables all 0 (TMap's own resets the grids)
  static int FCreateWater(int column, int row);  // 1..15 units poured, replacing a block
  static int FEvaluateMap();                     // every column's range and activity anew
  // The rows 1..52 of the column's water (FluidTopRow, FluidBottomRow), and whether it is active.
  static int FEvaluateColumn(int column);

  // fluid/water_step.cpp: one step of the water, every seventh frame.
  static int FSim();  // a sweep over the active columns, leftwards or rightwards by a draw
  // The water cells of one column, bottom up, in a scatter pass (FRain) or a falling pass
  // (FWaterfall); a column where nothing moved falls inactive, one where water moved wakes its
  // neighbours.
  static int FCheckColumn(int column);
  static int FRain(int column, int row);       // one of five moves, picked at random
  static int FWaterfall(int column, int row);  // down, else diagonally or level to a side

  // fluid/transfers.cpp: the two moves; each returns 0 when the target cannot take water.
  // A pour: half the room (what the target can take, at most what the source holds) plus one.
  static int FTransferFluid(int from_column, int from_row, int to_column, int to_row);
  // A levelling: the two cells share their units, the target taking the larger half.
  static int FTransferFluidEven(int from_column, int from_row, int to_column, int to_row);

  // fluid/boulders.cpp. Not called by the game (these four): kept as part of TFluid's interface.
  static int FMoveBoulderSide(int column, int row);  // marks the target cell and widens its column
  static int FBoulderFall(int column, int row);      // down, else diagonally or to a side
  static int FBoulderFallScatter(int column, int row);  // one of five moves, picked at random
  // The taken sides as bits: 1 up, 2 right, 4 down, 8 left.
  static uint8_t FCountNeighbors(int column, int row);
};
