// Build mode over the presented picture: the cell grid of the left view, the starts, the cells
// the tool will change, the selection or the paste under the pointer, and two status lines (the
// tool, the layer, the pointer's cell; the brush's style and what its family does).
#include <algorithm>
#include <string>

#include "editor/build_mode.h"
#include "editor/editor.h"
#include "editor/editor_layout.h"
#include "platform/render/font.h"
#include "shared/game_codes.h"
#include "shared/units.h"
#include "world/block.h"
#include "world/map.h"
#include "world/scroller.h"

namespace {

constexpr int kViewWidth = SCREEN_WIDTH_PIXELS;
constexpr int kViewHeight = SCREEN_HEIGHT_PIXELS;
constexpr int kCell = TILE_SIZE_PIXELS;
constexpr uint32_t kGridColour = 0xFFFFFF;
constexpr uint8_t kGridAlpha = 40;
constexpr uint32_t kTargetColour = 0xFFFF00;
constexpr uint32_t kSelectionColour = 0x40E0FF;
constexpr uint32_t kStampColour = 0xFF60FF;
constexpr uint32_t kPlayerColour = 0x40FF40;
constexpr uint32_t kBadguyColour = 0xFF5050;
constexpr int kStatusLineStep = kGlyphHeight + 1;

struct ViewCorner {
  int X = 0, Y = 0;  // the left view's corner in map pixels
};

ViewCorner Corner() {
  const TScroller* view = Scrollers[0].get();
  if (!view) return {};
  return {static_cast<int>(view->CameraCornerX >> PIXEL_SHIFT),
          static_cast<int>(view->CameraCornerY >> PIXEL_SHIFT)};
}

void Box(OverlayScene& scene, int x, int y, int w, int h, uint32_t colour, uint8_t alpha,
         bool outline) {
  // Kept to the left view: nothing of build mode's marks reaches over the gap or the picker.
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, kViewWidth), y1 = std::min(y + h, kViewHeight);
  if (x0 >= x1 || y0 >= y1) return;
  OverlayBox box;
  box.X = x0;
  box.Y = y0;
  box.Width = x1 - x0;
  box.Height = y1 - y0;
  box.Colour = colour;
  box.Alpha = alpha;
  box.Outline = outline;
  scene.Boxes.push_back(box);
}

// Cells x0..x1, y0..y1 of the map, outlined in the view.
void OutlineCells(OverlayScene& scene, const ViewCorner& corner, int x0, int y0, int x1, int y1,
                  uint32_t colour) {
  Box(scene, x0 * kCell - corner.X, y0 * kCell - corner.Y, (x1 - x0 + 1) * kCell,
      (y1 - y0 + 1) * kCell, colour, 255, true);
}

bool CellInView(const ViewCorner& corner, BuildCell cell) {
  const int px = cell.X * kCell - corner.X, py = cell.Y * kCell - corner.Y;
  return px > -kCell && py > -kCell && px < kViewWidth && py < kViewHeight;
}

void Grid(OverlayScene& scene, const ViewCorner& corner) {
  for (int x = -(corner.X % kCell); x < kViewWidth; x += kCell)
    if (x >= 0) Box(scene, x, 0, 1, kViewHeight, kGridColour, kGridAlpha, false);
  for (int y = -(corner.Y % kCell); y < kViewHeight; y += kCell)
    if (y >= 0) Box(scene, 0, y, kViewWidth, 1, kGridColour, kGridAlpha, false);
}

// A start's mark: the square an actor standing there fills, its centre line on the start.
void StartMark(OverlayScene& scene, const ViewCorner& corner, const TStartPoint& start,
               uint32_t colour, const char* letter) {
  const int64_t px = (start.X >> PIXEL_SHIFT) - corner.X - kCell / 2;
  const int64_t py = ((start.Y - 1) >> PIXEL_SHIFT) - corner.Y - kCell + 1;
  if (px <= -kCell || py <= -kCell || px >= kViewWidth || py >= kViewHeight) return;
  const int x = static_cast<int>(px), y = static_cast<int>(py);
  Box(scene, x, y, kCell, kCell, colour, 255, true);
  const int lx = x + (kCell - kGlyphWidth) / 2;
  if (lx >= 0 && y >= 0 && lx + kGlyphWidth <= kViewWidth && y + kGlyphHeight <= kViewHeight)
    AddOverlayText(scene, lx, y, letter, colour, false);
}

std::string Range(int first, int count) {
  return std::to_string(first) + "-" + std::to_string(first + count - 1);
}

