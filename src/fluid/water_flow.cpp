#include "fluid/water_flow.h"

#include <algorithm>

#include "shared/game_events.h"
#include "shared/units.h"
#include "world/scroller.h"

void WaterFlowCount::Begin() {
  *this = WaterFlowCount();
  const TScroller* view = Scrollers[0].get();
  if (!view) return;
  // The sound hears half a view beyond each edge of the left view, faintly.
  const int64_t left = view->CameraCornerX - SCREEN_WIDTH_UNITS / 2;
  const int64_t top = view->CameraCornerY - SCREEN_HEIGHT_UNITS / 2;
  FirstColumn = static_cast<int>(std::clamp<int64_t>(left / TILE_UNITS, 0, MAP_WIDTH_TILES - 1));
  LastColumn = static_cast<int>(
      std::clamp<int64_t>((left + 2 * SCREEN_WIDTH_UNITS) / TILE_UNITS, 0, MAP_WIDTH_TILES - 1));
  FirstRow = static_cast<int>(std::clamp<int64_t>(top / TILE_UNITS, 0, MAP_HEIGHT_TILES - 1));
  LastRow = static_cast<int>(
      std::clamp<int64_t>((top + 2 * SCREEN_HEIGHT_UNITS) / TILE_UNITS, 0, MAP_HEIGHT_TILES - 1));
}

void WaterFlowCount::Report() {
  if (Cells > 0) {
    // The middle of the moving cells, each at its centre.
    const int64_t x = SumColumn * TILE_UNITS / Cells + TILE_UNITS / 2;
    const int64_t y = SumRow * TILE_UNITS / Cells + TILE_UNITS / 2;
    TGameEvents::FReport(GameEvent::kWaterFlowed, x, y, Cells);
  }
  *this = WaterFlowCount();
}
