// The window's icon, cut from the first cell of the actor sheet.
#include "platform/sdl/sdl_window_icon.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/render/draw.h"
#include "platform/render/pixmap.h"

namespace {

constexpr const char* kActorSheet = "ActorGfxKelpo.bmp";
constexpr int kCellWidth = 16, kCellHeight = 24;
// Icons are square; the cell is centred in a square of its height, then doubled so window
// managers that shrink large icons still get clean pixels.
constexpr int kIconZoom = 2;
constexpr uint32_t kMaskRGB = 0x7AC9FF;  // 122, 201, 255: the art's transparent colour

std::vector<uint32_t> IconPixels(const TPixmap& sheet) {
  constexpr int side = std::max(kCellWidth, kCellHeight) * kIconZoom;
  constexpr int left = (side / kIconZoom - kCellWidth) / 2;
  std::vector<uint32_t> icon(side * side, 0);  // fully transparent around the cell
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const int cell_x = x / kIconZoom - left, cell_y = y / kIconZoom;
      if (cell_x < 0 || cell_x >= kCellWidth || cell_y >= kCellHeight) continue;
      const uint32_t rgb = sheet.ReadPixel(cell_x, cell_y) & kRgbMask;
      if (rgb != kMaskRGB) icon[y * side + x] = 0xFF000000u | rgb;
    }
  }
  return icon;
}

}  // namespace

void SetWindowIconFromArt(SDL_Window* window) {
  const auto sheet = LoadPixmapFile(kActorSheet);
  if (!window || !sheet || sheet->width < kCellWidth || sheet->height < kCellHeight) return;
  std::vector<uint32_t> pixels = IconPixels(*sheet);
  const int side = std::max(kCellWidth, kCellHeight) * kIconZoom;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), side, side, 32, side * 4,
                                                         SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return;
  SDL_SetWindowIcon(window, icon);  // SDL keeps its own copy
  SDL_FreeSurface(icon);
}
