// Tile recipes: text files that say which material draws which run of styles, with which
// colours and parameters. A recipe file holds two kinds of lines:
//
//   # a comment line
//   ramp stone 72 74 88  100 103 118  128 131 146     tones of a material, dark to light
//   tiles 64 8 rock stone accent=moss bevel=34,40 light=1.1 dark=0.8
//
// "tiles FIRST COUNT PATTERN RAMP key=value..." draws COUNT styles from FIRST, one variant of
// the pattern each; the variant number changes the details, and the brightness runs from
// `light` at the first variant to `dark` at the last, so a row reads light to dark.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "materials.h"

namespace art {

struct TileRecipe {
  std::string File;
  int Line = 0;
  int First = 0;
  int Count = 0;
  std::string Pattern;
  Ramp Body;
  Ramp Accent;
  int BevelLight = 0;
  int BevelDark = 0;
  float Light = 1.0f;
  float Dark = 1.0f;
  float Scale = 4.0f;
  float Speckle = 0.3f;
  int Seed = 0;

  // "path:line: " for messages about this recipe.
  std::string Where() const { return File + ":" + std::to_string(Line) + ": "; }
};

// Colour ramps by name, shared by every recipe file read after they are defined.
using RampTable = std::map<std::string, Ramp>;

// Reads one recipe file. Ramps it defines join `ramps`; its tile runs are appended to `out`.
// False with "path:line: what is wrong" in error for any line it cannot use.
bool ReadRecipes(const std::string& path, RampTable& ramps, std::vector<TileRecipe>& out,
                 std::string& error);
// The same for text already in memory, `path` only naming it in messages.
bool ParseRecipes(const std::string& path, const std::string& text, RampTable& ramps,
                  std::vector<TileRecipe>& out, std::string& error);

}  // namespace art
