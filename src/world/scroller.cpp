// The views: the scroll locks of the screen regions and the drawing of one view, backdrops by
// chunks, then background tiles, water and blocks cell by cell, then the actors in sight.
#include "world/scroller.h"
#include "shared/game_codes.h"

#include <algorithm>

#include "actors/actor.h"  // up: a view draws the actors in its chunks
#include "art/palette.h"   // up: a view sets the palette of what it draws
#include "platform/console.h"
#include "platform/draw.h"
#include "platform/image.h"
#include "shared/frame_counters.h"
#include "shared/game_images.h"
#include "shared/units.h"
#include "world/block.h"
#include "world/map.h"

namespace {

constexpr int kChunkWindowColumns = 8;  // 400 pixels reach into at most 8 chunks of 64
constexpr int kChunkWindowRows = 6;     // 288 pixels into at most 6
constexpr int kCellWindowColumns = 26;
constexpr int kCellWindowRows = 19;
constexpr float kWaterAlpha = 0.7f;

constexpr int kPaletteDark = 1;
constexpr int kPaletteSky = 7;
constexpr int kPaletteCovered = 12;
constexpr int kPaletteTiles = 15;

// A vertical edge holds 18 cells and a horizontal one 25: about seven in ten of them walled.
constexpr double kVerticalWall = 12.6;
constexpr double kHorizontalWall = 18.75;

// The last index of a window of `count` starting at `first`, kept inside a grid of `size`.
int WindowEnd(int first, int count, int size) {
  return std::min(first + count, size) - 1;
}

const TImage* BackgroundSheet(uint8_t chunk_style) {
  if (chunk_style == kChunkStyleSky) return TileSet1.get();
  if (chunk_style == kChunkStyleDark) return TileSet2.get();
  return nullptr;
}

void DrawBackground(int x, int y, int b, float px, float py) {
  SetBlend(1);
  SetAlpha(1);
  const TImage* sheet = BackgroundSheet(ChunkStyleGrid[x / 4][y / 4]);
  if (!sheet) return;
  TPalette::FSet(kPaletteTiles);
  DrawImageFrame(sheet, px, py, BackgroundFrameAt(x, y, b));
}

void DrawFluid(int x, int y, float px, float py) {
  SetBlend(3);
  SetAlpha(kWaterAlpha);
  TPalette::FSet(kPaletteTiles);
  DrawImageFrame(WaterImage.get(), px, py, WaterFrameAt(x, y));
}

}  // namespace

int WaterFrameAt(int x, int y) {
  const int level = FillGrid[x][y];
  const bool full_below = y + 1 < MAP_HEIGHT_TILES && FillGrid[x][y + 1] == 16;
  return full_below ? level + 15 + 16 * AnimPhase : level - 1;
}

int BackgroundFrameAt(int x, int y, int b) {
  return b < 8 && ShadowGrid[x][y] == 1 ? b + 8 : b;
}

int TScroller::FBoot() {
  FDefaultState();
  Scrollers[0] = std::make_shared<TScroller>();
  Scrollers[1] = std::make_shared<TScroller>();
  return 0;
}

int TScroller::FDefaultState() {
  PrintLine("TScroller default state.");
  return 0;
}

int TScroller::FEvaluateScrollLocks() {
  for (int sy = 0; sy < 3; ++sy) {
    for (int sx = 0; sx < 3; ++sx) {
      uint8_t* locks = ScrollLocks[sx][sy];
      locks[3] = TMap::FCountEdge(sx, sy, 3) > kVerticalWall ? 1 : 0;
      locks[1] = TMap::FCountEdge(sx, sy, 1) > kVerticalWall ? 1 : 0;
      locks[0] = TMap::FCountEdge(sx, sy, 0) > kHorizontalWall ? 1 : 0;
      locks[2] = TMap::FCountEdge(sx, sy, 2) > kHorizontalWall ? 1 : 0;
    }
  }
  return 0;
}

