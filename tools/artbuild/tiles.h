// The tile sheet AllTiles8.bmp: 32 by 24 cells of 16 by 16. Cells 0..255 are blocks,
// 256..511 the backgrounds of sky chunks and 512..767 those of dark chunks. Every block and
// background style has a picture: a few drawn in code, the rest from the recipe files in
// assets/tiles/blocks and assets/tiles/backgrounds.
#pragma once

#include <string>

#include "canvas.h"

namespace art {

constexpr int kTile = 16;
constexpr int kSheetColumns = 32;
constexpr int kSheetRows = 24;

// Places a 16x16 tile into the sheet's cell n (all of it, transparent pixels included).
void PutTile(Canvas& sheet, int n, const Canvas& tile);
Canvas GetTile(const Canvas& sheet, int n);

// Block tiles, drawn from code and assets/tiles/*.txt.
bool DrawBlocks(Canvas& sheet, const std::string& assetsDir);
// Background tiles of the sky band drawn in code.
void DrawBackgrounds(Canvas& sheet);
// The dark band: the shaded copy of every sky band tile.
void ShadeDarkBand(Canvas& sheet);

bool BuildTileSheet(const std::string& assetsDir, const std::string& outDir);

}  // namespace art
