// Level files: the game's writing reads back whole; every layer encoding and tileset layout
// Tiled writes gives the same level; what the game cannot show is counted in one line; bad
// input is refused with one reason and nothing read kept; a level goes into the map and back.
#include <unistd.h>
#include <zlib.h>
#include <zstd.h>

#include <filesystem>
#include <fstream>

#include "fluid/level_apply.h"
#include "world/current_level.h"
#include "world/level_file.h"
#include "world_fixture.h"

namespace {

size_t Cell(int x, int y) {
  return static_cast<size_t>(y) * MAP_WIDTH_TILES + x;
}

// A level with something of everything: blocks of both ends of the styles, backgrounds, water
// of several levels, starts off the cell grid, and a tune.
TLevel SampleLevel() {
  TLevel level;
  level.Name = "Caves & <Cliffs>";
  level.Music = "theme \"two\"";
  level.Blocks[Cell(0, 0)] = 0;
  level.Blocks[Cell(74, 53)] = 254;
  level.Blocks[Cell(10, 20)] = 23;
  level.Backgrounds[Cell(3, 4)] = 0;
  level.Backgrounds[Cell(5, 6)] = 254;
  level.Water[Cell(30, 30)] = 1;
  level.Water[Cell(31, 30)] = 16;
  level.Water[Cell(32, 30)] = 9;
  level.Starts.Player = {100 * PIXEL_UNITS + 3, 500 * PIXEL_UNITS};
  level.Starts.Badguys = {{40 * PIXEL_UNITS, 60 * PIXEL_UNITS}, {1200 * PIXEL_UNITS, 0}};
  return level;
}

struct Parsed {
  bool Ok = false;
  TLevel Level;
  std::string Why;
  std::vector<std::string> Notes;
};

Parsed Parse(const std::string& text, const std::string& folder = ".") {
  Parsed out;
  out.Level.Name = "untouched";
  out.Ok = ParseLevelTmx(text, folder, out.Level, out.Why, out.Notes);
  return out;
}

constexpr std::string_view kCsvOpen = "<data encoding=\"csv\">";

// Where each CSV <data> element of a level text starts, and its text's start and end (found by
// hand: std::regex recurses once a character and overflows the stack on a layer's CSV).
struct CsvData {
  size_t Start, TextStart, TextEnd, End;
};
std::vector<CsvData> CsvDataOf(const std::string& text) {
  std::vector<CsvData> found;
  for (size_t at = text.find(kCsvOpen); at != std::string::npos; at = text.find(kCsvOpen, at)) {
    const size_t text_start = at + kCsvOpen.size();
    const size_t text_end = text.find("</data>", text_start);
    if (text_end == std::string::npos) break;
    found.push_back({at, text_start, text_end, text_end + 7});
    at = text_end;
  }
  return found;
}

// Every layer's CSV data replaced by what `encode` makes of its gids.
std::string Reencoded(const std::string& text, const std::string& attributes,
                      std::string (*encode)(const std::vector<uint32_t>&)) {
  std::string out;
  size_t at = 0;
  for (const CsvData& data : CsvDataOf(text)) {
    std::vector<uint32_t> gids;
    std::string why;
    EXPECT_TRUE(DecodeLayerData(text.substr(data.TextStart, data.TextEnd - data.TextStart), "csv",
                                "", gids, why))
        << why;
    out.append(text, at, data.Start - at);
    out += "<data" + attributes + ">" + encode(gids) + "</data>";
    at = data.End;
  }
  return out.append(text, at, std::string::npos);
}

std::string LittleEndian(const std::vector<uint32_t>& gids) {
  std::string bytes;
  for (uint32_t gid : gids)
    for (int shift = 0; shift < 32; shift += 8)
      bytes += static_cast<char>(gid >> shift);
  return bytes;
}

std::string Base64(const std::string& bytes) {
  static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out = "\n   ";
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k)
      group = group << 8 | (k < n ? static_cast<uint8_t>(bytes[i + k]) : 0u);
    for (size_t k = 0; k < 4; ++k)
      out += k <= n ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
  }
  return out + "\n  ";
}

