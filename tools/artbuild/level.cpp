// The default level: the character maps of assets/level/ read through their legend, written
// as the two raw map files and the reference bitmap.
#include "level.h"

#include <iostream>
#include <map>

#include "builders.h"
#include "canvas.h"
#include "output.h"
#include "shared/play_files.h"
#include "text_art.h"
#include "world/level_file.h"

namespace art {

namespace {
struct StyleRange {
  int First = kNoStyle;
  int Count = 0;
};

bool ParseInt(const std::string& s, int& v) {
  try {
    size_t used = 0;
    v = std::stoi(s, &used);
    return used == s.size();
  } catch (...) {
    return false;
  }
}

bool ReadLegend(const TextArt& text, std::map<char, StyleRange>& legend, std::string& error) {
  for (const std::vector<std::string>& d : text.Directives) {
    if (d[0] != "style") return error = "unknown line starting '" + d[0] + "'", false;
    if (d.size() < 3 || d[1].size() != 1) return error = "bad style line", false;
    StyleRange range;
    if (d[2] != "none") {
      if (d.size() != 4 || !ParseInt(d[2], range.First) || !ParseInt(d[3], range.Count) ||
          range.First < 0 || range.Count < 1 || range.First + range.Count > 255)
        return error = "bad style line for '" + d[1] + "'", false;
    }
    legend[d[1][0]] = range;
  }
  return true;
}
}  // namespace

bool ReadLevelLayer(const std::string& path, uint64_t seed, MapBytes& out, std::string& error) {
  TextArt text;
  std::map<char, StyleRange> legend;
  if (!text.Load(path, error) || !ReadLegend(text, legend, error)) return false;
  if (!text.Has("map")) return error = path + ": no map grid", false;
  const std::vector<std::string>& rows = text.Grids.at("map");
  if (rows.size() != size_t(kMapRows))
    return error = path + ": the map needs 54 rows, has " + std::to_string(rows.size()), false;
  Rng rng(seed);
  out.assign(size_t(kMapColumns) * kMapRows, kNoStyle);
  for (int y = 0; y < kMapRows; ++y) {
    if (rows[y].size() != size_t(kMapColumns))
      return error = path + ": map row " + std::to_string(y) + " is not 75 wide", false;
    for (int x = 0; x < kMapColumns; ++x) {
      auto it = legend.find(rows[y][x]);
      if (it == legend.end())
        return error = path + ": map row " + std::to_string(y) + " uses '" +
                       std::string(1, rows[y][x]) + "' with no style line",
               false;
      // Every cell draws, even a single-style one, so editing one family's width does not
      // reshuffle the variants of all the others.
      int pick = rng.Below(6);
      if (it->second.Count > 0)
        out[size_t(y) * kMapColumns + x] = uint8_t(it->second.First + pick % it->second.Count);
    }
  }
  return true;
}

std::vector<uint32_t> ReferencePixels(const MapBytes& blocks) {
  std::vector<uint32_t> px(blocks.size());
  for (size_t i = 0; i < blocks.size(); ++i) {
    int s = blocks[i];
    px[i] = Rgb((s % 8) * 32, ((s / 8) % 8) * 32, (s / 64) * 32);
  }
  return px;
}

bool BuildLevel(const std::string& assetsDir, const std::string& outDir) {
  MapBytes blocks, backgrounds;
  std::string error;
  if (!ReadLevelLayer(assetsDir + "/level/blocks.txt", 0x5EEDB10C, blocks, error) ||
      !ReadLevelLayer(assetsDir + "/level/backgrounds.txt", 0x5EEDBA6D, backgrounds, error)) {
    std::cerr << "artbuild: " << error << "\n";
    return false;
  }
  // The same level as a level file for levels/, with the starts the game gives the pair.
  TLevel level;
  level.Name = "default";
  level.Backgrounds = backgrounds;
  level.Blocks = blocks;
  const std::string tmx = LevelTmxText(level);
  return WriteBytes(outDir + "/BlockMap75x54.raw", blocks) &&
         WriteBytes(outDir + "/BGMap75x54.raw", backgrounds) &&
         WriteBytes(outDir + "/" + kDefaultLevelSource, MapBytes(tmx.begin(), tmx.end())) &&
         WriteBytes(outDir + "/BlockMapImage.bmp",
                    EncodeBmp(kMapColumns, kMapRows, ReferencePixels(blocks)));
}

}  // namespace art
