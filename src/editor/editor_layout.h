// Where the editor's pieces sit in the window, and the helpers its input shares.
#pragma once

constexpr int kLeftViewRight = 400;  // x beyond this is the gap or the right view
constexpr int kPickerLeft = 416;
constexpr int kPickerTop = 16;
constexpr int kPickerSquare = 8;
constexpr int kPickerColumns = 32;
constexpr int kPickerHalfRows = 8;

struct PickerPlace {
  int column;
  int row;
};

PickerPlace PickerPlaceAt(int mx, int my);
// Selects a block style (rows 0..7) or a background style (rows 8..15); elsewhere nothing.
void PickerClick(const PickerPlace& place);

// The middle button over a map cell picks its block style (block mode) or, without a block, its
// background style (background mode); a cell with neither, or outside the map, picks nothing.
void EyedropperPick(int cx, int cy);
