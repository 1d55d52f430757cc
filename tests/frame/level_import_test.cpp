// A level file from outside the play folder, as the web page's Open button hands one over: kept
// in levels/ under a free name and opened from there, so S saves it there; a refused file, or
// a levels/ that cannot keep it, leaves the level and the folder as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "frame/level_import.h"
#include "frame/main_program.h"
#include "support/test_env.h"
#include "world/current_level.h"
#include "world/level_file.h"

namespace {

namespace fs = std::filesystem;

class LevelImportTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    Backend.OnEndOfPass = [](int) { return false; };
    RunRavelon(false);
    fs::create_directories("outside");
    Outside.Name = "mine";
    for (int x = 5; x < 40; ++x)
      Outside.Blocks[30 * MAP_WIDTH_TILES + x] = 17;
    Outside.Water[29 * MAP_WIDTH_TILES + 10] = 8;
    Write("outside/My Level.tmx", LevelTmxText(Outside));
  }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static TLevel Read(const std::string& path) {
    TLevel level;
    std::string why;
    std::vector<std::string> notes;
    EXPECT_TRUE(ReadLevelFile(path, level, why, notes)) << path << ": " << why;
    return level;
  }
  ScopedWorkDir Dir;
  TLevel Outside;
};

}  // namespace

TEST_F(LevelImportTest, KeptInLevelsUnderAFreeNameAndOpenedFromThere) {
  ASSERT_TRUE(OpenLevelFromOutside("outside/My Level.tmx", "My Level.tmx"));
  EXPECT_EQ(CurrentLevel.Path, "levels/My Level.tmx");
  EXPECT_EQ(CurrentLevel.Name, "mine");
  EXPECT_EQ(Read("levels/My Level.tmx"), Outside);
  EXPECT_EQ(LevelFromMap().Blocks, Outside.Blocks);
  EXPECT_EQ(LevelFromMap().Water, Outside.Water);
  // The same file again never replaces the first copy.
  ASSERT_TRUE(OpenLevelFromOutside("outside/My Level.tmx", "My Level.tmx"));
  EXPECT_EQ(CurrentLevel.Path, "levels/My Level-2.tmx");
  EXPECT_EQ(Read("levels/My Level.tmx"), Outside);
  // A file name no level may have is kept under a plain one.
  EXPECT_EQ(FreeLevelCopyPath("../evil.tmx"), "levels/level.tmx");
  EXPECT_EQ(FreeLevelCopyPath("a\x01.tmx"), "levels/level.tmx");
  EXPECT_EQ(FreeLevelCopyPath("My Level.tmx"), "levels/My Level-3.tmx");
}

TEST_F(LevelImportTest, ARefusedFileOrAnUnfitFolderLeavesEverythingAsItWas) {
  ASSERT_TRUE(OpenLevelFromOutside("outside/My Level.tmx", "first.tmx"));
  const TLevel on_screen = LevelFromMap();
  Write("outside/bad.tmx", "<map orientation=\"orthogonal\"/>");
  EXPECT_FALSE(OpenLevelFromOutside("outside/bad.tmx", "bad.tmx"));
  EXPECT_TRUE(ConsoleHas("Level outside/bad.tmx refused: it is not 75x54 tiles."));
  EXPECT_FALSE(fs::exists("levels/bad.tmx"));

  fs::remove_all("levels");
  Write("levels", "a file where the folder should be");
  EXPECT_FALSE(OpenLevelFromOutside("outside/My Level.tmx", "again.tmx"));
  EXPECT_TRUE(ConsoleHas("Level NOT opened: levels/ is not a folder."));
  EXPECT_EQ(CurrentLevel.Path, "levels/first.tmx");
  EXPECT_EQ(LevelFromMap(), on_screen);
  std::ifstream kept("levels");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}),
            "a file where the folder should be");
}
