#include "recipe_tiles.h"

#include <algorithm>
#include <filesystem>

#include "patterns.h"
#include "tiles.h"

namespace art {

namespace {

// Recipe files of one folder in name order, so the build never depends on the file system's
// listing order.
bool RecipeFiles(const std::string& dir, std::vector<std::string>& files, std::string& error) {
  std::error_code ec;
  std::filesystem::directory_iterator it(dir, ec), end;
  if (ec) return error = "cannot read the folder " + dir, false;
  for (; it != end; it.increment(ec)) {
    if (ec) return error = "cannot read the folder " + dir, false;
    if (it->path().extension() == ".txt") files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return true;
}

bool CellEmpty(const Canvas& sheet, int n) {
  Canvas t = GetTile(sheet, n);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x)
      if (Opaque(t.Get(x, y))) return false;
  return true;
}

// Backdrops sit behind the player and the blocks: a narrower range of tones, and darker.
Canvas Backdrop(const Canvas& t) {
  long sum = 0;
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      Colour c = t.Get(x, y);
      sum += Red(c) + Green(c) + Blue(c);
    }
  const float mean = float(sum) / float(3 * kTile * kTile);
  Canvas out(kTile, kTile);
  auto flat = [mean](int v) { return (mean + (float(v) - mean) * 0.55f) * 0.62f; };
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      Colour c = t.Get(x, y);
      if (!Opaque(c)) continue;
      out.Set(x, y, Rgb(int(flat(Red(c))), int(flat(Green(c))), int(flat(Blue(c)))));
    }
  return out;
}

bool DrawRun(Canvas& sheet, const TileRecipe& r, const RecipeBand& band, std::string& error) {
  for (int v = 0; v < r.Count; ++v) {
    int cell = band.FirstCell + r.First + v;
    if (!CellEmpty(sheet, cell))
      return error =
                 r.Where() + band.Name + " " + std::to_string(r.First + v) + " is already drawn",
             false;
    Canvas t = DrawPattern(r, v);
    PutTile(sheet, cell, band.Backdrop ? Backdrop(t) : t);
  }
  return true;
}

}  // namespace

bool DrawRecipeTiles(Canvas& sheet, const RampTable& shared, const RecipeBand& band,
                     std::string& error) {
  std::vector<std::string> files;
  if (!RecipeFiles(band.Folder, files, error)) return false;
  for (const std::string& file : files) {
    RampTable ramps = shared;  // a file's own ramps stay in that file
    std::vector<TileRecipe> runs;
    if (!ReadRecipes(file, ramps, runs, error)) return false;
    for (const TileRecipe& r : runs)
      if (!DrawRun(sheet, r, band, error)) return false;
  }
  for (int s = 0; s < 256; ++s)
    if (CellEmpty(sheet, band.FirstCell + s))
      return error = band.Folder + ": nothing draws " + band.Name + " " + std::to_string(s), false;
  return true;
}

}  // namespace art
