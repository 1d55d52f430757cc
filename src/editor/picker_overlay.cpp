// The picker's marks over the presented picture. The sheet is drawn at half size, one 8-pixel
// square per tile: rows 0..7 pick block styles, rows 8..15 background styles, and rows 16..23
// hold the shaded copies the game draws by itself, which no click selects.
#include "editor/picker_overlay.h"

#include "editor/editor.h"
#include "editor/editor_layout.h"
#include "platform/input.h"
#include "platform/render/font.h"
#include "shared/game_images.h"

namespace {

constexpr int kSheetRows = 24;
constexpr int kShadedFirstRow = 2 * kPickerHalfRows;
constexpr uint32_t kHoverColour = 0xFFFF00;
constexpr uint32_t kChosenColour = 0xFFFFFF;
constexpr int kCaptionY = kPickerTop + kSheetRows * kPickerSquare + 4;
// The two picked-style squares, as TEditor::FDraw places them.
constexpr int kBlockSquareX = 432, kBackgroundSquareX = 464, kStyleSquareY = 256;
constexpr int kStyleSquareSize = 16;

std::string Family(int first, int count) {
  return ", family " + std::to_string(first) + "-" + std::to_string(first + count - 1);
}

// The family painting re-picks within, as the editor paints: solid blocks in sixes (0..17 and
// 32..49), the first eight backgrounds as one.
std::string BlockFamily(int style) {
  if (style < 18) return Family(style / 6 * 6, 6);
  if (style >= 32 && style < 50) return Family((style - 32) / 6 * 6 + 32, 6);
  return {};
}

void Outline(OverlayScene& scene, int x, int y, int size, uint32_t colour) {
  OverlayBox box;
  box.X = x - 1;
  box.Y = y - 1;
  box.Width = box.Height = size + 2;
  box.Colour = colour;
  box.Outline = true;
  scene.Boxes.push_back(box);
}

void OutlineSquare(OverlayScene& scene, int column, int row, uint32_t colour) {
  Outline(scene, kPickerLeft + column * kPickerSquare, kPickerTop + row * kPickerSquare,
          kPickerSquare, colour);
}

void Caption(OverlayScene& scene, int x, int y, const std::string& words, bool backing = true) {
  OverlayText text;
  text.X = x;
  text.Y = y;
  text.Text = words;
  text.Backing = backing;
  scene.Texts.push_back(std::move(text));
}

void CaptionCentred(OverlayScene& scene, int centre, int y, const std::string& words) {
  Caption(scene, centre - static_cast<int>(words.size()) * kGlyphWidth / 2, y, words, false);
}

void DimShadedRows(OverlayScene& scene) {
  OverlayBox dim;
  dim.X = kPickerLeft;
  dim.Y = kPickerTop + kShadedFirstRow * kPickerSquare;
  dim.Width = kPickerColumns * kPickerSquare;
  dim.Height = (kSheetRows - kShadedFirstRow) * kPickerSquare;
  dim.Colour = 0x000000;
  dim.Alpha = 160;
  scene.Boxes.push_back(dim);
  const int centre = dim.X + dim.Width / 2;
  const int middle = dim.Y + dim.Height / 2;
  CaptionCentred(scene, centre, middle - kGlyphHeight, "Shaded copies the game draws:");
  CaptionCentred(scene, centre, middle, "not pickable");
}

// A chosen style's square in the sheet: blocks from row 0, backgrounds from row 8.
void OutlineChosen(OverlayScene& scene, int style, int first_row) {
  if (style < 0 || style >= kPickerColumns * kPickerHalfRows) return;
  OutlineSquare(scene, style % kPickerColumns, first_row + style / kPickerColumns, kChosenColour);
}

void LabelPickedStyles(OverlayScene& scene) {
  Outline(scene, kBlockSquareX, kStyleSquareY, kStyleSquareSize, kChosenColour);
  Outline(scene, kBackgroundSquareX, kStyleSquareY, kStyleSquareSize, kChosenColour);
  const int block_centre = kBlockSquareX + kStyleSquareSize / 2;
  const int background_centre = kBackgroundSquareX + kStyleSquareSize / 2;
  Caption(scene, block_centre - 5 * kGlyphWidth / 2, kStyleSquareY - kGlyphHeight - 2, "Block");
  Caption(scene, background_centre - 10 * kGlyphWidth / 2, kStyleSquareY + kStyleSquareSize + 2,
          "Background");
}

}  // namespace

std::string PickerCaption(int column, int row) {
  if (column < 0 || column >= kPickerColumns || row < 0 || row >= kSheetRows) return {};
  if (row >= kShadedFirstRow) return "Shaded copy: the game draws it, not pickable";
  const int style = (row % kPickerHalfRows) * kPickerColumns + column;
  if (row < kPickerHalfRows) return "Block style " + std::to_string(style) + BlockFamily(style);
  return "Background style " + std::to_string(style) + (style < 8 ? Family(0, 8) : "");
}

void LayOutPickerOverlay(OverlayScene& scene, int mx, int my) {
  // The picker shows only with the pointer over the right view, and only with its sheet loaded.
  if (mx <= kLeftViewRight || !AllTilesImage) return;
  DimShadedRows(scene);
  OutlineChosen(scene, EditorBlockStyle, 0);
  OutlineChosen(scene, EditorBGStyle, kPickerHalfRows);
  LabelPickedStyles(scene);
  const PickerPlace place = PickerPlaceAt(mx, my);
  const std::string caption = PickerCaption(place.column, place.row);
  if (caption.empty()) return;
  if (place.row < kShadedFirstRow) OutlineSquare(scene, place.column, place.row, kHoverColour);
  Caption(scene, kPickerLeft, kCaptionY, caption);
}
