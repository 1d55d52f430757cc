#include "tiles.h"

#include <iostream>

#include "builders.h"
#include "output.h"

namespace art {

void PutTile(Canvas& sheet, int n, const Canvas& tile) {
  sheet.BlitPart(tile, 0, 0, kTile, kTile, (n % kSheetColumns) * kTile,
                 (n / kSheetColumns) * kTile);
}

Canvas GetTile(const Canvas& sheet, int n) {
  Canvas t(kTile, kTile);
  t.BlitPart(sheet, (n % kSheetColumns) * kTile, (n / kSheetColumns) * kTile, kTile, kTile, 0, 0);
  return t;
}

bool BuildTileSheet(const std::string& assetsDir, const std::string& outDir) {
  Canvas sheet(kSheetColumns * kTile, kSheetRows * kTile);
  if (!DrawBlocks(sheet, assetsDir)) return false;
  DrawBackgrounds(sheet);
  return WriteCanvas(outDir + "/AllTiles8.bmp", sheet);
}

}  // namespace art
