// The full tile palette: every square the picker offers paints a visible tile of its own,
// backgrounds stay behind the blocks, the dark chunks' band is the shading of the sky band, and
// a broken recipe stops the build with its file and line, leaving the last sheet in place.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/bmp.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kMask = 0x7AC9FF;  // 122, 201, 255
constexpr int kSkyBand = 256, kDarkBand = 512;

const DecodedBitmap& Sheet() {
  static const DecodedBitmap sheet =
      LoadBmpFile(std::string(RAVELON_ART_DIR) + "/AllTiles8.bmp").value_or(DecodedBitmap{});
  return sheet;
}

// The 256 pixels of cell n, mask colour included, without the alpha byte.
std::vector<uint32_t> Cell(int n) {
  const DecodedBitmap& s = Sheet();
  std::vector<uint32_t> px;
  int ox = (n % 32) * 16, oy = (n / 32) * 16;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      px.push_back(s.argb[size_t(oy + y) * s.width + ox + x] & 0xFFFFFF);
  return px;
}

int Sum(uint32_t c) {
  return int((c >> 16) & 255) + int((c >> 8) & 255) + int(c & 255);
}

// Mean brightness and mean distance from it over the opaque pixels of cells first..first+255.
void HalfTone(int first, double& mean, double& spread) {
  double total = 0, dev = 0;
  long count = 0;
  std::vector<std::vector<uint32_t>> cells;
  for (int n = first; n < first + 256; ++n) {
    std::vector<uint32_t> px = Cell(n);
    double cellTotal = 0;
    int cellCount = 0;
    for (uint32_t c : px)
      if (c != kMask) cellTotal += Sum(c), ++cellCount;
    if (cellCount == 0) continue;
    double cellMean = cellTotal / cellCount;
    for (uint32_t c : px)
      if (c != kMask) dev += std::abs(Sum(c) - cellMean);
    total += cellTotal;
    count += cellCount;
  }
  mean = total / double(count);
  spread = dev / double(count);
}

TEST(TileSheet, EveryPickerSquareIsMostlyOpaqueAndNoTwoAlike) {
  ASSERT_EQ(Sheet().width, 512);
  ASSERT_EQ(Sheet().height, 384);
  std::map<std::vector<uint32_t>, int> seen;
  for (int n = 0; n < 512; ++n) {
    std::vector<uint32_t> px = Cell(n);
    int opaque = 0;
    for (uint32_t c : px)
      opaque += c != kMask;
    EXPECT_GE(opaque * 10, 256 * 6) << "frame " << n << " has " << opaque << " drawn pixels";
    auto [it, fresh] = seen.emplace(px, n);
    EXPECT_TRUE(fresh) << "frame " << n << " repeats frame " << it->second;
  }
}

TEST(TileSheet, BackgroundsAreDarkerAndFlatterThanBlocks) {
  double blockMean, blockSpread, backMean, backSpread;
  HalfTone(0, blockMean, blockSpread);
  HalfTone(kSkyBand, backMean, backSpread);
  EXPECT_LT(backMean, blockMean * 0.8);
  EXPECT_LT(backSpread, blockSpread * 0.8);
}

// The blocks of the default level and the start-up map are drawn with the same helpers as the
// new materials; a change to a shared helper must not quietly change how the level looks.
TEST(TileSheet, TheLevelsBlocksKeepTheirLook) {
  uint64_t hash = 1469598103934665603ull;  // FNV-1a over the pixels
  for (auto [first, last] : {std::pair{0, 29}, std::pair{32, 54}})
    for (int n = first; n <= last; ++n)
      for (uint32_t c : Cell(n))
        for (int shift : {0, 8, 16})
          hash = (hash ^ ((c >> shift) & 255)) * 1099511628211ull;
  EXPECT_EQ(hash, 18241091941360224879ull)
      << "block cells 0..29 and 32..54 look different now; if that is meant, "
         "look at them in the game and update this number";
}

