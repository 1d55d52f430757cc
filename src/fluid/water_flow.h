// What the sound hears of the water: the cells near the left view whose water moved in one
// step, counted while the step runs and reported once it is over (kWaterFlowed, at the middle
// of those cells). Counting reads the view and the grids and draws nothing: the water moves
// exactly as it would unheard.
#pragma once

#include <cstdint>

class WaterFlowCount {
 public:
  // The cells within half a view of the left view where it stands now; none without a view.
  void Begin();
  bool Heard(int column) const { return column >= FirstColumn && column <= LastColumn; }
  void Note(int column, int row) {
    if (row < FirstRow || row > LastRow) return;
    ++Cells;
    SumColumn += column;
    SumRow += row;
  }
  // Reports what moved, if anything did; counts nothing more until the next Begin.
  void Report();

 private:
  int FirstColumn = 1, LastColumn = 0, FirstRow = 1, LastRow = 0;
  int32_t Cells = 0;
  int64_t SumColumn = 0, SumRow = 0;
};
