// A level file in a run: --level starts the game on its grids, water and starts, the map files
// left as they are; --save-level writes the map back as the same level; a refused level file
// plays the map files exactly as a run without it.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim_process.h"
#include "support/test_env.h"
#include "world/level_file.h"

namespace {

namespace fs = std::filesystem;

std::string LinesStarting(const std::string& text, const std::string& start) {
  std::string out;
  for (const std::string& line : SplitLines(text))
    if (line.rfind(start, 0) == 0) out += line + "\n";
  return out;
}

class LevelRun : public ::testing::Test {
 protected:
  void SetUp() override { CopyArtTo(Dir.Path()); }
  std::string Path(const std::string& name) const { return (fs::path(Dir.Path()) / name).string(); }
  SimResult Run(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--dir", Dir.Path()});
    return RunSimBinary(args, Dir.Path());
  }
  // The default level as the map files hold it, with water and starts of its own.
  TLevel WetLevel() const {
    TLevel level;
    level.Name = "wet one";
    level.Music = "caves";
    const auto bg = ReadFileBytes(Path("BGMap75x54.raw"));
    const auto blocks = ReadFileBytes(Path("BlockMap75x54.raw"));
    level.Backgrounds.assign(bg.begin(), bg.end());
    level.Blocks.assign(blocks.begin(), blocks.end());
    for (int x = 20; x < 30; ++x)
      if (level.Blocks[20 * 75 + x] == kNoStyle) level.Water[20 * 75 + x] = 12;
    level.Starts.Player = {300 * PIXEL_UNITS, 200 * PIXEL_UNITS};
    level.Starts.Badguys = {{100 * PIXEL_UNITS, 150 * PIXEL_UNITS},
                            {500 * PIXEL_UNITS, 150 * PIXEL_UNITS},
                            {700 * PIXEL_UNITS + 5, 150 * PIXEL_UNITS}};
    return level;
  }
  ScopedWorkDir Dir;
};

TEST_F(LevelRun, StartsOnTheLevelAndSavesItBackTheSame) {
  const TLevel level = WetLevel();
  WriteText(Path("wet.tmx"), LevelTmxText(level));
  const auto pair_before = ReadFileBytes(Path("BlockMap75x54.raw"));
  const SimResult raw = Run({"--frames", "1", "--trace", Path("raw.trace")});
  ASSERT_EQ(raw.status, 0) << raw.err;

  const SimResult run = Run({"--level", "wet.tmx", "--frames", "1", "--trace", Path("wet.trace"),
                             "--save-level", "saved.tmx"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Loading level " + Path("wet.tmx") + "."), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("refused"), std::string::npos) << run.out;
  const std::string trace = ReadText(Path("wet.trace"));
  // The player where its object is, the three bad guys in their order at theirs (the last
  // already walking left).
  const auto actors = SplitLines(LinesStarting(trace, "actor "));
  ASSERT_EQ(actors.size(), 4u) << trace;
  EXPECT_EQ(actors[0].rfind("actor 0 19660800 ", 0), 0u) << actors[0];
  EXPECT_EQ(actors[1].rfind("actor 1 6553600 ", 0), 0u) << actors[1];
  EXPECT_EQ(actors[3].rfind("actor 3 45873225 ", 0), 0u) << actors[3];  // walked 1980 units
  // The same blocks and backgrounds as the pair, and water besides.
  const auto wet_grid = SplitLines(LinesStarting(trace, "grid "))[0];
  const auto raw_grid = SplitLines(LinesStarting(ReadText(Path("raw.trace")), "grid "))[0];
  EXPECT_NE(wet_grid.substr(0, 39), raw_grid.substr(0, 39));  // solid and fill: the water
  EXPECT_EQ(wet_grid.substr(39), raw_grid.substr(39));        // blocks and backgrounds
  EXPECT_EQ(ReadFileBytes(Path("BlockMap75x54.raw")), pair_before);
  // The start-up map, saved before any water has moved, is the level it came from.
  ASSERT_EQ(Run({"--level", "wet.tmx", "--frames", "0", "--save-level", "saved.tmx"}).status, 0);
  TLevel saved;
  std::string why;
  std::vector<std::string> notes;
  ASSERT_TRUE(ReadLevelFile(Path("saved.tmx"), saved, why, notes)) << why;
  EXPECT_EQ(saved, level);
}

TEST_F(LevelRun, ARefusedLevelPlaysTheMapFilesAsWithout) {
  const SimResult raw = Run({"--frames", "20", "--trace", Path("raw.trace")});
  WriteText(Path("broken.tmx"),
            "<map orientation=\"orthogonal\" width=\"75\" height=\"54\" "
            "tilewidth=\"16\" tileheight=\"16\"><objectgroup name=\"objects\">"
            "<object type=\"player\" x=\"5000\" y=\"1\"/></objectgroup></map>");
  const SimResult run =
      Run({"--level", "broken.tmx", "--frames", "20", "--trace", Path("broken.trace")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(
      run.out.find("Level " + Path("broken.tmx") +
                   " refused: an object lies outside the map.\r\nPlaying the map files instead."),
      std::string::npos)
      << run.out;
  EXPECT_EQ(ReadText(Path("broken.trace")), ReadText(Path("raw.trace")));
  // A missing level file too; and --save-level into a folder that is not there fails loudly.
  const SimResult missing =
      Run({"--level", "gone.tmx", "--frames", "0", "--save-level", Path("no/such/folder/x.tmx")});
  EXPECT_NE(missing.out.find("refused: there is no such file."), std::string::npos) << missing.out;
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot write the level"), std::string::npos) << missing.err;
}

// Ctrl held around one press of S, within frame F.
std::string CtrlS(int frame) {
  const std::string f = std::to_string(frame), next = std::to_string(frame + 1);
  return f + " key 17 down\n" + f + " key 83 down\n" + next + " key 83 up\n" + next +
         " key 17 up\n";
}

std::string PressS(int frame) {
  return std::to_string(frame) + " key 83 down\n" + std::to_string(frame + 1) + " key 83 up\n";
}

std::string PressEnter(int frame) {
  return std::to_string(frame) + " key 13 down\n" + std::to_string(frame + 1) + " key 13 up\n";
}

TEST_F(LevelRun, SSavesTheLevelWhereItCameFromAndCtrlSMakesANewOne) {
  const TLevel level = WetLevel();
  const std::string text = LevelTmxText(level);
  WriteText(Path("wet.tmx"), text);
  const auto pair_before = ReadFileBytes(Path("BlockMap75x54.raw"));
  WriteText(Path("s.txt"), PressS(2));
  const SimResult run = Run({"--level", "wet.tmx", "--script", Path("s.txt"), "--frames", "4"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Saving level " + Path("wet.tmx") + ".\r\n"), std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("Saving maps."), std::string::npos);
  EXPECT_EQ(ReadFileBytes(Path("BlockMap75x54.raw")), pair_before);
  TLevel saved;
  std::string why;
  std::vector<std::string> notes;
  ASSERT_TRUE(ReadLevelFile(Path("wet.tmx"), saved, why, notes)) << why;
  EXPECT_EQ(saved.Blocks, level.Blocks);
  EXPECT_EQ(saved.Starts, level.Starts);
  EXPECT_EQ(saved.Name, level.Name);
  EXPECT_EQ(saved.Music, level.Music);
  EXPECT_NE(saved.Water, std::vector<uint8_t>(kMapFileBytes, 0));
  // The file as it was before the run's first save, in backups/ under its own name.
  std::vector<std::string> backups;
  for (const auto& entry : fs::directory_iterator(Path("backups")))
    backups.push_back(entry.path().filename().string());
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].substr(backups[0].size() - 8), ".wet.tmx");
  EXPECT_EQ(ReadText(Path("backups/" + backups[0])), text);

  // On the map files, Ctrl+S and Enter (the name offered) make levels/level-1, then level-2;
  // S then saves level-2 again.
  WriteText(Path("keys.txt"), CtrlS(2) + PressEnter(4) + CtrlS(7) + PressEnter(9) + PressS(12));
  const SimResult pair = Run({"--script", Path("keys.txt"), "--frames", "14"});
  ASSERT_EQ(pair.status, 0) << pair.err;
  EXPECT_EQ(ReadFileBytes(Path("BlockMap75x54.raw")), pair_before);
  EXPECT_EQ(pair.out.find("Saving maps."), std::string::npos);
  const std::string second = "Saving level levels/level-2.tmx.\r\n";
  const size_t at = pair.out.find(second);
  ASSERT_NE(at, std::string::npos) << pair.out;
  EXPECT_NE(pair.out.find(second, at + 1), std::string::npos) << pair.out;
  TLevel made;
  ASSERT_TRUE(ReadLevelFile(Path("levels/level-1.tmx"), made, why, notes)) << why;
  EXPECT_EQ(made.Name, "level-1");
  EXPECT_EQ(made.Blocks, std::vector<uint8_t>(pair_before.begin(), pair_before.end()));

  // A levels that is a file is refused, and kept.
  fs::remove_all(Path("levels"));
  WriteText(Path("levels"), "mine");
  WriteText(Path("keys.txt"), CtrlS(2) + PressEnter(4));
  const SimResult refused = Run({"--script", Path("keys.txt"), "--frames", "6"});
  EXPECT_NE(refused.err.find("No new level file: levels is a file, not a folder."),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(ReadText(Path("levels")), "mine");
}

TEST_F(LevelRun, LeavingWithUnsavedEditsKeepsTheLevelInRecovery) {
  const TLevel level = WetLevel();
  WriteText(Path("wet.tmx"), LevelTmxText(level));
  WriteText(Path("quit.txt"), "1 mouse 100 100\n2 key 70 down\n3 key 70 up\n5 key 27 down\n");
  const SimResult run = Run({"--level", "wet.tmx", "--script", Path("quit.txt"), "--frames", "9"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("Unsaved map edits kept in recovery/"), std::string::npos) << run.err;
  std::string kept;
  for (const auto& entry : fs::directory_iterator(Path("recovery")))
    if (entry.path().extension() == ".tmx") kept = entry.path().string();
  TLevel recovered;
  std::string why;
  std::vector<std::string> notes;
  ASSERT_TRUE(ReadLevelFile(kept, recovered, why, notes)) << why;
  EXPECT_EQ(recovered.Starts, level.Starts);
  EXPECT_EQ(recovered.Name, level.Name);
  EXPECT_NE(recovered.Water, level.Water);  // the water poured, not the file's
  EXPECT_EQ(ReadText(Path("wet.tmx")), LevelTmxText(level));
}

TEST(DefaultLevelFile, IsTheMapFilesWithTheBuiltInStarts) {
  TLevel level;
  std::string why;
  std::vector<std::string> notes;
  const std::string art = RAVELON_ART_DIR;
  ASSERT_TRUE(ReadLevelFile(art + "/default.tmx", level, why, notes)) << why;
  const auto bg = ReadFileBytes(art + "/BGMap75x54.raw");
  const auto blocks = ReadFileBytes(art + "/BlockMap75x54.raw");
  EXPECT_EQ(level.Backgrounds, std::vector<uint8_t>(bg.begin(), bg.end()));
  EXPECT_EQ(level.Blocks, std::vector<uint8_t>(blocks.begin(), blocks.end()));
  EXPECT_EQ(level.Starts, DefaultLevelStarts());
  EXPECT_EQ(level.Name, "default");
  // Laid out in levels/, the sheets it names lie one folder up.
  EXPECT_NE(ReadText(art + "/default.tmx").find("<image source=\"../AllTiles8.bmp\""),
            std::string::npos);
}

}  // namespace

// Build mode on a level file: whatever play did to it, S writes the level as built, with its
// water and its starts, to the file it came from.
TEST_F(LevelRun, AfterBuildModeSWritesTheLevelAsBuiltToItsFile) {
  const TLevel level = WetLevel();
  WriteText(Path("wet.tmx"), LevelTmxText(level));
  WriteText(Path("build.txt"),
            "1 key 13 down\n2 key 13 up\n4 key 13 down\n5 key 13 up\n"
            "600 key 83 down\n601 key 83 up\n");
  const SimResult run =
      Run({"--level", "wet.tmx", "--script", Path("build.txt"), "--frames", "610"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Saving level " + Path("wet.tmx") + "."), std::string::npos) << run.out;
  TLevel saved;
  std::string why;
  std::vector<std::string> notes;
  ASSERT_TRUE(ReadLevelFile(Path("wet.tmx"), saved, why, notes)) << why;
  EXPECT_EQ(saved.Blocks, level.Blocks);
  EXPECT_EQ(saved.Backgrounds, level.Backgrounds);
  EXPECT_EQ(saved.Starts, level.Starts);
  EXPECT_EQ(saved.Name, level.Name);
  EXPECT_EQ(saved.Music, level.Music);
  for (size_t cell = 0; cell < level.Water.size(); ++cell)
    EXPECT_EQ(saved.Water[cell] != 0, level.Water[cell] != 0) << "cell " << cell;
}
