// What the build tools do to the map: the cells of lines and rectangles, the flood fill's region,
// one cell painted or erased in a layer, and the clipboard's copy, clear and stamp. The border
// ring is never changed. Solid families and the first backgrounds vary from cell to cell by the
// cell's place, never by the game's generator: building draws no random number.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "editor/build_mode.h"
#include "editor/editor.h"
#include "fluid/fluid.h"
#include "shared/game_codes.h"
#include "world/block.h"
#include "world/map.h"

namespace {

// One of twelve, fixed for the cell: the variation a painted cell gets.
int CellDraw(int x, int y) {
  uint32_t h = static_cast<uint32_t>(x) * 2654435761u ^ static_cast<uint32_t>(y + 97) * 40503u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<int>(h % 12);
}

// As painting in play varies them: solid families of six keep their family (7 in 12 on the
// first), the first eight backgrounds spread over the eight (5 in 12 on the first).
int VariedBlockStyle(int picked, int x, int y) {
  const int offset = std::max(0, CellDraw(x, y) - 6);
  if (picked >= 0 && picked < 18) return picked / 6 * 6 + offset;
  if (picked >= 32 && picked <= 49) return (picked - 32) / 6 * 6 + 32 + offset;
  return picked;
}

int VariedBackgroundStyle(int picked, int x, int y) {
  if (picked >= 0 && picked < 8) return std::max(0, CellDraw(x, y) - 4);
  return picked;
}

bool HasWater(int x, int y) {
  return !BlockGrid[x][y] && SolidGrid[x][y] == kSolidFluid;
}

void PutWater(int x, int y, bool water) {
  if (water) {
    if (BlockGrid[x][y]) TMap::FCreateBlock(x, y, -1);
    SolidGrid[x][y] = kSolidFluid;
    FillGrid[x][y] = 16;
  } else {
    SolidGrid[x][y] = kSolidNothing;
    FillGrid[x][y] = 0;
  }
  TFluid::FEvaluateColumn(x);
}

int ContentOf(int x, int y, BuildLayer layer) {
  switch (layer) {
    case BuildLayer::kBackgrounds:
      return BGGrid[x][y];
    case BuildLayer::kWater:
      return HasWater(x, y) ? 1 : 0;
    default:
      return TMap::FBlockStyleAtCell(x, y);
  }
}

struct Box {
  int X0, Y0, X1, Y1;
};

Box BoxOf(BuildCell a, BuildCell b) {
  return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

}  // namespace

std::vector<BuildCell> LineCells(BuildCell a, BuildCell b) {
  std::vector<BuildCell> cells;
  const int dx = std::abs(b.X - a.X), dy = -std::abs(b.Y - a.Y);
  const int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
  int error = dx + dy;
  BuildCell at = a;
  for (;;) {
    cells.push_back(at);
    if (at == b) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      at.X += sx;
    }
    if (twice <= dx) {
      error += dx;
      at.Y += sy;
    }
  }
  return cells;
}

std::vector<BuildCell> RectangleCells(BuildCell a, BuildCell b, bool filled) {
  const Box box = BoxOf(a, b);
  std::vector<BuildCell> cells;
  for (int y = box.Y0; y <= box.Y1; ++y)
    for (int x = box.X0; x <= box.X1; ++x)
      if (filled || x == box.X0 || x == box.X1 || y == box.Y0 || y == box.Y1)
        cells.push_back({x, y});
  return cells;
}

std::vector<BuildCell> FloodRegion(int x, int y, BuildLayer layer) {
  std::vector<BuildCell> region;
  if (!TMap::FBoundsMargin(x, y)) return region;
  static bool seen[MAP_WIDTH_TILES][MAP_HEIGHT_TILES];
  std::memset(seen, 0, sizeof seen);
  const int content = ContentOf(x, y, layer);
  region.push_back({x, y});
  seen[x][y] = true;
  // The region itself is the queue: every cell in it is visited once.
  for (size_t next = 0; next < region.size(); ++next) {
    const BuildCell at = region[next];
    const BuildCell around[4] = {
        {at.X + 1, at.Y}, {at.X - 1, at.Y}, {at.X, at.Y + 1}, {at.X, at.Y - 1}};
    for (const BuildCell& cell : around) {
      if (!TMap::FBoundsMargin(cell.X, cell.Y) || seen[cell.X][cell.Y]) continue;
      if (ContentOf(cell.X, cell.Y, layer) != content) continue;
      seen[cell.X][cell.Y] = true;
      region.push_back(cell);
    }
  }
  return region;
}

