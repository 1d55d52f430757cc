#include "patterns.h"

#include <map>

namespace art {

namespace {

const std::map<std::string, PatternFn>& Patterns() {
  static const std::map<std::string, PatternFn> table = {
      {"rock", Rock},         {"cobble", Cobble},
      {"sand", Sand},         {"capped", Capped},
      {"ore", Ore},           {"lava", Lava},
      {"glass", Glass},       {"crystal", Crystal},
      {"ashlar", Ashlar},     {"planks", Planks},
      {"log", LogEnd},        {"plate", Plate},
      {"grate", Grate},       {"pipe", Pipe},
      {"machine", Machine},   {"stripes", Stripes},
      {"checker", Checker},   {"wallpaper", Wallpaper},
      {"sign", Sign},         {"banner", Banner},
      {"window", WindowPane}, {"foliage", Foliage},
      {"vines", Vines},       {"bark", Bark},
      {"sky", SkyDetail},     {"stalactites", Stalactites}};
  return table;
}

// Scales every pixel: the step from the run's lightest to its darkest tile.
void Brightness(Canvas& t, float factor) {
  if (factor == 1.0f) return;
  for (int y = 0; y < t.Height(); ++y)
    for (int x = 0; x < t.Width(); ++x)
      if (Opaque(t.Get(x, y))) t.Set(x, y, Shade(t.Get(x, y), factor));
}

}  // namespace

bool HasPattern(const std::string& name) {
  return Patterns().count(name) != 0;
}

Canvas DrawPattern(const TileRecipe& r, int v) {
  Canvas t(16, 16);
  uint64_t seed = 90000 + uint64_t(r.First + v) * 7919 + uint64_t(r.Seed) * 104729;
  Patterns().at(r.Pattern)(t, PatternArgs{r, v, seed});
  float along = r.Count > 1 ? float(v) / float(r.Count - 1) : 0.0f;
  Brightness(t, r.Light + (r.Dark - r.Light) * along);
  if (r.BevelLight || r.BevelDark) Bevel(t, r.BevelLight, r.BevelDark);
  return t;
}

}  // namespace art
