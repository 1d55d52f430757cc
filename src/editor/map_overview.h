// The map overview the free camera shows in the left view's bottom right corner: every cell two
// pixels across in the colours of what it holds, the actors as dots, the left view's rectangle
// outlined. Drawn into the back buffer only while the free camera is on.
#pragma once

#include <cstdint>

constexpr int kOverviewCellPixels = 2;
constexpr int kOverviewWidth = 75 * kOverviewCellPixels;   // the map's 75 columns
constexpr int kOverviewHeight = 54 * kOverviewCellPixels;  // and 54 rows
// Inside the left view (400x288), three pixels from its right and bottom edges; a one-pixel
// frame runs round it.
constexpr int kOverviewLeft = 400 - 3 - kOverviewWidth;
constexpr int kOverviewTop = 288 - 3 - kOverviewHeight;

// editor/map_overview.cpp
// Whether window pixel (mx, my) lies on the overview or its frame.
bool OverviewContains(int mx, int my);
// The map cell shown at window pixel (mx, my), the pixel taken to the nearest cell of the
// overview when it lies off it.
void OverviewCellAt(int mx, int my, int& cx, int& cy);
// The colour, 0x00RRGGBB, the overview gives cell (cx, cy) of the map (actors and the view's
// outline aside): its block, else its water over what lies behind, else its background tile,
// else the backdrop of its chunk.
uint32_t OverviewCellColour(int cx, int cy);
// Draws the overview with its frame, the actors and the left view's outline.
void DrawMapOverview();
