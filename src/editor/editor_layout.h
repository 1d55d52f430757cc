// Where the editor's pieces sit in the window, and the helpers its input shares.
#pragma once

constexpr int kLeftViewRight = 400;  // x beyond this is the gap or the right view
constexpr int kPickerLeft = 416;
constexpr int kPickerTop = 16;
constexpr int kPickerSquare = 8;
constexpr int kPickerColumns = 32;
constexpr int kPickerHalfRows = 8;

// The black frame the editor draws around the views: the gap between them (from kLeftViewRight
// to kPickerLeft, as high as the views) and the strip below the left view and the gap.
constexpr int kViewsBottom = 288;  // the views' foot: the strip below starts here
constexpr int kStripBelowHeight = 12;
// Below the picker, the styles painting uses: the block style, then the background style.
constexpr int kChosenStylesTop = 256;
constexpr int kChosenBlockLeft = 432;
constexpr int kChosenBackgroundLeft = 464;

struct PickerPlace {
  int column;
  int row;
};

// editor/picker.cpp
// The picker square under window pixel (mx, my), which may lie outside the picker.
PickerPlace PickerPlaceAt(int mx, int my);
// Selects a block style (rows 0..7) or a background style (rows 8..15); elsewhere nothing.
void PickerClick(const PickerPlace& place);

// editor/eyedropper.cpp
// The middle button over a map cell picks its block style (block mode) or, without a block, its
// background style (background mode); a cell with neither, or outside the map, picks nothing.
void EyedropperPick(int cx, int cy);
