// The map overview of the free camera: each cell in the average colour of the tile that shows
// in it, the actors as dots and the left view's outline, put together in a pixmap and copied
// into the back buffer in one draw.
#include "editor/map_overview.h"

#include <memory>
#include <vector>

#include "actors/actor.h"
#include "actors/profile.h"
#include "art/palette.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"
#include "platform/render/pixmap.h"
#include "shared/game_codes.h"
#include "shared/game_images.h"
#include "shared/units.h"
#include "world/block.h"
#include "world/map.h"
#include "world/scroller.h"

namespace {

constexpr uint32_t kFrameColour = 0x000000;
constexpr uint32_t kOutlineColour = 0xFFFFFF;
constexpr uint32_t kPlayerColour = 0xFFE000;
constexpr uint32_t kBadguyColour = 0xFF2020;
constexpr uint32_t kNoColour = 0xFF000000;  // a tile with nothing opaque in it
constexpr int kFullWaterFrame = 15;         // the still frame of a full cell
constexpr double kWaterAlpha = 0.7;         // as the views blend it

// The average colour of each frame of a sheet, over its opaque texels. Worked out once per
// loaded sheet: a sheet loaded again (a new start in the same process) has new serials.
class FrameColours {
 public:
  uint32_t Of(const TImage* sheet, int frame) {
    if (!sheet || frame < 0 || frame >= sheet->FrameCount()) return kNoColour;
    if (sheet != Sheet || sheet->frames[0].serial != Serial) Work(sheet);
    return Colours[static_cast<size_t>(frame)];
  }

 private:
  void Work(const TImage* sheet) {
    Sheet = sheet;
    Serial = sheet->frames[0].serial;
    Colours.clear();
    for (const ImageFrame& frame : sheet->frames)
      Colours.push_back(Average(frame));
  }
  static uint32_t Average(const ImageFrame& frame) {
    uint64_t r = 0, g = 0, b = 0, n = 0;
    for (uint32_t argb : frame.argb) {
      if ((argb >> 24) < 128) continue;
      r += (argb >> 16) & 0xFF;
      g += (argb >> 8) & 0xFF;
      b += argb & 0xFF;
      ++n;
    }
    if (n == 0) return kNoColour;
    return static_cast<uint32_t>(((r / n) << 16) | ((g / n) << 8) | (b / n));
  }
  const TImage* Sheet = nullptr;
  uint64_t Serial = 0;
  std::vector<uint32_t> Colours;
};

FrameColours BlockColours, SkyBackgroundColours, DarkBackgroundColours, WaterColours;

uint32_t Mix(uint32_t over, uint32_t under, double alpha) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double a = (over >> shift) & 0xFF, b = (under >> shift) & 0xFF;
    out |= static_cast<uint32_t>(a * alpha + b * (1 - alpha)) << shift;
  }
  return out;
}

// What shows behind water and blocks: the background tile, else the chunk's backdrop.
uint32_t BehindColour(int cx, int cy) {
  // Only the two chunk styles the views draw have a backdrop and background tiles.
  const uint8_t chunk = ChunkStyleGrid[cx / 4][cy / 4];
  if (chunk != kChunkStyleSky && chunk != kChunkStyleDark) return 0;
  const bool dark = chunk == kChunkStyleDark;
  const int b = TMap::FBGStyleAtCell(cx, cy);
  if (b != kNoStyle) {
    FrameColours& sheet = dark ? DarkBackgroundColours : SkyBackgroundColours;
    const uint32_t colour =
        sheet.Of(dark ? TileSet2.get() : TileSet1.get(), BackgroundFrameAt(cx, cy, b));
    if (colour != kNoColour) return colour;
  }
  return TPalette::FRgb(chunk);
}

void Fill(TPixmap& pixmap, int x, int y, int w, int h, uint32_t rgb) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      pixmap.WritePixel(i, j, 0xFF000000u | rgb);
}

