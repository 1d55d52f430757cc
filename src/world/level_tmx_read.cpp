// Reading a level file: any TMX map of the game's shape that Tiled writes, whatever its layers'
// encoding, its tilesets' first gids, embedded or external, and its objects' typing. What the
// game cannot show is counted and passed over; what would make another level than the file
// says is refused, and the level read so far thrown away. The file's XML is parsed by the
// build's parser into a tree of elements (world/xml_tree.h); this is the one reading of it.
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "platform/files.h"
#include "shared/play_files.h"
#include "shared/units.h"
#include "world/level_file.h"
#include "world/xml_tree.h"

namespace {

constexpr uint32_t kFlipBits = 0xF0000000u;  // horizontal, vertical, diagonal, hexagonal turn
constexpr size_t kMaxObjects = 2048;
constexpr size_t kMaxTilesets = 64;

enum class SheetKind { kTiles, kWater, kOther };

struct Tileset {
  uint32_t FirstGid = 0;
  uint32_t Count = 0;
  SheetKind Kind = SheetKind::kOther;
};

// Reading one file: its tilesets, what was passed over, and the first reason to refuse it.
struct Reader {
  std::string Folder;
  std::vector<Tileset> Tilesets;  // by first gid
  std::string Why;
  size_t Flipped = 0;
  size_t WrongSheet = 0;  // a tile of the wrong sheet for its layer (a block among backgrounds)
  size_t OtherSheet = 0;  // a tile of a tileset that is not one of the game's sheets
  size_t WaterInBlock = 0;
  size_t UntypedObjects = 0;
  std::set<std::string> UnknownLayers, UnknownProperties, MissingImages;

  bool Fail(const std::string& why) {
    if (Why.empty()) Why = why;
    return false;
  }
};

bool WholeAttribute(const TXmlNode& node, const char* name, long long& value) {
  const std::string* attribute = node.Attribute(name);
  if (!attribute) return false;
  const std::string& text = *attribute;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return !text.empty() && end && *end == '\0';
}

bool AttributeIs(const TXmlNode& node, const char* name, long long want) {
  long long value = 0;
  return WholeAttribute(node, name, value) && value == want;
}

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Joined(const std::string& folder, const std::string& path) {
  if (path.empty() || path[0] == '/' || folder.empty()) return path;
  return folder + "/" + path;
}

// The sheet a tileset cuts, known by its image's file name, else by the tileset's name.
SheetKind KindOf(const TXmlNode& tileset, const std::string& image) {
  const std::string file = FileName(image);
  if (file == kTileSheetFile) return SheetKind::kTiles;
  if (file == kWaterSheetFile) return SheetKind::kWater;
  const std::string_view name = tileset.Value("name");
  if (file.empty() && name == "tiles") return SheetKind::kTiles;
  if (file.empty() && name == "water") return SheetKind::kWater;
  return SheetKind::kOther;
}

bool ReadTilesetBody(Reader& reader, const TXmlNode& tileset, const std::string& folder,
                     uint32_t first_gid) {
  const std::string name(tileset.Value("name"));
  const TXmlNode* image = tileset.Child("image");
  const std::string source(image ? image->Value("source") : std::string_view());
  if (!image || source.empty())
    return reader.Fail("the tileset \"" + name + "\" has no image (the game reads one sheet each)");
  if (FileLength(Joined(folder, source)) < 0) reader.MissingImages.insert(source);
  Tileset read;
  read.FirstGid = first_gid;
  read.Kind = KindOf(tileset, source);
  long long count = 0, width = 0, height = 0;
  if (WholeAttribute(tileset, "tilecount", count) && count > 0) {
    read.Count = static_cast<uint32_t>(std::min<long long>(count, 1 << 20));
  } else if (WholeAttribute(*image, "width", width) && WholeAttribute(*image, "height", height) &&
             width > 0 && height > 0) {
    read.Count = static_cast<uint32_t>(std::min<long long>((width / 16) * (height / 16), 1 << 20));
  } else {
    read.Count = read.Kind == SheetKind::kTiles   ? kLevelTileCount
                 : read.Kind == SheetKind::kWater ? kLevelWaterCount
                                                  : 0;
  }
  if (read.Kind != SheetKind::kOther &&
      (!AttributeIs(tileset, "tilewidth", 16) || !AttributeIs(tileset, "tileheight", 16)))
    return reader.Fail("the tileset \"" + name + "\" does not cut 16x16 tiles");
  reader.Tilesets.push_back(read);
  return true;
}

bool ReadTileset(Reader& reader, const TXmlNode& node) {
  long long first = 0;
  if (!WholeAttribute(node, "firstgid", first) || first < 1 || first >= (1ll << 28))
    return reader.Fail("a tileset has no first gid");
  if (reader.Tilesets.size() == kMaxTilesets) return reader.Fail("it has too many tilesets");
  const std::string source(node.Value("source"));
  if (source.empty())
    return ReadTilesetBody(reader, node, reader.Folder, static_cast<uint32_t>(first));
  // An external tileset (.tsx): its image is named from its own folder.
  const std::string path = Joined(reader.Folder, source);
  const int64_t length = FileLength(path);
  if (length < 0) return reader.Fail("its tileset " + source + " is missing");
  if (static_cast<uint64_t>(length) > kMaxLevelFileBytes)
    return reader.Fail("its tileset " + source + " is too large");
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, kMaxLevelFileBytes))
    return reader.Fail("its tileset " + source + " cannot be read");
  TXmlNode tileset;
  std::string why;
  if (!ParseXmlTree({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, tileset, why))
    return reader.Fail("its tileset " + source + ": " + why);
  if (tileset.Name != "tileset")
    return reader.Fail("its tileset " + source + " is not a Tiled tileset");
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return ReadTilesetBody(reader, tileset, folder, static_cast<uint32_t>(first));
}

