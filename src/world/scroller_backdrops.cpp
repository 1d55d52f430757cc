// The backdrop pass of a view: the sky, the dark or the covered colour of each chunk in sight,
// behind the cells.
#include <algorithm>
#include <cstdint>

#include "art/palette.h"  // up: a view sets the palette of what it draws
#include "platform/render/draw.h"
#include "shared/game_codes.h"
#include "shared/units.h"
#include "world/map.h"
#include "world/scroller.h"
#include "world/view_windows.h"

namespace {

constexpr int kNoBackdrop = -1;
constexpr int kChunkPixels = 64;
constexpr int kCellPixels = 16;
constexpr int kMaxRuns = kChunkWindowColumns * 4;  // one per cell of a row at most

// The palette style of chunk (c, r)'s backdrop, or kNoBackdrop.
int BackdropOf(int c, int r) {
  if (ChunkVisibleGrid[c][r] == 0 && HiddenViewLayers == 0) return kPaletteCovered;
  if (ChunkStyleGrid[c][r] == kChunkStyleDark) return kPaletteDark;
  if (ChunkStyleGrid[c][r] == kChunkStyleSky) return kPaletteSky;
  return kNoBackdrop;
}

// Cells x0..x1-1 of one backdrop, from cell row `top` down to the row being looked at.
struct Run {
  int x0, x1, style, top;
};

// Which cells of the window the cell pass paints opaquely: a bit per column, a word per row.
// Gathered column by column, the way the map's grids lie in memory.
void FindPaintedCells(int x0, int y0, int x1, int y1, uint32_t painted[kCellWindowRows]) {
  static_assert(kCellWindowColumns <= 32, "a row of the window fits a word");
  std::fill(painted, painted + kCellWindowRows, 0u);
  for (int x = x0; x <= x1; ++x) {
    for (int y = y0; y <= y1; ++y) {
      if (CellPaintedOpaquely(x, y)) painted[y - y0] |= 1u << (x - x0);
    }
  }
}

// The runs of cell row y, in order: cells of one backdrop in a row, none painted over. The row
// goes a chunk (four cells) at a time; only a chunk with some of its cells painted over is
// looked at cell by cell. `painted_x0` is the column of the row's first painted bit.
int FindRuns(int y, int first_x, int last_x, const int8_t* chunk_styles, uint32_t row_painted,
             int painted_x0, Run* runs) {
  const int shift = painted_x0 - first_x;  // 0..3: the cell window starts in the first chunk
  const uint64_t painted =
      shift >= 0 ? uint64_t{row_painted} << shift : uint64_t{row_painted} >> -shift;
  int count = 0;
  int start = 0, style = kNoBackdrop;  // the run being extended
  auto end_run = [&](int x) {
    if (style != kNoBackdrop) runs[count++] = Run{start, x, style, y};
    style = kNoBackdrop;
  };
  auto extend = [&](int x, int cell_style) {
    if (cell_style == style) return;
    end_run(x);
    start = x;
    style = cell_style;
  };
  for (int k = 0; first_x + 4 * k <= last_x; ++k) {
    const int x = first_x + 4 * k;
    const int chunk_style = chunk_styles[k];
    const unsigned cells = static_cast<unsigned>(painted >> (4 * k)) & 0xFu;
    if (chunk_style == kNoBackdrop || cells == 0xFu) {
      end_run(x);
    } else if (cells == 0) {
      extend(x, chunk_style);
    } else {
      for (int i = 0; i < 4; ++i) {
        if ((cells >> i) & 1u) {
          end_run(x + i);
        } else {
          extend(x + i, chunk_style);
        }
      }
    }
  }
  end_run(last_x + 1);
  return count;
}

}  // namespace