int TScroller::MDraw(const TActor* actor, int screen_x, int screen_y) {
  if (!actor) return 0;
  SetDrawOrigin(static_cast<float>(screen_x), static_cast<float>(screen_y));
  SetViewport(screen_x, screen_y, SCREEN_WIDTH_PIXELS, SCREEN_HEIGHT_PIXELS);
  MMoveCamera(*actor);
  MDrawBackdrops();
  MDrawCells();
  MDrawActors();
  // Later drawing (the editor overlay, the panel) relies on this origin and clip.
  SetDrawOrigin(0, 0);
  SetViewport(0, 0, 672, 600);
  return 0;
}

// One rectangle per chunk: the sky or the dark behind the tiles, and a plain fill under chunks
// wholly covered by opaque tiles, which the cell pass paints over.
void TScroller::MDrawBackdrops() {
  const int c0 = UnitsToChunk(CameraCornerX);
  const int r0 = UnitsToChunk(CameraCornerY);
  XPosPixelOfs = (CameraCornerX >> PIXEL_SHIFT) % 64;
  YPosPixelOfs = (CameraCornerY >> PIXEL_SHIFT) % 64;
  const int c1 = WindowEnd(c0, kChunkWindowColumns, CHUNK_COLUMNS);
  const int r1 = WindowEnd(r0, kChunkWindowRows, CHUNK_ROWS);
  for (int r = r0; r <= r1; ++r) {
    for (int c = c0; c <= c1; ++c) {
      const auto px = static_cast<float>((c - c0) * 64 - XPosPixelOfs);
      const auto py = static_cast<float>((r - r0) * 64 - YPosPixelOfs);
      if (ChunkVisibleGrid[c][r] == 0) {
        TPalette::FSet(kPaletteCovered);
      } else if (ChunkStyleGrid[c][r] == kChunkStyleDark) {
        TPalette::FSet(kPaletteDark);
      } else if (ChunkStyleGrid[c][r] == kChunkStyleSky) {
        TPalette::FSet(kPaletteSky);
      } else {
        continue;
      }
      DrawRect(px, py, 64, 64);
    }
  }
}

void TScroller::MDrawCells() {
  const int x0 = UnitsToCell(CameraCornerX);
  const int y0 = UnitsToCell(CameraCornerY);
  XPosPixelOfs = (CameraCornerX >> PIXEL_SHIFT) % 16;
  YPosPixelOfs = (CameraCornerY >> PIXEL_SHIFT) % 16;
  const int x1 = WindowEnd(x0, kCellWindowColumns, MAP_WIDTH_TILES);
  const int y1 = WindowEnd(y0, kCellWindowRows, MAP_HEIGHT_TILES);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const auto px = static_cast<float>((x - x0) * 16 - XPosPixelOfs);
      const auto py = static_cast<float>((y - y0) * 16 - YPosPixelOfs);
      const int b = TMap::FBGStyleAtCell(x, y);
      if (b != kNoStyle) DrawBackground(x, y, b, px, py);
      if (SolidGrid[x][y] == kSolidFluid) DrawFluid(x, y, px, py);
      SetBlend(1);
      SetAlpha(1);
      if (TBlock* block = BlockGrid[x][y].get()) {
        TPalette::FSet(kPaletteTiles);
        block->MDraw(static_cast<int>(px), static_cast<int>(py));
      }
    }
  }
}

// Only the buckets of the chunks in sight are visited, never the whole population; an actor
// filed in a chunk left of or above the window is not drawn even if its image reaches in.
void TScroller::MDrawActors() {
  const int c0 = UnitsToChunk(CameraCornerX);
  const int r0 = UnitsToChunk(CameraCornerY);
  const int c1 = WindowEnd(c0, kChunkWindowColumns, CHUNK_COLUMNS);
  const int r1 = WindowEnd(r0, kChunkWindowRows, CHUNK_ROWS);
  for (int r = r0; r <= r1; ++r) {
    for (int c = c0; c <= c1; ++c) {
      for (const std::shared_ptr<TActor>& other : ActorBuckets[c][r]) {
        if (!other) continue;
        other->MOnScreenRelativePos(CameraCornerX, CameraCornerY);
        other->MDraw(static_cast<int32_t>(other->XRelPixel),
                     static_cast<int32_t>(other->YRelPixel));
      }
    }
  }
}