// The tileset a gid (flip bits gone) falls in; null for 0 and for a gid no tileset holds.
const Tileset* TilesetOf(const Reader& reader, uint32_t gid, uint32_t& local) {
  const Tileset* found = nullptr;
  for (const Tileset& tileset : reader.Tilesets)
    if (tileset.FirstGid <= gid && (!found || tileset.FirstGid > found->FirstGid)) found = &tileset;
  if (!found || gid - found->FirstGid >= found->Count) return nullptr;
  local = gid - found->FirstGid;
  return found;
}

enum class LayerKind { kBackgrounds, kBlocks, kWater };

// One cell's gid into the layer's grid; false for a gid past every tileset.
bool PutCell(Reader& reader, LayerKind kind, uint32_t gid, uint8_t& cell) {
  if (gid & kFlipBits) ++reader.Flipped;
  gid &= ~kFlipBits;
  if (gid == 0) return true;
  uint32_t local = 0;
  const Tileset* tileset = TilesetOf(reader, gid, local);
  if (!tileset) return reader.Fail("tile " + std::to_string(gid) + " lies past every tileset");
  if (tileset->Kind == SheetKind::kOther) {
    ++reader.OtherSheet;
    return true;
  }
  if (kind == LayerKind::kWater) {
    if (tileset->Kind != SheetKind::kWater) return ++reader.WrongSheet, true;
    cell = static_cast<uint8_t>(local < kFullWater ? local + 1 : (local - kFullWater) % 16 + 1);
  } else if (tileset->Kind != SheetKind::kTiles) {
    ++reader.WrongSheet;
  } else if (kind == LayerKind::kBlocks) {
    if (local >= 256) return ++reader.WrongSheet, true;
    cell = static_cast<uint8_t>(local);
  } else {
    if (local < 256) return ++reader.WrongSheet, true;
    cell = static_cast<uint8_t>(local % 256);  // the sky and the dark set's picture alike
  }
  return true;
}

