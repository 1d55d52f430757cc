// One step of the water: a sweep over the active columns, each pass moving the water cells of
// a column from the bottom of its recorded range upwards.
#include <algorithm>

#include "fluid/fluid.h"
#include "fluid/fluid_cells.h"
#include "fluid/water_flow.h"
#include "fluid/water_moves.h"
#include "platform/random.h"

namespace {
// The thresholds are single-precision constants compared with a unit draw, as the game has
// always rolled them; widening 0.3f to double keeps the exact same cut.
constexpr UnitChance kScatterChance = Chance(0.3f);
constexpr UnitChance kTightenChance = Chance(0.1f);
constexpr UnitChance kRightFirst = Chance(0.5);

constexpr int kFirstVisitedColumn = 1;
constexpr int kLastVisitedColumn = MAP_WIDTH_TILES - 2;

// One of five moves, picked at random. kChecked: as water_moves.h.
template <bool kChecked>
int Rain(int column, int row) {
  using water_moves::Level, water_moves::Pour;
  const int k = static_cast<int>(RandomRange(5, 0));
  int result = 0;
  switch (k) {
    case 0:
      result = Level<kChecked>(column, row, column - 1, row);
      break;
    case 1:
      result = Pour<kChecked>(column, row, column - 1, row + 1);
      break;
    case 2:
      result = Level<kChecked>(column, row, column + 1, row);
      break;
    case 3:
      result = Pour<kChecked>(column, row, column + 1, row + 1);
      break;
    default:
      result = Pour<kChecked>(column, row, column, row + 1);
      break;
  }
  return result != 0 ? 1 : 0;
}

// Down, else diagonally or level to a side, the side tried first picked at random.
template <bool kChecked>
int Waterfall(int column, int row) {
  using water_moves::Level, water_moves::Pour;
  if (Pour<kChecked>(column, row, column, row + 1)) return 1;
  const int first = RandomUnitBelow(kRightFirst) ? -1 : 1;
  for (const int side : {first, -first}) {
    if (Pour<kChecked>(column, row, column + side, row + 1)) return 1;
    if (Level<kChecked>(column, row, column + side, row) == 1) return 1;
  }
  return 0;
}

// The cells near the left view that moved in the step under way, for the sound.
WaterFlowCount Flow;

void ActivateAround(int column) {
  FluidColumnActive[column - 1] = 1;
  FluidColumnActive[column] = 1;
  FluidColumnActive[column + 1] = 1;
}
}  // namespace

int TFluid::FSim() {
  Flow.Begin();
  const bool falling = !RandomUnitBelow(kRightFirst);
  // The activity is read as the sweep reaches each column, so water pushed in the sweep's
  // direction is carried on within this same step.
  if (falling) {
    for (int column = kLastVisitedColumn; column >= kFirstVisitedColumn; --column) {
      if (FluidColumnActive[column] == 1) FCheckColumn(column);
    }
  } else {
    for (int column = kFirstVisitedColumn; column <= kLastVisitedColumn; ++column) {
      if (FluidColumnActive[column] == 1) FCheckColumn(column);
    }
  }
  Flow.Report();
  return 0;
}

int TFluid::FCheckColumn(int column) {
  if (column < kFirstVisitedColumn || column > kLastVisitedColumn) return 0;
  // The bounds are read once: water moved below the range during this pass (it widens the
  // arrays) waits for the next step, so no unit falls twice in one pass.
  const int bottom = std::min<int>(FluidBottomRow[column], kLastWaterRow);
  const int top = std::max<int>(FluidTopRow[column], kFirstWaterRow);
  // A cell heard moving is one whose amount the move changed (a levelling of equals moves
  // nothing); reading it back changes nothing.
  const bool heard = Flow.Heard(column);
  bool moved = false;
  if (RandomUnitBelow(kScatterChance)) {
    for (int row = bottom; row >= top; --row) {
      if (SolidGrid[column][row] != kSolidFluid) continue;
      const uint8_t before = FillGrid[column][row];
      Rain<false>(column, row);
      if (heard && FillGrid[column][row] != before) Flow.Note(column, row);
    }
    moved = true;
  } else {
    for (int row = bottom; row >= top; --row) {
      if (SolidGrid[column][row] != kSolidFluid) continue;
      const uint8_t before = FillGrid[column][row];
      if (Waterfall<false>(column, row) == 1) moved = true;
      if (heard && FillGrid[column][row] != before) Flow.Note(column, row);
    }
  }
  if (!moved) {
    FluidColumnActive[column] = 0;
    return 0;
  }
  ActivateAround(column);
  if (RandomUnitBelow(kTightenChance)) FEvaluateColumn(column);
  return 0;
}

int TFluid::FRain(int column, int row) {
  return Rain<true>(column, row);
}

int TFluid::FWaterfall(int column, int row) {
  return Waterfall<true>(column, row);
}
