// The art builder's files: sizes and cell counts the game loads them by, the transparent
// colour, the default level's ring and start places, and identical output on every run.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/bmp.h"
#include "support/test_env.h"
#include "world/map.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kMask = 0x7AC9FF;  // 122, 201, 255
const char* const kFiles[] = {"AllTiles8.bmp",  "tall_water.bmp",   "ActorGfxKelpo.bmp",
                              "instr.bmp",      "24pal.raw",        "BlockMapImage.bmp",
                              "BGMap75x54.raw", "BlockMap75x54.raw"};

std::string ArtDir() {
  return RAVELON_ART_DIR;
}

std::vector<unsigned char> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

DecodedBitmap Picture(const std::string& name) {
  std::optional<DecodedBitmap> b = LoadBmpFile(ArtDir() + "/" + name);
  EXPECT_TRUE(b.has_value()) << name;
  return b.value_or(DecodedBitmap{});
}

bool Clear(const DecodedBitmap& b, int x, int y) {
  return (b.argb[size_t(y) * b.width + x] & 0xFFFFFF) == kMask;
}

// Counts the drawn pixels of a w x h cell, frames numbered left to right, then down.
int InkInCell(const DecodedBitmap& b, int cellW, int cellH, int n, int row0 = 0, int row1 = -1) {
  int perRow = b.width / cellW;
  int ox = (n % perRow) * cellW, oy = (n / perRow) * cellH;
  if (row1 < 0) row1 = cellH - 1;
  int ink = 0;
  for (int y = row0; y <= row1; ++y)
    for (int x = 0; x < cellW; ++x)
      ink += Clear(b, ox + x, oy + y) ? 0 : 1;
  return ink;
}

long Brightness(const DecodedBitmap& b, int n) {
  int ox = (n % 32) * 16, oy = (n / 32) * 16;
  long sum = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      uint32_t c = b.argb[size_t(oy + y) * b.width + ox + x];
      sum += ((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255);
    }
  return sum;
}

int RunBuilder(const std::string& out) {
  std::string exe = (fs::path(ArtDir()).parent_path() / "ravelon-artbuild").string();
  std::string cmd = "\"" + exe + "\" \"" + std::string(RAVELON_SOURCE_DIR) + "/assets\" \"" + out +
                    "\" > /dev/null 2>&1";
  return std::system(cmd.c_str());
}

TEST(ArtBuilder, TwoRunsWriteTheSameFilesAsTheBuild) {
  ScopedWorkDir dir;
  ASSERT_EQ(RunBuilder(dir.Path() + "/a"), 0);
  ASSERT_EQ(RunBuilder(dir.Path() + "/b"), 0);
  for (const char* f : kFiles) {
    std::vector<unsigned char> a = Bytes(dir.Path() + "/a/" + f);
    EXPECT_FALSE(a.empty()) << f;
    EXPECT_EQ(a, Bytes(dir.Path() + "/b/" + f)) << f;
    EXPECT_EQ(a, Bytes(ArtDir() + "/" + f)) << f;
  }
}

TEST(ArtBuilder, RefusesAMissingOrBrokenSourceWithAnExitCode) {
  ScopedWorkDir dir;
  fs::copy(std::string(RAVELON_SOURCE_DIR) + "/assets", dir.Path() + "/assets",
           fs::copy_options::recursive);
  std::ofstream(dir.Path() + "/assets/level/blocks.txt") << "style . none\ngrid map\n...\n";
  std::string exe = (fs::path(ArtDir()).parent_path() / "ravelon-artbuild").string();
  std::string cmd =
      "\"" + exe + "\" \"" + dir.Path() + "/assets\" \"" + dir.Path() + "/out\" > /dev/null 2>&1";
  EXPECT_NE(std::system(cmd.c_str()), 0);
  EXPECT_NE(std::system(("\"" + exe + "\" > /dev/null 2>&1").c_str()), 0);
}