bool SetBuildCell(int x, int y, BuildLayer layer, bool erase) {
  if (!TMap::FBoundsMargin(x, y)) return false;
  switch (layer) {
    case BuildLayer::kBackgrounds: {
      const int style = erase ? kNoStyle : VariedBackgroundStyle(EditorBGStyle, x, y) & 0xFF;
      if (BGGrid[x][y] == style) return false;
      TMap::FBGSet(x, y, style);
      return true;
    }
    case BuildLayer::kWater:
      if (erase ? !HasWater(x, y) : HasWater(x, y) && FillGrid[x][y] == 16) return false;
      PutWater(x, y, !erase);
      return true;
    case BuildLayer::kBlocks: {
      const int style = erase ? kNoStyle : VariedBlockStyle(EditorBlockStyle, x, y) & 0xFF;
      if (TMap::FBlockStyleAtCell(x, y) == style) return false;
      TMap::FCreateBlock(x, y, style == kNoStyle ? -1 : style);
      return true;
    }
    default:
      return false;
  }
}

BuildClip CopyCells(BuildCell a, BuildCell b) {
  Box box = BoxOf(a, b);
  box.X0 = std::max(box.X0, 0);
  box.Y0 = std::max(box.Y0, 0);
  box.X1 = std::min(box.X1, MAP_WIDTH_TILES - 1);
  box.Y1 = std::min(box.Y1, MAP_HEIGHT_TILES - 1);
  BuildClip clip;
  if (box.X0 > box.X1 || box.Y0 > box.Y1) return clip;
  clip.Width = box.X1 - box.X0 + 1;
  clip.Height = box.Y1 - box.Y0 + 1;
  for (int y = box.Y0; y <= box.Y1; ++y) {
    for (int x = box.X0; x <= box.X1; ++x) {
      clip.Blocks.push_back(static_cast<uint8_t>(TMap::FBlockStyleAtCell(x, y)));
      clip.BG.push_back(BGGrid[x][y]);
      clip.Water.push_back(HasWater(x, y) ? 1 : 0);
    }
  }
  return clip;
}

bool ClearCells(BuildCell a, BuildCell b) {
  const Box box = BoxOf(a, b);
  bool changed = false;
  for (int y = box.Y0; y <= box.Y1; ++y) {
    for (int x = box.X0; x <= box.X1; ++x) {
      changed |= SetBuildCell(x, y, BuildLayer::kBlocks, true);
      changed |= SetBuildCell(x, y, BuildLayer::kWater, true);
      changed |= SetBuildCell(x, y, BuildLayer::kBackgrounds, true);
    }
  }
  return changed;
}

bool StampClip(const BuildClip& clip, int x0, int y0) {
  bool changed = false;
  for (int j = 0; j < clip.Height; ++j) {
    for (int i = 0; i < clip.Width; ++i) {
      // Far-off corners stay far off: no sum here can wrap.
      const int64_t wx = int64_t{x0} + i, wy = int64_t{y0} + j;
      if (wx < 1 || wy < 1 || wx > MAP_WIDTH_TILES - 2 || wy > MAP_HEIGHT_TILES - 2) continue;
      const int x = static_cast<int>(wx), y = static_cast<int>(wy);
      const size_t at = static_cast<size_t>(j) * clip.Width + i;
      const int style = clip.Blocks[at];
      if (TMap::FBlockStyleAtCell(x, y) != style) {
        TMap::FCreateBlock(x, y, style == kNoStyle ? -1 : style);
        changed = true;
      }
      const bool water = clip.Water[at] != 0 && style == kNoStyle;
      if (HasWater(x, y) != water) {
        PutWater(x, y, water);
        changed = true;
      }
      if (BGGrid[x][y] != clip.BG[at]) {
        TMap::FBGSet(x, y, clip.BG[at]);
        changed = true;
      }
    }
  }
  return changed;
}

BuildCell StartCell(const TStartPoint& start) {
  return {UnitsToCell(start.X), UnitsToCell(start.Y - 1)};
}

TStartPoint StartAtCell(int x, int y) {
  return {int64_t{x} * TILE_UNITS + TILE_UNITS / 2, int64_t{y + 1} * TILE_UNITS - 1};
}