// The dark band is made from the sky band by one colour rule, never drawn on its own: the same
// sky colour always gives the same dark colour, holes stay holes, and every pixel gets darker.
TEST(TileSheet, DarkBandIsTheShadingOfTheSkyBand) {
  std::map<uint32_t, uint32_t> rule;
  int broken = 0;
  for (int b = 0; b < 256 && broken < 5; ++b) {
    std::vector<uint32_t> sky = Cell(kSkyBand + b), dark = Cell(kDarkBand + b);
    for (size_t i = 0; i < sky.size(); ++i) {
      bool ok = (sky[i] == kMask) == (dark[i] == kMask);
      if (sky[i] != kMask) {
        auto [it, fresh] = rule.emplace(sky[i], dark[i]);
        ok = ok && it->second == dark[i] && Sum(dark[i]) < Sum(sky[i]);
      }
      if (!ok) {
        ADD_FAILURE() << "background " << b << " pixel " << i << ": " << std::hex << sky[i]
                      << " gives " << dark[i];
        ++broken;
        break;
      }
    }
  }
}

// A copy of the art sources with one file replaced (empty text: the file removed).
class BrokenRecipe : public ::testing::Test {
 protected:
  void Build(const std::string& file, const std::string& text) {
    fs::remove_all(Dir.Path() + "/assets");
    fs::remove_all(Dir.Path() + "/out");
    fs::copy(std::string(RAVELON_SOURCE_DIR) + "/assets", Dir.Path() + "/assets",
             fs::copy_options::recursive);
    if (text.empty())
      fs::remove(Dir.Path() + "/assets/" + file);
    else
      std::ofstream(Dir.Path() + "/assets/" + file) << text;
    fs::create_directories(Dir.Path() + "/out");
    std::ofstream(Dir.Path() + "/out/AllTiles8.bmp") << "the last good sheet";
    std::string exe = (fs::path(RAVELON_ART_DIR).parent_path() / "ravelon-artbuild").string();
    std::string cmd = "\"" + exe + "\" \"" + Dir.Path() + "/assets\" \"" + Dir.Path() +
                      "/out\" > /dev/null 2> \"" + Dir.Path() + "/err.txt\"";
    Status = std::system(cmd.c_str());
    std::ifstream err(Dir.Path() + "/err.txt");
    std::stringstream s;
    s << err.rdbuf();
    Errors = s.str();
  }
  void ExpectRefused(const std::string& message) {
    EXPECT_NE(Status, 0);
    EXPECT_NE(Errors.find(message), std::string::npos) << Errors;
    std::ifstream sheet(Dir.Path() + "/out/AllTiles8.bmp");
    std::string kept((std::istreambuf_iterator<char>(sheet)), std::istreambuf_iterator<char>());
    EXPECT_EQ(kept, "the last good sheet");
  }

  ScopedWorkDir Dir;
  int Status = 0;
  std::string Errors;
};

TEST_F(BrokenRecipe, AnUnknownPatternNamesItsFileAndLine) {
  Build("tiles/blocks/stone.txt", "# stone\n\ntiles 55 9 rokc granite\n");
  ExpectRefused("tiles/blocks/stone.txt:3: unknown pattern rokc");
}

TEST_F(BrokenRecipe, ABadRampValueNamesItsFileAndLine) {
  Build("tiles/colours.txt", "ramp granite 62 64 74  88 90 300\n");
  ExpectRefused("tiles/colours.txt:1: ramp granite: colour values are 0..255");
}

TEST_F(BrokenRecipe, AnUnknownKeyOrRampNamesItsFileAndLine) {
  Build("tiles/blocks/ore.txt",
        "tiles 184 2 ore granite accent=gold\ntiles 186 2 ore granite acent=ruby\n");
  ExpectRefused("tiles/blocks/ore.txt:2: unknown key acent");
  Build("tiles/blocks/ore.txt", "tiles 184 8 ore granit\n");
  ExpectRefused("tiles/blocks/ore.txt:1: no ramp named granit");
}

TEST_F(BrokenRecipe, DrawingOverAStyleOrLeavingOneOutIsRefused) {
  Build("tiles/backgrounds/walls.txt", "tiles 20 1 rock granite\n");
  ExpectRefused("tiles/backgrounds/walls.txt:1: background style 20 is already drawn");
  Build("tiles/blocks/ore.txt", "");
  ExpectRefused("nothing draws block style 184");
}

TEST_F(BrokenRecipe, ARunPastTheLastStyleIsRefused) {
  Build("tiles/blocks/signs.txt", "tiles 250 8 sign signwood\n");
  ExpectRefused("tiles/blocks/signs.txt:1: count must be");
  Build("tiles/blocks/signs.txt", "# signs\ntiles 250 2147483647 sign signwood\n");
  ExpectRefused("tiles/blocks/signs.txt:2: count must be");
}

}  // namespace
