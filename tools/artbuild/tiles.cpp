#include "tiles.h"

#include <iostream>

#include "builders.h"
#include "output.h"
#include "recipe_tiles.h"

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

namespace {
// Code-drawn tiles first, then the recipes fill every style left; the whole sheet is drawn in
// memory before anything is written.
bool DrawRecipeBands(Canvas& sheet, const std::string& assetsDir) {
  RampTable shared;
  std::vector<TileRecipe> none;
  std::string error;
  const std::string tiles = assetsDir + "/tiles";
  bool ok = ReadRecipes(tiles + "/colours.txt", shared, none, error);
  if (ok && !none.empty()) {
    error = none[0].Where() + "colours.txt holds ramps only; tiles go in blocks/ or backgrounds/";
    ok = false;
  }
  ok =
      ok && DrawRecipeTiles(sheet, shared, {tiles + "/blocks", "block style", 0, false}, error) &&
      DrawRecipeTiles(sheet, shared,
                      {tiles + "/backgrounds", "background style", kSheetColumns * 8, true}, error);
  if (!ok) std::cerr << "artbuild: " << error << "\n";
  return ok;
}
}  // namespace

bool BuildTileSheet(const std::string& assetsDir, const std::string& outDir) {
  Canvas sheet(kSheetColumns * kTile, kSheetRows * kTile);
  if (!DrawBlocks(sheet, assetsDir)) return false;
  DrawBackgrounds(sheet);
  if (!DrawRecipeBands(sheet, assetsDir)) return false;
  ShadeDarkBand(sheet);
  return WriteCanvas(outDir + "/AllTiles8.bmp", sheet);
}

}  // namespace art