const char* ToolName(BuildTool tool) {
  switch (tool) {
    case BuildTool::kBrush:
      return "1 brush";
    case BuildTool::kLine:
      return "2 line";
    case BuildTool::kRectangle:
      return "3 rectangle";
    case BuildTool::kFilledRectangle:
      return "4 filled rectangle";
    case BuildTool::kFill:
      return "5 flood fill";
    case BuildTool::kSelect:
      return "6 select";
    default:
      return "7 starts";
  }
}

const char* LayerName(BuildLayer layer) {
  switch (layer) {
    case BuildLayer::kBackgrounds:
      return "backgrounds";
    case BuildLayer::kWater:
      return "water";
    default:
      return "blocks";
  }
}

std::string StyleWords() {
  switch (TBuild::FActiveLayer()) {
    case BuildLayer::kWater:
      return "Water: full cells";
    case BuildLayer::kBackgrounds:
      return "Style " + std::to_string(EditorBGStyle) + ": background" +
             (EditorBGStyle < 8 ? ", family " + Range(0, 8) : "");
    default:
      return "Style " + std::to_string(EditorBlockStyle) + " " + BlockFamilyWords(EditorBlockStyle);
  }
}

std::string HiddenWords() {
  static constexpr const char* kNames[kBuildLayerCount] = {"backgrounds", "blocks", "water",
                                                           "starts"};
  std::string words;
  for (int i = 0; i < kBuildLayerCount; ++i)
    if (Build.Hidden[i]) words += std::string(words.empty() ? "Hidden: " : ", ") + kNames[i];
  return words;
}

// Kept short: at the foot of the left view, clear of the overview in its corner.
void StatusLines(OverlayScene& scene) {
  std::vector<std::string> lines = {std::string("Tool ") + ToolName(Build.Tool) + ", " +
                                    LayerName(TBuild::FActiveLayer())};
  lines.push_back(Build.PointerOnMap ? "Column " + std::to_string(Build.Pointer.X) + ", row " +
                                           std::to_string(Build.Pointer.Y)
                                     : std::string("Pointer off the map"));
  lines.push_back(StyleWords());
  const std::string hidden = HiddenWords();
  if (!hidden.empty()) lines.push_back(hidden);
  int y = kViewHeight - static_cast<int>(lines.size()) * kStatusLineStep;
  for (const std::string& line : lines) {
    AddOverlayText(scene, 2, y, line, 0xFFFFFF, true);
    y += kStatusLineStep;
  }
}

}  // namespace

std::string BlockFamilyWords(int style) {
  if (IsBrickStyle(style)) return "brick: breaks when bumped";
  if (IsContainerStyle(style)) return "container: releases a bad guy";
  // The families painting varies within.
  if (style >= 0 && style < 18) return "solid, family " + Range(style / 6 * 6, 6);
  if (style >= 32 && style < 50) return "solid, family " + Range((style - 32) / 6 * 6 + 32, 6);
  return "solid";
}

void LayOutBuildOverlay(OverlayScene& scene, int mx, int my) {
  const ViewCorner corner = Corner();
  if (Build.GridShown) Grid(scene, corner);
  if (!Build.Hidden[static_cast<int>(BuildLayer::kStarts)]) {
    for (const TStartPoint& start : LevelStarts.Badguys)
      StartMark(scene, corner, start, kBadguyColour, "B");
    StartMark(scene, corner, LevelStarts.Player, kPlayerColour, "P");
  }
  if (Build.Selected) {
    OutlineCells(scene, corner, std::min(Build.SelectionFrom.X, Build.SelectionTo.X),
                 std::min(Build.SelectionFrom.Y, Build.SelectionTo.Y),
                 std::max(Build.SelectionFrom.X, Build.SelectionTo.X),
                 std::max(Build.SelectionFrom.Y, Build.SelectionTo.Y), kSelectionColour);
  }
  const bool over_view = mx >= 0 && mx <= kLeftViewRight && my >= 0 && my < kViewHeight;
  if (Build.StampShown && Build.PointerOnMap) {
    const BuildCell at = Build.Pointer;
    Box(scene, at.X * kCell - corner.X, at.Y * kCell - corner.Y, Build.Clip.Width * kCell,
        Build.Clip.Height * kCell, kStampColour, 60, false);
    OutlineCells(scene, corner, at.X, at.Y, at.X + Build.Clip.Width - 1,
                 at.Y + Build.Clip.Height - 1, kStampColour);
  } else if (Build.PointerOnMap && over_view) {
    for (const BuildCell& cell : TBuild::FTargetCells())
      if (CellInView(corner, cell) && TMap::FBoundsMargin(cell.X, cell.Y))
        OutlineCells(scene, corner, cell.X, cell.Y, cell.X, cell.Y, kTargetColour);
  }
  StatusLines(scene);
}