// Cells the cell pass paints opaquely afterwards are left out: filling them would cost most of
// a frame on a level of solid ground and show nothing. The rest is filled as rectangles: along
// each cell row, runs of cells of one backdrop; a run that the next row repeats grows down
// instead of being filled twice. The rectangles never overlap, so their order does not matter.
// Cells outside the cell window lie outside the view and are filled with their run.
void TScroller::MFillBackdropRuns(int c0, int r0, int c1, int r1, const CellWindow& window) {
  auto fill = [&](const Run& run, int bottom) {
    TPalette::FSet(run.style);
    DrawRect(static_cast<float>((run.x0 - c0 * 4) * kCellPixels - XPosPixelOfs),
             static_cast<float>((run.top - r0 * 4) * kCellPixels - YPosPixelOfs),
             static_cast<float>((run.x1 - run.x0) * kCellPixels),
             static_cast<float>((bottom - run.top) * kCellPixels));
  };
  int8_t styles[kChunkWindowRows][kChunkWindowColumns];
  for (int r = r0; r <= r1; ++r) {
    for (int c = c0; c <= c1; ++c)
      styles[r - r0][c - c0] = static_cast<int8_t>(BackdropOf(c, r));
  }
  uint32_t painted[kCellWindowRows];
  FindPaintedCells(window.x0, window.y0, window.x1, window.y1, painted);
  Run open[kMaxRuns], next[kMaxRuns];
  int open_count = 0;
  for (int y = r0 * 4; y <= r1 * 4 + 3; ++y) {
    const bool in_window = y >= window.y0 && y <= window.y1;
    const int next_count = FindRuns(y, c0 * 4, c1 * 4 + 3, styles[y / 4 - r0],
                                    in_window ? painted[y - window.y0] : 0u, window.x0, next);
    // Runs are in order along both rows: a run the row above held alike carries its top down.
    int k = 0;
    for (int i = 0; i < next_count; ++i) {
      Run& run = next[i];
      while (k < open_count && open[k].x0 < run.x0)
        fill(open[k++], y);
      if (k < open_count && open[k].x0 == run.x0 && open[k].x1 == run.x1 &&
          open[k].style == run.style) {
        run.top = open[k++].top;
      }
    }
    while (k < open_count)
      fill(open[k++], y);
    std::copy(next, next + next_count, open);
    open_count = next_count;
  }
  for (int k = 0; k < open_count; ++k)
    fill(open[k], r1 * 4 + 4);
}

void TScroller::MDrawBackdrops() {
  const int c0 = UnitsToChunk(CameraCornerX);
  const int r0 = UnitsToChunk(CameraCornerY);
  XPosPixelOfs = (CameraCornerX >> PIXEL_SHIFT) % kChunkPixels;
  YPosPixelOfs = (CameraCornerY >> PIXEL_SHIFT) % kChunkPixels;
  const int c1 = WindowEnd(c0, kChunkWindowColumns, CHUNK_COLUMNS);
  const int r1 = WindowEnd(r0, kChunkWindowRows, CHUNK_ROWS);
  const DrawState& state = CurrentDrawState();
  // The runs are a drawing shortcut (platform/render/draw.h), and scaled, a chunk's rectangle is
  // not its cells: otherwise one rectangle per chunk. Either way the colour left set is the last
  // chunk's, which later drawing may rely on.
  const bool runs = state.scale_x == 1.0f && state.scale_y == 1.0f && DrawShortcutsOn();
  if (runs) MFillBackdropRuns(c0, r0, c1, r1, MCellWindow());
  int last = kNoBackdrop;
  for (int r = r0; r <= r1; ++r) {
    for (int c = c0; c <= c1; ++c) {
      const int style = BackdropOf(c, r);
      if (style == kNoBackdrop) continue;
      last = style;
      if (runs) continue;
      TPalette::FSet(style);
      DrawRect(static_cast<float>((c - c0) * kChunkPixels - XPosPixelOfs),
               static_cast<float>((r - r0) * kChunkPixels - YPosPixelOfs), kChunkPixels,
               kChunkPixels);
    }
  }
  if (last != kNoBackdrop) TPalette::FSet(last);
}