// A dot of two by two pixels where the actor stands (its feet's cell); none off the map.
void Dot(TPixmap& pixmap, const TActor& actor, uint32_t rgb) {
  if (actor.XPos < 0 || actor.YPos < 0 || actor.XPos >= MAP_WIDTH_UNITS ||
      actor.YPos >= MAP_HEIGHT_UNITS)
    return;
  const int px = 1 + static_cast<int>(actor.XPos * kOverviewCellPixels / TILE_UNITS);
  const int py = 1 + static_cast<int>((actor.YPos - 1) * kOverviewCellPixels / TILE_UNITS);
  Fill(pixmap, px - 1, py - 1, 2, 2, rgb);
}

void Outline(TPixmap& pixmap, const TScroller& view) {
  const int x0 = 1 + static_cast<int>(view.CameraCornerX * kOverviewCellPixels / TILE_UNITS);
  const int y0 = 1 + static_cast<int>(view.CameraCornerY * kOverviewCellPixels / TILE_UNITS);
  const int w = SCREEN_WIDTH_TILES * kOverviewCellPixels;
  const int h = SCREEN_HEIGHT_TILES * kOverviewCellPixels;
  Fill(pixmap, x0, y0, w, 1, kOutlineColour);
  Fill(pixmap, x0, y0 + h - 1, w, 1, kOutlineColour);
  Fill(pixmap, x0, y0, 1, h, kOutlineColour);
  Fill(pixmap, x0 + w - 1, y0, 1, h, kOutlineColour);
}

}  // namespace

bool OverviewContains(int mx, int my) {
  return mx >= kOverviewLeft - 1 && mx <= kOverviewLeft + kOverviewWidth &&
         my >= kOverviewTop - 1 && my <= kOverviewTop + kOverviewHeight;
}

void OverviewCellAt(int mx, int my, int& cx, int& cy) {
  // Wide enough for a pointer anywhere an int reaches (a script may put it there).
  auto cell = [](int pixel, int first, int cells) {
    const int64_t c = (int64_t{pixel} - first) / kOverviewCellPixels;
    return pixel < first ? 0 : static_cast<int>(c >= cells ? cells - 1 : c);
  };
  cx = cell(mx, kOverviewLeft, MAP_WIDTH_TILES);
  cy = cell(my, kOverviewTop, MAP_HEIGHT_TILES);
}

uint32_t OverviewCellColour(int cx, int cy) {
  if (const TBlock* block = BlockGrid[cx][cy].get()) {
    const uint32_t colour = BlockColours.Of(TileSet0.get(), block->MStyle());
    if (colour != kNoColour) return colour;
  }
  const uint32_t behind = BehindColour(cx, cy);
  if (SolidGrid[cx][cy] != kSolidFluid) return behind;
  const uint32_t water = WaterColours.Of(WaterImage.get(), kFullWaterFrame);
  return water == kNoColour ? behind : Mix(water, behind, kWaterAlpha);
}

void DrawMapOverview() {
  // A scratch picture kept between frames only to spare the allocation.
  static std::shared_ptr<TPixmap> picture =
      TPixmap::Create(kOverviewWidth + 2, kOverviewHeight + 2, kFormatRGBA, 4);
  if (!picture) return;
  TPixmap& pixmap = *picture;
  Fill(pixmap, 0, 0, pixmap.width, pixmap.height, kFrameColour);
  for (int cy = 0; cy < MAP_HEIGHT_TILES; ++cy)
    for (int cx = 0; cx < MAP_WIDTH_TILES; ++cx)
      Fill(pixmap, 1 + cx * kOverviewCellPixels, 1 + cy * kOverviewCellPixels, kOverviewCellPixels,
           kOverviewCellPixels, OverviewCellColour(cx, cy));
  for (const auto& actor : ActorLists[kBadguyList])
    if (actor) Dot(pixmap, *actor, kBadguyColour);
  if (Profiles[kPlayerProfile] && Profiles[kPlayerProfile]->Actor)
    Dot(pixmap, *Profiles[kPlayerProfile]->Actor, kPlayerColour);
  if (Scrollers[0]) Outline(pixmap, *Scrollers[0]);
  DrawPixmap(&pixmap, kOverviewLeft - 1, kOverviewTop - 1);
}