bool ReadGids(Reader& reader, const TXmlNode& data, std::vector<uint32_t>& gids) {
  const std::string_view encoding = data.Value("encoding");
  const std::string_view compression = data.Value("compression");
  if (!encoding.empty()) {
    std::string why;
    return DecodeLayerData(data.Text, encoding, compression, gids, why) || reader.Fail(why);
  }
  if (data.Child("chunk")) return reader.Fail("its layers come in chunks, as an infinite map's");
  // Tiled's oldest form: a <tile> element per cell.
  gids.clear();
  for (const TXmlNode& tile : data.Children) {
    if (tile.Name != "tile") continue;
    if (gids.size() == kMapFileBytes) return reader.Fail("a layer has more tiles than cells");
    long long gid = 0;
    if (tile.Attribute("gid") &&
        (!WholeAttribute(tile, "gid", gid) || gid < 0 || gid > 0xFFFFFFFFll))
      return reader.Fail("a layer has a tile that is not a tile number");
    gids.push_back(static_cast<uint32_t>(gid));
  }
  if (gids.size() != kMapFileBytes) return reader.Fail("a layer has fewer tiles than cells");
  return true;
}

bool ReadTileLayer(Reader& reader, const TXmlNode& layer, TLevel& level,
                   std::set<std::string>& seen) {
  const std::string name(layer.Value("name"));
  LayerKind kind;
  std::vector<uint8_t>* grid = nullptr;
  if (name == "backgrounds") {
    kind = LayerKind::kBackgrounds, grid = &level.Backgrounds;
  } else if (name == "blocks") {
    kind = LayerKind::kBlocks, grid = &level.Blocks;
  } else if (name == "water") {
    kind = LayerKind::kWater, grid = &level.Water;
  } else {
    reader.UnknownLayers.insert(name);
    return true;
  }
  if (!seen.insert(name).second) return reader.Fail("it has two layers named \"" + name + "\"");
  if ((layer.Attribute("width") && !AttributeIs(layer, "width", MAP_WIDTH_TILES)) ||
      (layer.Attribute("height") && !AttributeIs(layer, "height", MAP_HEIGHT_TILES)))
    return reader.Fail("its layer \"" + name + "\" is not 75x54");
  std::vector<uint32_t> gids;
  const TXmlNode* data = layer.Child("data");
  if (!data) return reader.Fail("its layer \"" + name + "\" has no data");
  bool ok = ReadGids(reader, *data, gids);
  for (size_t i = 0; ok && i < kMapFileBytes; ++i)
    ok = PutCell(reader, kind, gids[i], (*grid)[i]);
  if (!ok) reader.Why = "its layer \"" + name + "\": " + reader.Why;
  return ok;
}

bool ObjectNumber(const TXmlNode& object, const char* name, double& value) {
  const std::string* attribute = object.Attribute(name);
  if (!attribute) return value = 0, true;
  const std::string& text = *attribute;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && end && *end == '\0' && std::isfinite(value);
}

// Where an object puts the middle of the feet: a point where it is, a tile object (whose
// corner is its bottom left) and a rectangle at the middle of their bottom edge.
bool FeetOf(Reader& reader, const TXmlNode& object, TStartPoint& at) {
  double x = 0, y = 0, width = 0, height = 0;
  const std::string id(object.Value("id"));
  const std::string which = id.empty() ? "an object" : "object " + id;
  if (!ObjectNumber(object, "x", x) || !ObjectNumber(object, "y", y) ||
      !ObjectNumber(object, "width", width) || !ObjectNumber(object, "height", height))
    return reader.Fail(which + " has a position that is not a number");
  if (object.Child("point") || object.Child("polygon") || object.Child("polyline")) {
  } else if (object.Attribute("gid")) {
    x += width / 2;
  } else {
    x += width / 2;
    y += height;
  }
  if (x < 0 || y < 0 || x > MAP_WIDTH_PIXELS || y > MAP_HEIGHT_PIXELS)
    return reader.Fail(which + " lies outside the map");
  at = {std::llround(x * PIXEL_UNITS), std::llround(y * PIXEL_UNITS)};
  return true;
}

