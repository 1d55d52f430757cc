// Materials drawn from a recipe: one pattern function per kind of surface, its look set by the
// recipe's ramps and numbers and its details by the variant number.
#pragma once

#include <string>

#include "canvas.h"
#include "recipe.h"

namespace art {

bool HasPattern(const std::string& name);
// Variant v (0 .. Count-1) of the recipe's run: the pattern, then its brightness step along the
// run, then the bevel.
Canvas DrawPattern(const TileRecipe& r, int v);

// What every pattern function is given.
struct PatternArgs {
  const TileRecipe& R;
  int V;          // variant within the run
  uint64_t Seed;  // differs for every style, so no two tiles come out alike
};
using PatternFn = void (*)(Canvas& t, const PatternArgs& a);

// The patterns, grouped by the files that draw them.
void Rock(Canvas& t, const PatternArgs& a);
void Cobble(Canvas& t, const PatternArgs& a);
void Sand(Canvas& t, const PatternArgs& a);
void Capped(Canvas& t, const PatternArgs& a);
void Ore(Canvas& t, const PatternArgs& a);
void Lava(Canvas& t, const PatternArgs& a);
void Glass(Canvas& t, const PatternArgs& a);
void Crystal(Canvas& t, const PatternArgs& a);

void Ashlar(Canvas& t, const PatternArgs& a);
void Planks(Canvas& t, const PatternArgs& a);
void LogEnd(Canvas& t, const PatternArgs& a);
void Plate(Canvas& t, const PatternArgs& a);
void Grate(Canvas& t, const PatternArgs& a);
void Pipe(Canvas& t, const PatternArgs& a);
void Machine(Canvas& t, const PatternArgs& a);
void Stripes(Canvas& t, const PatternArgs& a);
void Checker(Canvas& t, const PatternArgs& a);
void Wallpaper(Canvas& t, const PatternArgs& a);

void Sign(Canvas& t, const PatternArgs& a);
void Banner(Canvas& t, const PatternArgs& a);
void WindowPane(Canvas& t, const PatternArgs& a);

void Foliage(Canvas& t, const PatternArgs& a);
void Vines(Canvas& t, const PatternArgs& a);
void Bark(Canvas& t, const PatternArgs& a);
void SkyDetail(Canvas& t, const PatternArgs& a);
void Stalactites(Canvas& t, const PatternArgs& a);

}  // namespace art