std::string Deflated(const std::string& bytes, int window_bits) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, window_bits, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, bytes.size()) + 32, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::string Zstd(const std::string& bytes) {
  std::string out(ZSTD_compressBound(bytes.size()), '\0');
  out.resize(ZSTD_compress(out.data(), out.size(), bytes.data(), bytes.size(), 3));
  return out;
}

std::string PlainBase64(const std::vector<uint32_t>& g) {
  return Base64(LittleEndian(g));
}
std::string ZlibBase64(const std::vector<uint32_t>& g) {
  return Base64(Deflated(LittleEndian(g), MAX_WBITS));
}
std::string GzipBase64(const std::vector<uint32_t>& g) {
  return Base64(Deflated(LittleEndian(g), 16 + MAX_WBITS));
}
std::string ZstdBase64(const std::vector<uint32_t>& g) {
  return Base64(Zstd(LittleEndian(g)));
}
std::string TileElements(const std::vector<uint32_t>& g) {
  std::string out;
  for (uint32_t gid : g)
    out += gid ? "<tile gid=\"" + std::to_string(gid) + "\"/>" : "<tile/>";
  return out;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(LevelFile, TheGamesWritingReadsBackWhole) {
  const TLevel level = SampleLevel();
  const std::string text = LevelTmxText(level);
  const Parsed read = Parse(text);
  ASSERT_TRUE(read.Ok) << read.Why;
  EXPECT_EQ(read.Level, level);
  // Only the pictures are missing here, the game's own sheets beside the play folder's levels/.
  EXPECT_EQ(read.Notes, (std::vector<std::string>{
                            "tileset images missing beside the level (the game draws its own): "
                            "\"../AllTiles8.bmp\", \"../tall_water.bmp\""}));
  // The styles as Tiled shows them: block s is gid s + 1, background b gid 257 + b, water of n
  // units gid 768 + n.
  EXPECT_NE(text.find("\n1,0,0,"), std::string::npos);
  EXPECT_NE(text.find("<property name=\"music\" value=\"theme &quot;two&quot;\"/>"),
            std::string::npos);
  std::string why;
  std::map<std::string, std::vector<uint32_t>> layers;
  for (const CsvData& data : CsvDataOf(text)) {
    // The layer's name: the last name="..." before its data.
    const size_t name_at = text.rfind(" name=\"", data.Start) + 7;
    const std::string name = text.substr(name_at, text.find('"', name_at) - name_at);
    ASSERT_TRUE(DecodeLayerData(text.substr(data.TextStart, data.TextEnd - data.TextStart), "csv",
                                "", layers[name], why))
        << why;
  }
  EXPECT_EQ(layers["blocks"][Cell(74, 53)], 255u);
  EXPECT_EQ(layers["backgrounds"][Cell(5, 6)], 257u + 254);
  EXPECT_EQ(layers["backgrounds"][Cell(3, 4)], 257u);
  EXPECT_EQ(layers["water"][Cell(31, 30)], 784u);
  EXPECT_EQ(layers["water"][Cell(30, 30)], 769u);
  EXPECT_EQ(layers["water"][Cell(0, 0)], 0u);
  // A level without a tune names none, and reads back without one.
  TLevel quiet = level;
  quiet.Music.clear();
  EXPECT_EQ(LevelTmxText(quiet).find("music"), std::string::npos);
  EXPECT_EQ(Parse(LevelTmxText(quiet)).Level, quiet);
}

TEST(LevelFile, EveryLayerEncodingGivesTheSameLevel) {
  const TLevel level = SampleLevel();
  const std::string text = LevelTmxText(level);
  const std::pair<const char*, std::string (*)(const std::vector<uint32_t>&)> encodings[] = {
      {" encoding=\"base64\"", PlainBase64},
      {" encoding=\"base64\" compression=\"zlib\"", ZlibBase64},
      {" encoding=\"base64\" compression=\"gzip\"", GzipBase64},
      {" encoding=\"base64\" compression=\"zstd\"", ZstdBase64},
      {"", TileElements}};
  for (const auto& [attributes, encode] : encodings) {
    const Parsed read = Parse(Reencoded(text, attributes, encode));
    ASSERT_TRUE(read.Ok) << attributes << ": " << read.Why;
    EXPECT_EQ(read.Level, level) << attributes;
  }
}

TEST(LevelFile, TilesetsAnywhereObjectsOfEveryKindAndWhatIsPassedOver) {
  ScopedWorkDir dir;
  std::filesystem::create_directory("sheets");
  // The tiles from an external tileset, the water at another first gid, a foreign tileset
  // between them; layers in another order, inside a group; objects typed by class.
  std::ofstream("sheets/tiles.tsx")
      << "<?xml version=\"1.0\"?>\n<tileset version=\"1.8\" name=\"tiles\" tilewidth=\"16\" "
         "tileheight=\"16\" tilecount=\"768\" columns=\"32\"><image source=\"AllTiles8.bmp\" "
         "width=\"512\" height=\"384\"/></tileset>\n";
  std::ofstream("sheets/AllTiles8.bmp") << "x";
  std::string blocks(kMapFileBytes * 2 - 1, '0'), water = blocks, backgrounds = blocks;
  for (size_t i = 1; i < blocks.size(); i += 2)
    blocks[i] = water[i] = backgrounds[i] = ',';
  auto put = [](std::string& csv, size_t cell, const std::string& gid) {
    csv.replace(cell * 2, 1, gid);
  };
  // Backwards so earlier cells keep their offsets.
  put(water, Cell(7, 3), "2003");         // water, level 4 (first gid 2000)
  put(water, Cell(6, 3), "2016");         // a pool-surface cell: level 1
  put(water, Cell(5, 3), "24");           // a block in the water layer: passed over
  put(blocks, Cell(9, 9), "1601");        // the foreign tileset: passed over
  put(blocks, Cell(8, 9), "2147483672");  // style 23, flipped horizontally
  put(blocks, Cell(7, 3), "24");          // style 23 over the water: the water goes
  put(backgrounds, Cell(2, 2), "513");    // the dark set's background 0 reads as background 0
  put(backgrounds, Cell(1, 1), std::to_string(0x20000000u + 257));  // background 0, turned
  const std::string text =
      "<?xml version=\"1.0\"?>\n<map version=\"1.10\" orientation=\"orthogonal\" width=\"75\" "
      "height=\"54\" tilewidth=\"16\" tileheight=\"16\" infinite=\"0\">\n"
      "<properties><property name=\"author\" value=\"me\"/><property name=\"name\">Deep</property>"
      "</properties>\n"
      "<tileset firstgid=\"1600\" name=\"props\" tilewidth=\"32\" tileheight=\"32\" "
      "tilecount=\"4\"><image source=\"props.png\"/></tileset>\n"
      "<tileset firstgid=\"2000\" name=\"w\" tilewidth=\"16\" tileheight=\"16\" tilecount=\"80\">"
      "<image source=\"sheets/tall_water.bmp\"/></tileset>\n"
      "<tileset firstgid=\"1\" source=\"sheets/tiles.tsx\"/>\n"
      "<objectgroup name=\"objects\">"
      "<object id=\"9\" class=\"badguy\" x=\"10\" y=\"20\" width=\"16\" height=\"24\"/>"
      "<object id=\"3\" class=\"player\" gid=\"5\" x=\"32.5\" y=\"64\" width=\"16\" height=\"16\"/>"
      "<object id=\"4\" type=\"badguy\" x=\"1\" y=\"2\"><point/></object>"
      "<object id=\"5\" type=\"sign\" x=\"1\" y=\"2\"/></objectgroup>\n"
      "<layer name=\"decor\" width=\"75\" height=\"54\"><data encoding=\"csv\">" +
      backgrounds +
      "</data></layer>\n<group name=\"g\">"
      "<layer name=\"water\" width=\"75\" height=\"54\"><data encoding=\"csv\">" +
      water +
      "</data></layer><layer name=\"blocks\" width=\"75\" height=\"54\"><data encoding=\"csv\">" +
      blocks +
      "</data></layer></group>\n"
      "<layer name=\"backgrounds\" width=\"75\" height=\"54\"><data encoding=\"csv\">" +
      backgrounds + "</data></layer>\n</map>\n";
  const Parsed read = Parse(text);
  ASSERT_TRUE(read.Ok) << read.Why;
  EXPECT_EQ(read.Level.Name, "Deep");
  EXPECT_EQ(read.Level.Blocks[Cell(8, 9)], 23);
  EXPECT_EQ(read.Level.Blocks[Cell(7, 3)], 23);
  EXPECT_EQ(read.Level.Blocks[Cell(9, 9)], kNoStyle);
  EXPECT_EQ(read.Level.Water[Cell(7, 3)], 0);
  EXPECT_EQ(read.Level.Water[Cell(6, 3)], 1);
  EXPECT_EQ(read.Level.Water[Cell(5, 3)], 0);
  EXPECT_EQ(read.Level.Backgrounds[Cell(2, 2)], 0);
  EXPECT_EQ(read.Level.Backgrounds[Cell(1, 1)], 0);
  // A rectangle and a tile object by the middle of their bottom edge, a point where it is.
  EXPECT_EQ(read.Level.Starts.Player,
            (TStartPoint{static_cast<int64_t>(40.5 * PIXEL_UNITS), 64 * PIXEL_UNITS}));
  EXPECT_EQ(read.Level.Starts.Badguys,
            (std::vector<TStartPoint>{{18 * PIXEL_UNITS, 44 * PIXEL_UNITS},
                                      {1 * PIXEL_UNITS, 2 * PIXEL_UNITS}}));
  EXPECT_EQ(read.Notes,
            (std::vector<std::string>{
                "2 flipped or turned tiles drawn unflipped",
                "1 tiles in a layer of another kind passed over (a block among backgrounds, water "
                "among blocks)",
                "1 tiles of tilesets that are not the game's sheets passed over",
                "1 water tiles under blocks passed over",
                "1 objects neither player nor badguy passed over",
                "layers the game does not know passed over: \"decor\"",
                "map properties the game does not know passed over: \"author\"",
                "tileset images missing beside the level (the game draws its own): "
                "\"props.png\", \"sheets/tall_water.bmp\""}));
}

TEST(LevelFile, BadInputIsRefusedWithOneReasonAndNothingKept) {
  ScopedWorkDir dir;
  const std::string good = LevelTmxText(SampleLevel());
  std::string bomb_bytes(16u << 20, '\0');
  const std::string bomb = Base64(Deflated(bomb_bytes, MAX_WBITS));
  bomb_bytes.clear();
  std::string many = "<objectgroup name=\"objects\">";
  for (int i = 0; i < 10000; ++i)
    many += "<object type=\"badguy\" x=\"1\" y=\"1\"/>";
  auto with_data = [&](const std::string& data) {
    const CsvData first = CsvDataOf(good).at(0);
    return good.substr(0, first.Start) + data + good.substr(first.End);
  };
  const std::pair<std::string, std::string> cases[] = {
      {"not xml at all <<<", "it is not XML"},
      {"<?xml version=\"1.0\"?><svg/>", "it is not a Tiled map"},
      {Replaced(good, "width=\"75\" height=\"54\" tilewidth",
                "width=\"80\" height=\"54\" tilewidth"),
       "it is not 75x54 tiles"},
      {Replaced(good, "orthogonal", "isometric"), "it is not an orthogonal map"},
      {Replaced(good, "tilewidth=\"16\" tileheight=\"16\" infinite",
                "tilewidth=\"32\" "
                "tileheight=\"16\" infinite"),
       "its tiles are not 16x16"},
      {Replaced(good, "infinite=\"0\"", "infinite=\"1\""), "it is an infinite map"},
      {Replaced(good, "\n1,0,0,", "\n900,0,0,"), "its layer \"blocks\": "},
      {Replaced(good, "\n1,0,0,", "\n900,0,0,"), "tile 900 lies past every tileset"},
      {Replaced(good,
                "<image source=\"../tall_water.bmp\" trans=\"7ac9ff\" width=\"256\" "
                "height=\"80\"/>",
                ""),
       "the tileset \"water\" has no image"},
      {with_data("<data encoding=\"base64\">not*base64</data>"), "its base64 data is not base64"},
      {with_data("<data encoding=\"base64\">AAAA</data>"), "holds 3 bytes, not 16200"},
      {with_data("<data encoding=\"base64\" compression=\"zlib\">" + bomb + "</data>"),
       "inflates past 16200 bytes"},
      {with_data("<data encoding=\"base64\" compression=\"zlib\">" +
                 Base64(Deflated(std::string(16204, '\0'), MAX_WBITS)) + "</data>"),
       "inflates past 16200 bytes"},
      {with_data("<data encoding=\"base64\" compression=\"lzma\">AAAA</data>"),
       "a compression the game does not read"},
      {with_data("<data encoding=\"csv\">1,2,3</data>"), "has 3 numbers, not one per cell"},
      {Replaced(good, "<objectgroup id=\"4\" name=\"objects\">",
                "<objectgroup name=\"objects\"><object type=\"player\" x=\"1\" y=\"1\"/>"),
       "it has two player objects"},
      {Replaced(good, "<objectgroup id=\"4\" name=\"objects\">", many), "more than 499 badguy"},
      {Replaced(good, "x=\"40\" y=\"60\"", "x=\"40\" y=\"865\""), "object 2 lies outside the map"},
      {Replaced(good, "x=\"40\" y=\"60\"", "x=\"-1\" y=\"60\""), "object 2 lies outside the map"},
      {Replaced(good, "x=\"40\" y=\"60\"", "x=\"nan\" y=\"60\""), "not a number"},
      {Replaced(good, "value=\"Caves &amp; &lt;Cliffs&gt;\"", "value=\"a/b\""),
       "its name has a '/'"},
      {Replaced(good, "value=\"Caves &amp; &lt;Cliffs&gt;\"", "value=\"..\""),
       "its name has \"..\""},
      {Replaced(good, "value=\"Caves &amp; &lt;Cliffs&gt;\"", "value=\"a&#9;b\""),
       "its name has a control character"},
      {Replaced(good, "<tileset firstgid=\"769\" name=\"water\"",
                "<tileset firstgid=\"769\" source=\"gone.tsx\"/><tileset firstgid=\"2000\""),
       "its tileset gone.tsx is missing"},
  };
  for (const auto& [text, reason] : cases) {
    const Parsed read = Parse(text);
    EXPECT_FALSE(read.Ok) << reason;
    EXPECT_NE(read.Why.find(reason), std::string::npos)
        << "wanted: " << reason << "\n     got: " << read.Why;
    EXPECT_EQ(read.Why.find('\n'), std::string::npos) << read.Why;
    EXPECT_EQ(read.Level.Name, "untouched") << reason;
  }
  // A file far above any level is refused by its length, before a byte is read.
  { std::ofstream("huge.tmx"); }
  ASSERT_EQ(truncate("huge.tmx", 100 << 20), 0);
  TLevel level;
  std::string why;
  std::vector<std::string> notes;
  EXPECT_FALSE(ReadLevelFile("huge.tmx", level, why, notes));
  EXPECT_EQ(why, "it is larger than 4 MiB");
}

class LevelInTheMap : public WorldTest {};

TEST_F(LevelInTheMap, PutIntoTheMapAndTakenBackTheSame) {
  TLevel level = SampleLevel();
  level.Water[Cell(10, 20)] = 5;  // under a block: stays dry
  SetMapFromLevel(level);
  EXPECT_EQ(TMap::FBlockStyleAtCell(10, 20), 23);
  EXPECT_EQ(SolidGrid[10][20], kSolidBlock);
  EXPECT_EQ(SolidGrid[31][30], kSolidFluid);
  EXPECT_EQ(FillGrid[32][30], 9);
  EXPECT_EQ(FluidColumnActive[31], 1);
  EXPECT_EQ(BGGrid[5][6], 254);
  EXPECT_EQ(LevelStarts, level.Starts);
  CurrentLevel = {"x.tmx", level.Name, level.Music};
  level.Water[Cell(10, 20)] = 0;
  EXPECT_EQ(LevelFromMap(), level);
  CurrentLevel = {};
  ResetLevelStarts();
}

}  // namespace