bool ReadObjects(Reader& reader, const TXmlNode& group, TLevel& level, bool& player_seen) {
  size_t objects = 0;
  for (const TXmlNode& object : group.Children) {
    if (object.Name != "object") continue;
    if (++objects > kMaxObjects)
      return reader.Fail("it has more than " + std::to_string(kMaxObjects) + " objects");
    std::string_view type = object.Value("type");
    if (type.empty()) type = object.Value("class");
    if (type != "player" && type != "badguy") {
      ++reader.UntypedObjects;
      continue;
    }
    TStartPoint at;
    if (!FeetOf(reader, object, at)) return false;
    if (type == "player") {
      if (player_seen) return reader.Fail("it has two player objects");
      player_seen = true;
      level.Starts.Player = at;
    } else {
      if (level.Starts.Badguys.size() == kLevelBadguyCap)
        return reader.Fail("it has more than " + std::to_string(kLevelBadguyCap) +
                           " badguy objects");
      level.Starts.Badguys.push_back(at);
    }
  }
  return true;
}

std::string PropertyValue(const TXmlNode& property) {
  if (const std::string* value = property.Attribute("value")) return *value;
  return property.Text;  // a multi-line string
}

bool ReadProperties(Reader& reader, const TXmlNode& map, TLevel& level) {
  const TXmlNode* properties = map.Child("properties");
  if (!properties) return true;
  for (const TXmlNode& property : properties->Children) {
    if (property.Name != "property") continue;
    const std::string name(property.Value("name"));
    if (name == "name") {
      level.Name = PropertyValue(property);
      if (level.Name.empty()) continue;  // no name: the file's gives one
      if (const std::string why = WhyNotLevelName(level.Name); !why.empty())
        return reader.Fail("its name " + why);
    } else if (name == "music") {
      level.Music = PropertyValue(property);
      if (level.Music.size() > 256) return reader.Fail("its music property is too long");
    } else {
      reader.UnknownProperties.insert(name);
    }
  }
  return true;
}

// Layers in any order, group layers opened; the tile layers after the tilesets they use.
bool ReadLayers(Reader& reader, const TXmlNode& parent, TLevel& level, std::set<std::string>& seen,
                bool& player_seen, int depth) {
  if (depth > 16) return reader.Fail("its layer groups nest too deep");
  for (const TXmlNode& node : parent.Children) {
    const std::string& tag = node.Name;
    const std::string name(node.Value("name"));
    if (tag == "layer") {
      if (!ReadTileLayer(reader, node, level, seen)) return false;
    } else if (tag == "objectgroup") {
      if (name != "objects") {
        reader.UnknownLayers.insert(name);
      } else if (!ReadObjects(reader, node, level, player_seen)) {
        return false;
      }
    } else if (tag == "group") {
      if (!ReadLayers(reader, node, level, seen, player_seen, depth + 1)) return false;
    } else if (tag == "imagelayer") {
      reader.UnknownLayers.insert(name);
    }
  }
  return true;
}

std::string Listed(const std::set<std::string>& names) {
  std::string out;
  for (const std::string& name : names) {
    if (out.size() > 200) return out + ", ...";
    out += (out.empty() ? "\"" : ", \"") + name + "\"";
  }
  return out;
}