TEST(ArtFiles, BitmapsAreUncompressed24BitWithTheGamesCellCounts) {
  for (const char* f :
       {"AllTiles8.bmp", "tall_water.bmp", "ActorGfxKelpo.bmp", "instr.bmp", "BlockMapImage.bmp"}) {
    std::vector<unsigned char> b = Bytes(ArtDir() + "/" + f);
    ASSERT_GT(b.size(), 54u) << f;
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[28], 24) << f;  // bits per pixel
    EXPECT_EQ(b[30], 0) << f;   // no compression
  }
  DecodedBitmap tiles = Picture("AllTiles8.bmp");
  EXPECT_EQ(tiles.width, 512);
  EXPECT_EQ(tiles.height, 384);
  DecodedBitmap water = Picture("tall_water.bmp");
  EXPECT_EQ(water.width % 16, 0);
  EXPECT_EQ(water.height % 16, 0);
  EXPECT_GE((water.width / 16) * (water.height / 16), 80);
  DecodedBitmap actor = Picture("ActorGfxKelpo.bmp");
  EXPECT_EQ(actor.width % 16, 0);
  EXPECT_EQ(actor.height % 24, 0);
  EXPECT_GE((actor.width / 16) * (actor.height / 24), 48);
  DecodedBitmap ref = Picture("BlockMapImage.bmp");
  EXPECT_EQ(ref.width, 75);
  EXPECT_EQ(ref.height, 54);
  EXPECT_EQ(Bytes(ArtDir() + "/BGMap75x54.raw").size(), 4050u);
  EXPECT_EQ(Bytes(ArtDir() + "/BlockMap75x54.raw").size(), 4050u);
}

