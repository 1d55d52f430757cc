// The runs of tiles the recipe files draw, on top of the ones drawn in code, and the check
// that together they leave no style of a band without a picture.
#pragma once

#include <string>

#include "canvas.h"
#include "recipe.h"

namespace art {

struct RecipeBand {
  std::string Folder;     // assets/tiles/blocks or assets/tiles/backgrounds
  std::string Name;       // "block style" or "background style", for messages
  int FirstCell = 0;      // sheet cell of style 0
  bool Backdrop = false;  // drawn darker and flatter, to stay behind the blocks
};

// Draws every *.txt recipe file of the band's folder, in name order, with the shared ramps.
// A recipe that draws over a style already drawn, or a style left without a picture, is an
// error: it stops at the first one, and the caller writes no sheet.
bool DrawRecipeTiles(Canvas& sheet, const RampTable& shared, const RecipeBand& band,
                     std::string& error);

}  // namespace art