void CollectNotes(const Reader& reader, bool player_seen, std::vector<std::string>& notes) {
  if (reader.Flipped)
    notes.push_back(std::to_string(reader.Flipped) + " flipped or turned tiles drawn unflipped");
  if (reader.WrongSheet)
    notes.push_back(std::to_string(reader.WrongSheet) +
                    " tiles in a layer of another kind passed over (a block among backgrounds, "
                    "water among blocks)");
  if (reader.OtherSheet)
    notes.push_back(std::to_string(reader.OtherSheet) +
                    " tiles of tilesets that are not the game's sheets passed over");
  if (reader.WaterInBlock)
    notes.push_back(std::to_string(reader.WaterInBlock) + " water tiles under blocks passed over");
  if (reader.UntypedObjects)
    notes.push_back(std::to_string(reader.UntypedObjects) +
                    " objects neither player nor badguy passed over");
  if (!reader.UnknownLayers.empty())
    notes.push_back("layers the game does not know passed over: " + Listed(reader.UnknownLayers));
  if (!reader.UnknownProperties.empty())
    notes.push_back("map properties the game does not know passed over: " +
                    Listed(reader.UnknownProperties));
  if (!reader.MissingImages.empty())
    notes.push_back("tileset images missing beside the level (the game draws its own): " +
                    Listed(reader.MissingImages));
  if (!player_seen) notes.push_back("no player object: the player starts where it always has");
}

bool CheckMapShape(Reader& reader, const TXmlNode& map) {
  if (map.Value("orientation") != "orthogonal") return reader.Fail("it is not an orthogonal map");
  if (AttributeIs(map, "infinite", 1)) return reader.Fail("it is an infinite map");
  if (!AttributeIs(map, "width", MAP_WIDTH_TILES) || !AttributeIs(map, "height", MAP_HEIGHT_TILES))
    return reader.Fail("it is not 75x54 tiles");
  if (!AttributeIs(map, "tilewidth", 16) || !AttributeIs(map, "tileheight", 16))
    return reader.Fail("its tiles are not 16x16");
  return true;
}

}  // namespace

bool ParseLevelTmx(std::string_view text, const std::string& folder, TLevel& level,
                   std::string& why, std::vector<std::string>& notes) {
  TXmlNode map;
  return ParseXmlTree(text, map, why) && ReadLevelTree(map, folder, level, why, notes);
}

bool ReadLevelTree(const TXmlNode& map, const std::string& folder, TLevel& level, std::string& why,
                   std::vector<std::string>& notes) {
  if (map.Name != "map") {
    why = "it is not a Tiled map";
    return false;
  }
  Reader reader;
  reader.Folder = folder;
  TLevel read;
  read.Starts.Badguys.clear();
  std::set<std::string> seen;
  bool player_seen = false;
  bool ok = CheckMapShape(reader, map) && ReadProperties(reader, map, read);
  for (const TXmlNode& tileset : map.Children)
    ok = ok && (tileset.Name != "tileset" || ReadTileset(reader, tileset));
  ok = ok && ReadLayers(reader, map, read, seen, player_seen, 0);
  if (!ok) {
    why = reader.Why;
    return false;
  }
  for (size_t i = 0; i < kMapFileBytes; ++i) {
    if (read.Water[i] != 0 && read.Blocks[i] != kNoStyle) {
      read.Water[i] = 0;
      ++reader.WaterInBlock;
    }
  }
  if (read.Starts.Badguys.empty()) read.Starts.Badguys = DefaultLevelStarts().Badguys;
  CollectNotes(reader, player_seen, notes);
  level = std::move(read);
  return true;
}

bool ReadLevelFile(const std::string& path, TLevel& level, std::string& why,
                   std::vector<std::string>& notes) {
  const int64_t length = FileLength(path);
  if (length < 0) {
    why = "there is no such file";
    return false;
  }
  if (static_cast<uint64_t>(length) > kMaxLevelFileBytes) {
    why = "it is larger than " + std::to_string(kMaxLevelFileBytes >> 20) + " MiB";
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, kMaxLevelFileBytes)) {
    why = "it cannot be read";
    return false;
  }
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return ParseLevelTmx({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, folder, level,
                       why, notes);
}