TEST(ArtFiles, PaletteListingHoldsTheTwentyFourDrawingColours) {
  std::vector<unsigned char> p = Bytes(ArtDir() + "/24pal.raw");
  ASSERT_EQ(p.size(), 72u);
  auto colour = [&](int n) { return std::vector<int>{p[3 * n], p[3 * n + 1], p[3 * n + 2]}; };
  EXPECT_EQ(colour(0), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(colour(1), (std::vector<int>{4, 25, 39}));
  EXPECT_EQ(colour(3), (std::vector<int>{0, 64, 88}));
  EXPECT_EQ(colour(7), (std::vector<int>{122, 201, 255}));
  EXPECT_EQ(colour(12), (std::vector<int>{248, 56, 0}));
  EXPECT_EQ(colour(14), (std::vector<int>{133, 133, 133}));
  for (int n = 15; n < 24; ++n)
    EXPECT_EQ(colour(n), (std::vector<int>{255, 255, 255})) << n;
}

TEST(ArtFiles, EveryBlockStyleTheGameNamesHasAPicture) {
  DecodedBitmap t = Picture("AllTiles8.bmp");
  std::vector<int> named;
  for (int base : {0, 6, 12, 32, 38, 44})
    for (int v = 0; v < 6; ++v)
      named.push_back(base + v);
  for (int s : {18, 19, 20, 50, 51, 52, 21, 22, 53, 54, 23})
    named.push_back(s);
  for (int s : named) {
    EXPECT_GT(InkInCell(t, 16, 16, s), 200) << "block " << s;
  }
  // Struck containers differ from the resting ones, and the two containers from each other.
  EXPECT_NE(Brightness(t, 21), Brightness(t, 22));
  EXPECT_NE(Brightness(t, 53), Brightness(t, 54));
  EXPECT_NE(Brightness(t, 21), Brightness(t, 53));
}

TEST(ArtFiles, WallBackgroundsAreOpaqueAndTheirShadedVariantsDarker) {
  DecodedBitmap t = Picture("AllTiles8.bmp");
  for (int set : {256, 512})
    for (int b = 0; b < 8; ++b) {
      EXPECT_EQ(InkInCell(t, 16, 16, set + b), 256) << set + b;
      EXPECT_EQ(InkInCell(t, 16, 16, set + 8 + b), 256) << set + 8 + b;
      EXPECT_LT(Brightness(t, set + 8 + b), Brightness(t, set + b) * 8 / 10) << set + b;
    }
}

TEST(ArtFiles, WaterCellsFillTheirLevelFromTheBottom) {
  DecodedBitmap w = Picture("tall_water.bmp");
  for (int level = 1; level <= 16; ++level) {
    int still = level - 1;
    EXPECT_EQ(InkInCell(w, 16, 16, still, 16 - level, 15), 16 * level) << "still " << level;
    if (level < 16) {
      EXPECT_EQ(InkInCell(w, 16, 16, still, 0, 15 - level), 0) << "still " << level;
    }
    for (int phase = 0; phase < 4; ++phase) {
      int n = 16 + 16 * phase + level - 1;
      // The surface line may ripple one pixel above or below the level.
      if (level > 1) {
        EXPECT_EQ(InkInCell(w, 16, 16, n, 17 - level, 15), 16 * (level - 1)) << n;
      }
      if (level < 15) {
        EXPECT_EQ(InkInCell(w, 16, 16, n, 0, 14 - level), 0) << n;
      }
      EXPECT_GT(InkInCell(w, 16, 16, n), 0) << n;
    }
  }
  // The ripple moves: the four phases of one level are not all alike.
  std::set<std::vector<bool>> rows;
  for (int phase = 0; phase < 4; ++phase) {
    std::vector<bool> r;
    int n = 16 + 16 * phase + 7, ox = (n % (w.width / 16)) * 16, oy = (n / (w.width / 16)) * 16;
    for (int x = 0; x < 16; ++x)
      r.push_back(Clear(w, ox + x, oy + 8));
    rows.insert(r);
  }
  EXPECT_GT(rows.size(), 1u);
}

TEST(ArtFiles, ActorFramesStandOnRowTwentyOneAndLeaveTheLastTwoRowsEmpty) {
  DecodedBitmap a = Picture("ActorGfxKelpo.bmp");
  std::set<int> shown;
  for (int f = 0; f < 28; ++f)
    shown.insert(f);
  for (int f = 30; f < 38; ++f)
    shown.insert(f);
  for (int f = 0; f < 48; ++f) {
    EXPECT_EQ(InkInCell(a, 16, 24, f, 22, 23), 0) << "frame " << f;
    if (shown.count(f)) {
      EXPECT_GT(InkInCell(a, 16, 24, f), 80) << "frame " << f;
      // Nothing far above the head: the body is 16 pixels, the art (sprout, outline) at most 20.
      EXPECT_EQ(InkInCell(a, 16, 24, f, 0, 1), 0) << "frame " << f;
    }
  }
  // Grounded poses (running to ducking, landing) put their feet on the feet row.
  for (int f : {0, 2, 4, 6, 8, 9, 10, 12, 14, 18, 20, 22, 36, 37})
    EXPECT_GT(InkInCell(a, 16, 24, f, 21, 21), 0) << "frame " << f;
  // Ducked frames are clearly lower: the ducked body is 13 pixels, 3 less than standing.
  for (int f = 18; f < 24; ++f)
    EXPECT_EQ(InkInCell(a, 16, 24, f, 0, 5), 0) << "frame " << f;
}

TEST(ArtFiles, InstructionPanelFitsTheViewAndLeavesTheTimingBandClear) {
  DecodedBitmap p = Picture("instr.bmp");
  EXPECT_LE(20 + p.width, 400);
  EXPECT_LE(p.height, 60);
  ASSERT_GE(p.width, 371);
  // The frame timings are printed at window x 100..390, y 24..40: panel x 80..370, y 4..20.
  uint32_t band = p.argb[size_t(4) * p.width + 80];
  for (int y = 4; y <= 20; ++y)
    for (int x = 80; x <= 370; ++x)
      ASSERT_EQ(p.argb[size_t(y) * p.width + x], band) << x << "," << y;
  // Dark enough that the bright read-out stays legible.
  EXPECT_LT(((band >> 16) & 255) + ((band >> 8) & 255) + (band & 255), 120u);
}

class DefaultLevel : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    Blocks = Bytes(ArtDir() + "/BlockMap75x54.raw");
    Backgrounds = Bytes(ArtDir() + "/BGMap75x54.raw");
    ASSERT_EQ(Blocks.size(), 4050u);
    ASSERT_EQ(Backgrounds.size(), 4050u);
  }
  int Block(int x, int y) const { return Blocks[size_t(y) * 75 + x]; }
  std::vector<unsigned char> Blocks, Backgrounds;
};

