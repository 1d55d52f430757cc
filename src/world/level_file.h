// A level as one file that Tiled opens: a TMX map of 75x54 cells of 16x16 pixels with the
// game's own tile sheets as its tilesets, the backgrounds, blocks and water as three tile
// layers, and the starts as point objects. The raw pair holds only the first two grids.
//
//   tileset "tiles" (AllTiles8.bmp, first gid 1): block style s is gid s + 1, background style
//     b is gid 257 + b (the sky set's picture of it; the dark set's gid 513 + b reads the same)
//   tileset "water" (tall_water.bmp, first gid 769): water of n units (1..16) is gid 768 + n,
//     the sheet's still cell of that level; its pool-surface cells read as their level too
//   objects: one point of type "player", any number of type "badguy" (the first is the one the
//     right view follows), at the middle of the feet in pixels
//   map properties: "name", and "music" when the level names a tune
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shared/game_codes.h"
#include "world/level_starts.h"
#include "world/map_files.h"

constexpr int kLevelTileCount = 768;  // AllTiles8.bmp: 32 columns, 24 rows
constexpr int kLevelTileColumns = 32;
constexpr int kLevelWaterCount = 80;  // tall_water.bmp: 16 columns, 5 rows
constexpr int kLevelWaterColumns = 16;
constexpr uint32_t kLevelTilesFirstGid = 1;
constexpr uint32_t kLevelBackgroundGid = kLevelTilesFirstGid + 256;
constexpr uint32_t kLevelWaterFirstGid = kLevelTilesFirstGid + kLevelTileCount;
constexpr uint8_t kFullWater = 16;

// The largest level file (or external tileset) read: a map written with every layer as XML
// tile elements stays far below it.
constexpr size_t kMaxLevelFileBytes = 4u << 20;
// A layer's data decoded: one 32-bit gid per cell.
constexpr size_t kLevelLayerBytes = kMapFileBytes * 4;
// Bad guys a level may name: with the player they stay within the actor cap (checked against
// it in fluid/level_apply.cpp, which sits above the actors).
constexpr size_t kLevelBadguyCap = 499;
// A level's name: shown on screen and in the title, and a file name in levels/.
constexpr size_t kMaxLevelNameBytes = 64;

struct TLevel {
  std::string Name;
  std::string Music;  // the tune's name; empty when the level names none
  std::vector<uint8_t> Backgrounds = std::vector<uint8_t>(kMapFileBytes, kNoStyle);
  std::vector<uint8_t> Blocks = std::vector<uint8_t>(kMapFileBytes, kNoStyle);
  std::vector<uint8_t> Water = std::vector<uint8_t>(kMapFileBytes, 0);  // units, 0 for none
  TLevelStarts Starts = DefaultLevelStarts();
  bool operator==(const TLevel&) const = default;
};

// world/level_tmx_write.cpp: the level as TMX text, its images named relative to the level
// file (the play folder's levels/ is one folder below the sheets: "../AllTiles8.bmp").
std::string LevelTmxText(const TLevel& level, const std::string& image_folder = "../");

// world/level_tmx_read.cpp. Reads TMX text into `level`; `folder` is where the file lies, for
// its external tilesets. False with `why` (one line) when the text is not a level the game can
// play, `level` then untouched. What the game cannot show is passed over, one line for each
// kind in `notes`.
bool ParseLevelTmx(std::string_view text, const std::string& folder, TLevel& level,
                   std::string& why, std::vector<std::string>& notes);
// The same from the document element of a parsed file (world/xml_tree.h).
struct TXmlNode;
bool ReadLevelTree(const TXmlNode& map, const std::string& folder, TLevel& level, std::string& why,
                   std::vector<std::string>& notes);
// The same from a file, refusing one above kMaxLevelFileBytes before reading it.
bool ReadLevelFile(const std::string& path, TLevel& level, std::string& why,
                   std::vector<std::string>& notes);

// A name fit for the title and for a file in levels/: 1..64 bytes, no control characters,
// no '/' or '\\', not "." or "..", no "..". Empty when fit; otherwise why not.
std::string WhyNotLevelName(const std::string& name);

// world/tmx_layer_data.cpp: a layer's <data> text as its kMapFileBytes gids, row after row.
// `encoding` is "csv", "base64" or empty (the tile elements are then read by the caller);
// `compression` empty, "zlib", "gzip" or "zstd". False with `why` on anything else, on text
// that is not what it says, and on a stream that is not exactly one gid per cell.
bool DecodeLayerData(std::string_view text, std::string_view encoding, std::string_view compression,
                     std::vector<uint32_t>& gids, std::string& why);
