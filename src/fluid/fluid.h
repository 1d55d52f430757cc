// Water: a cellular simulation over SolidGrid (marker 5) and FillGrid (0..16 units), stepping
// once every seven frames and visiting only the active columns within their recorded rows.
// Boulders share the marker and the per-column ranges.
#pragma once

#include <cstdint>

#include "shared/units.h"
#include "world/map.h"

extern uint16_t FluidTopRow[MAP_WIDTH_TILES];
extern uint16_t FluidBottomRow[MAP_WIDTH_TILES];
extern uint8_t FluidColumnActive[MAP_WIDTH_TILES];

class TFluid : public TMap {
 public:
  static int FCreateWater(int column, int row);
  static int FEvaluateMap();
  static int FEvaluateColumn(int column);
  static int FSim();
  static int FCheckColumn(int column);
  static int FMoveBoulderSide(int column, int row);
  static int FTransferFluid(int from_column, int from_row, int to_column, int to_row);
  static int FTransferFluidEven(int from_column, int from_row, int to_column, int to_row);
  static int FRain(int column, int row);
  static int FWaterfall(int column, int row);
  static int FBoulderFallScatter(int column, int row);
  static int FBoulderFall(int column, int row);
  static uint8_t FCountNeighbors(int column, int row);
};