TEST_F(DefaultLevel, BorderRingIsClosedWithTheWallStyle) {
  for (int x = 0; x < 75; ++x) {
    EXPECT_EQ(Block(x, 0), 23) << x;
    EXPECT_EQ(Block(x, 53), 23) << x;
  }
  for (int y = 0; y < 54; ++y) {
    EXPECT_EQ(Block(0, y), 23) << y;
    EXPECT_EQ(Block(74, y), 23) << y;
  }
}

TEST_F(DefaultLevel, StartPlacesAreOpenAndStandOnGround) {
  // The player at pixel (96, 528) and the first bad guy at (96, 160): a 6-pixel body around
  // x 96 covers columns 5 and 6, 16 pixels tall above the feet line.
  for (int x : {5, 6}) {
    EXPECT_EQ(Block(x, 32), 255) << x;
    EXPECT_EQ(Block(x, 9), 255) << x;
  }
  EXPECT_NE(Block(6, 33), 255);
  EXPECT_NE(Block(6, 10), 255);
}

TEST_F(DefaultLevel, HoldsOnlyDrawnStylesAndShowsOffEveryKind) {
  DecodedBitmap t = Picture("AllTiles8.bmp");
  std::set<int> used;
  for (unsigned char s : Blocks) {
    if (s == 255) continue;
    used.insert(s);
    EXPECT_GT(InkInCell(t, 16, 16, s), 0) << "block style " << int(s);
  }
  for (int kind : {18, 21, 50, 53, 0, 44, 32}) {
    bool any = false;
    for (int s : used)
      any = any || (s >= kind && s < kind + (kind == 21 || kind == 53 ? 1 : 3));
    EXPECT_TRUE(any) << "no block of family " << kind;
  }
  bool shadedWall = false;
  for (size_t i = 0; i < Backgrounds.size(); ++i) {
    int b = Backgrounds[i];
    if (b == 255) continue;
    EXPECT_GT(InkInCell(t, 16, 16, 256 + b), 0) << "sky background " << b;
    EXPECT_GT(InkInCell(t, 16, 16, 512 + b), 0) << "dark background " << b;
    // A wall right under a block is drawn shaded by the game.
    if (b < 8 && i >= 75 && Blocks[i - 75] != 255) shadedWall = true;
  }
  EXPECT_TRUE(shadedWall);
}

TEST_F(DefaultLevel, ReferenceImageEncodesEachCellsStyle) {
  DecodedBitmap ref = Picture("BlockMapImage.bmp");
  ASSERT_EQ(ref.argb.size(), 4050u);
  for (size_t i = 0; i < Blocks.size(); ++i) {
    uint32_t c = ref.argb[i];
    int style = ((c >> 16) & 255) / 32 + (((c >> 8) & 255) / 32) * 8 + ((c & 255) / 32) * 64;
    ASSERT_EQ(style, Blocks[i]) << "cell " << i;
  }
}

TEST_F(DefaultLevel, LoadsIntoTheGameWithEveryBlock) {
  ScopedWorkDir dir;
  fs::copy_file(ArtDir() + "/BGMap75x54.raw", dir.Path() + "/BGMap75x54.raw");
  fs::copy_file(ArtDir() + "/BlockMap75x54.raw", dir.Path() + "/BlockMap75x54.raw");
  BootSubsystems();
  TMap::FClear();
  TMap::FLoadState();
  ASSERT_TRUE(ConsoleHas("Loading maps."));
  int blocks = 0;
  for (unsigned char s : Blocks)
    blocks += s != 255;
  EXPECT_TRUE(ConsoleHas("Created " + std::to_string(blocks) + " block instances."));
  for (const std::string& line : Console()) {
    EXPECT_EQ(line.find("Failure"), std::string::npos) << line;
    EXPECT_EQ(line.find("Wrong size"), std::string::npos) << line;
  }
}

}  // namespace
