// The views: the scroll locks of the screen regions and the drawing of one view: backdrops
// (scroller_backdrops.cpp), then background tiles, water and blocks cell by cell, then the
// actors in sight.
#include "world/scroller.h"
#include "shared/game_codes.h"

#include <algorithm>

#include "actors/actor.h"  // up: a view draws the actors in its chunks
#include "art/palette.h"   // up: a view sets the palette of what it draws
#include "platform/console.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"
#include "shared/frame_counters.h"
#include "shared/game_images.h"
#include "shared/units.h"
#include "world/block.h"
#include "world/map.h"
#include "world/view_windows.h"

std::shared_ptr<TScroller> Scrollers[2];
uint8_t HiddenViewLayers = 0;

namespace {

constexpr double kWaterAlpha = 0.7;
constexpr int kPaletteTiles = 15;

// A vertical edge holds 18 cells and a horizontal one 25: about seven in ten of them walled.
constexpr double kVerticalWall = 12.6;
constexpr double kHorizontalWall = 18.75;

const TImage* BackgroundSheet(uint8_t chunk_style) {
  if (chunk_style == kChunkStyleSky) return TileSet1.get();
  if (chunk_style == kChunkStyleDark) return TileSet2.get();
  return nullptr;
}

// Whether drawing this frame unscaled at a cell's corner paints all 16x16 pixels of the cell.
bool FrameCoversCell(const TImage* sheet, int frame) {
  if (!sheet || frame < 0 || frame >= sheet->FrameCount()) return false;
  const ImageFrame& cell = sheet->frames[frame];
  return sheet->width == 16 && sheet->height == 16 && sheet->handle_x == 0 &&
         sheet->handle_y == 0 && cell.opaque && cell.argb.size() == 256;
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

bool CellPaintedOpaquely(int x, int y) {
  const int b = BGGrid[x][y];
  if (b != kNoStyle && !(HiddenViewLayers & kHideBackgroundLayer) &&
      FrameCoversCell(BackgroundSheet(ChunkStyleGrid[x / 4][y / 4]), BackgroundFrameAt(x, y, b))) {
    return true;
  }
  const TBlock* block = BlockGrid[x][y].get();
  if (HiddenViewLayers & kHideBlockLayer) return false;
  return block && FrameCoversCell(TileSet0.get(), block->MRestingFrame());
}

int TScroller::FResetTables() {
  for (auto& scroller : Scrollers)
    scroller = nullptr;
  return 0;
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
      locks[kSideLeft] = TMap::FCountEdge(sx, sy, kSideLeft) > kVerticalWall ? 1 : 0;
      locks[kSideRight] = TMap::FCountEdge(sx, sy, kSideRight) > kVerticalWall ? 1 : 0;
      locks[kSideTop] = TMap::FCountEdge(sx, sy, kSideTop) > kHorizontalWall ? 1 : 0;
      locks[kSideBottom] = TMap::FCountEdge(sx, sy, kSideBottom) > kHorizontalWall ? 1 : 0;
    }
  }
  return 0;
}

int TScroller::FRefreshFromMap() {
  FEvaluateScrollLocks();
  TMap::FEvaluateLightMap();
  TMap::FEvaluateChunks();
  return 0;
}

int TScroller::MDraw(const TActor* actor, int screen_x, int screen_y) {
  if (!actor) return 0;
  MMoveCamera(*actor);
  MDrawPasses(screen_x, screen_y);
  return 0;
}

int TScroller::MDrawStill(int screen_x, int screen_y) {
  MDrawPasses(screen_x, screen_y);
  return 0;
}

void TScroller::MDrawPasses(int screen_x, int screen_y) {
  SetDrawOrigin(static_cast<float>(screen_x), static_cast<float>(screen_y));
  SetViewport(screen_x, screen_y, SCREEN_WIDTH_PIXELS, SCREEN_HEIGHT_PIXELS);
  MDrawBackdrops();
  MDrawCells();
  MDrawActors();
  // Later drawing (the editor overlay, the panel) relies on this origin and clip.
  SetDrawOrigin(0, 0);
  SetViewport(0, 0, kAfterViewsClipWidth, kAfterViewsClipHeight);
}

TScroller::CellWindow TScroller::MCellWindow() const {
  const int x0 = UnitsToCell(CameraCornerX);
  const int y0 = UnitsToCell(CameraCornerY);
  return {x0, y0, WindowEnd(x0, kCellWindowColumns, MAP_WIDTH_TILES),
          WindowEnd(y0, kCellWindowRows, MAP_HEIGHT_TILES)};
}

void TScroller::MDrawCells() {
  const CellWindow window = MCellWindow();
  const int x0 = window.x0, y0 = window.y0, x1 = window.x1, y1 = window.y1;
  XPosPixelOfs = (CameraCornerX >> PIXEL_SHIFT) % 16;
  YPosPixelOfs = (CameraCornerY >> PIXEL_SHIFT) % 16;
  // Everything the pass draws is drawn in the tiles' palette, set before the first draw. Blocks
  // and backgrounds are drawn in mask mode at full alpha, which every cell leaves behind it:
  // set here, and again after water.
  bool tiles_palette = false;
  auto use_tiles_palette = [&tiles_palette] {
    if (!tiles_palette) TPalette::FSet(kPaletteTiles);
    tiles_palette = true;
  };
  if (x0 <= x1 && y0 <= y1) {
    SetBlend(kBlendMask);
    SetAlpha(1);
  }
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const auto px = static_cast<float>((x - x0) * 16 - XPosPixelOfs);
      const auto py = static_cast<float>((y - y0) * 16 - YPosPixelOfs);
      const int b = (HiddenViewLayers & kHideBackgroundLayer) ? kNoStyle : BGGrid[x][y];
      const TImage* sheet = b != kNoStyle ? BackgroundSheet(ChunkStyleGrid[x / 4][y / 4]) : nullptr;
      if (sheet) {
        use_tiles_palette();
        DrawImageFrame(sheet, px, py, BackgroundFrameAt(x, y, b));
      }
      if (SolidGrid[x][y] == kSolidFluid && !(HiddenViewLayers & kHideWaterLayer)) {
        SetBlend(kBlendAlpha);
        SetAlpha(kWaterAlpha);
        use_tiles_palette();
        DrawImageFrame(WaterImage.get(), px, py, WaterFrameAt(x, y));
        SetBlend(kBlendMask);
        SetAlpha(1);
      }
      if (TBlock* block = (HiddenViewLayers & kHideBlockLayer) ? nullptr : BlockGrid[x][y].get()) {
        use_tiles_palette();
        block->MDraw(static_cast<int>(px), static_cast<int>(py));
      }
    }
  }
}

// Only the buckets of the chunks in sight are visited, never the whole population; an actor
// filed in a chunk left of or above the window is not drawn even if its image reaches in.
void TScroller::MDrawActors() {
  if (HiddenViewLayers & kHideActorLayer) return;
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
