// The level as a TMX map: what Tiled 1.8 writes for a map of this shape, with the layers as
// CSV so a level file reads (and diffs) as text.
#include <cstdio>
#include <string>

#include "shared/play_files.h"
#include "shared/units.h"
#include "world/level_file.h"

namespace {

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Pixels from world units: whole pixels as integers, a fraction with the digits it needs (a
// unit is 1/65536 of a pixel, so six decimals bring back the same unit).
std::string Pixels(int64_t units) {
  if (units % PIXEL_UNITS == 0) return std::to_string(units / PIXEL_UNITS);
  char text[40];
  std::snprintf(text, sizeof text, "%.6f", static_cast<double>(units) / PIXEL_UNITS);
  return text;
}

std::string CsvLayer(int id, const char* name, const std::vector<uint32_t>& gids) {
  std::string out = " <layer id=\"" + std::to_string(id) + "\" name=\"" + name +
                    "\" width=\"75\" height=\"54\">\n  <data encoding=\"csv\">\n";
  for (int y = 0; y < MAP_HEIGHT_TILES; ++y) {
    for (int x = 0; x < MAP_WIDTH_TILES; ++x) {
      out += std::to_string(gids[static_cast<size_t>(y) * MAP_WIDTH_TILES + x]);
      if (x + 1 < MAP_WIDTH_TILES || y + 1 < MAP_HEIGHT_TILES) out += ',';
    }
    out += '\n';
  }
  return out + "</data>\n </layer>\n";
}

std::string Tileset(uint32_t first_gid, const char* name, int count, int columns,
                    const std::string& image, int width, int height) {
  return " <tileset firstgid=\"" + std::to_string(first_gid) + "\" name=\"" + name +
         "\" tilewidth=\"16\" tileheight=\"16\" tilecount=\"" + std::to_string(count) +
         "\" columns=\"" + std::to_string(columns) + "\">\n  <image source=\"" + Escaped(image) +
         "\" trans=\"7ac9ff\" width=\"" + std::to_string(width) + "\" height=\"" +
         std::to_string(height) + "\"/>\n </tileset>\n";
}

std::string PointObject(int id, const char* type, const TStartPoint& at) {
  return "  <object id=\"" + std::to_string(id) + "\" type=\"" + type + "\" x=\"" + Pixels(at.X) +
         "\" y=\"" + Pixels(at.Y) + "\">\n   <point/>\n  </object>\n";
}

}  // namespace

std::string LevelTmxText(const TLevel& level, const std::string& image_folder) {
  std::vector<uint32_t> backgrounds(kMapFileBytes), blocks(kMapFileBytes), water(kMapFileBytes);
  for (size_t i = 0; i < kMapFileBytes; ++i) {
    backgrounds[i] =
        level.Backgrounds[i] == kNoStyle ? 0 : kLevelBackgroundGid + level.Backgrounds[i];
    blocks[i] = level.Blocks[i] == kNoStyle ? 0 : kLevelTilesFirstGid + level.Blocks[i];
    const uint8_t units = level.Water[i] > kFullWater ? kFullWater : level.Water[i];
    water[i] = units == 0 ? 0 : kLevelWaterFirstGid + units - 1;
  }
  const int objects = 1 + static_cast<int>(level.Starts.Badguys.size());
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<map version=\"1.8\" tiledversion=\"1.8.2\" orientation=\"orthogonal\" "
      "renderorder=\"right-down\" width=\"75\" height=\"54\" tilewidth=\"16\" tileheight=\"16\" "
      "infinite=\"0\" nextlayerid=\"5\" nextobjectid=\"" +
      std::to_string(objects + 1) + "\">\n <properties>\n";
  if (!level.Music.empty())
    out += "  <property name=\"music\" value=\"" + Escaped(level.Music) + "\"/>\n";
  out += "  <property name=\"name\" value=\"" + Escaped(level.Name) + "\"/>\n </properties>\n";
  out += Tileset(kLevelTilesFirstGid, "tiles", kLevelTileCount, kLevelTileColumns,
                 image_folder + kTileSheetFile, 512, 384);
  out += Tileset(kLevelWaterFirstGid, "water", kLevelWaterCount, kLevelWaterColumns,
                 image_folder + kWaterSheetFile, 256, 80);
  out += CsvLayer(1, "backgrounds", backgrounds);
  out += CsvLayer(2, "blocks", blocks);
  out += CsvLayer(3, "water", water);
  out += " <objectgroup id=\"4\" name=\"objects\">\n";
  out += PointObject(1, "player", level.Starts.Player);
  int id = 2;
  for (const TStartPoint& badguy : level.Starts.Badguys)
    out += PointObject(id++, "badguy", badguy);
  return out + " </objectgroup>\n</map>\n";
}
