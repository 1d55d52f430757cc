#include "editor/stroke_events.h"

#include <cstdint>
#include <cstring>

#include "shared/units.h"

namespace {

// One bit per kind a stroke reports, per cell. Only listeners read it: the game never does.
uint8_t Reported[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
bool AnyReported = false;

uint8_t BitOf(GameEvent kind) {
  switch (kind) {
    case GameEvent::kBlockPainted:
      return 1;
    case GameEvent::kBlockErased:
      return 2;
    default:
      return 4;
  }
}

}  // namespace

void ReportStrokeCell(GameEvent kind, int column, int row) {
  if (column < 0 || column >= MAP_WIDTH_TILES || row < 0 || row >= MAP_HEIGHT_TILES) return;
  uint8_t& marks = Reported[column][row];
  if (marks & BitOf(kind)) return;
  marks |= BitOf(kind);
  AnyReported = true;
  TGameEvents::FReport(kind, int64_t{column} * TILE_UNITS + TILE_UNITS / 2,
                       int64_t{row} * TILE_UNITS + TILE_UNITS / 2);
}

void ForgetStrokeCells() {
  if (!AnyReported) return;  // most frames hold no stroke: nothing to wipe
  std::memset(Reported, 0, sizeof Reported);
  AnyReported = false;
}
