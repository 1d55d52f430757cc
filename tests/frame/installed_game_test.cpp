// The installed game's play folder: which folder it is, and laying it out without ever losing
// the player's saved map.
#include "frame/installed_game.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class InstalledGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Root = fs::temp_directory_path() / ("ravelon-installed-" + std::to_string(::getpid()));
    fs::remove_all(Root);
    fs::create_directories(Root / "share" / "ravelon");
    fs::create_directories(Root / "bin");
    Write(Root / "share" / "ravelon" / "AllTiles8.bmp", "art");
    Write(Root / "share" / "ravelon" / "BGMap75x54.raw", "default backgrounds");
    Write(Root / "share" / "ravelon" / "BlockMap75x54.raw", "default blocks");
  }
  void TearDown() override { fs::remove_all(Root); }
  fs::path Root;
};

}  // namespace

TEST(UserPlayFolderTest, XdgDataHomeThenHomeAndOnlyAbsolutePaths) {
  EXPECT_EQ(UserPlayFolder("/x/data", "/home/p"), "/x/data/ravelon");
  EXPECT_EQ(UserPlayFolder(nullptr, "/home/p"), "/home/p/.local/share/ravelon");
  // A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
  EXPECT_EQ(UserPlayFolder("data", "/home/p"), "/home/p/.local/share/ravelon");
  EXPECT_EQ(UserPlayFolder(nullptr, nullptr), "");
  EXPECT_EQ(UserPlayFolder("", "relative"), "");
}

TEST_F(InstalledGameTest, FoundBesideTheExecutableOnlyWhereTheArtIs) {
  EXPECT_EQ(fs::path(InstalledDataFolder((Root / "bin" / "ravelon").string())),
            fs::canonical(Root / "share" / "ravelon"));
  fs::remove(Root / "share" / "ravelon" / "AllTiles8.bmp");
  EXPECT_EQ(InstalledDataFolder((Root / "bin" / "ravelon").string()), "");
  EXPECT_EQ(InstalledDataFolder(""), "");
}

TEST_F(InstalledGameTest, LayingOutCopiesTheArtAndKeepsASavedMap) {
  const fs::path play = Root / "data" / "ravelon";
  std::string why;
  ASSERT_TRUE(LayOutPlayFolder((Root / "share" / "ravelon").string(), play.string(), why)) << why;
  EXPECT_EQ(Read(play / "AllTiles8.bmp"), "art");
  EXPECT_EQ(Read(play / "BlockMap75x54.raw"), "default blocks");
  // The player saves; an update brings new art: the art follows, the map stays.
  Write(play / "BlockMap75x54.raw", "my level");
  Write(Root / "share" / "ravelon" / "AllTiles8.bmp", "new art");
  ASSERT_TRUE(LayOutPlayFolder((Root / "share" / "ravelon").string(), play.string(), why)) << why;
  EXPECT_EQ(Read(play / "AllTiles8.bmp"), "new art");
  EXPECT_EQ(Read(play / "BlockMap75x54.raw"), "my level");
  EXPECT_EQ(Read(play / "BGMap75x54.raw"), "default backgrounds");
}

TEST_F(InstalledGameTest, AFolderThatCannotBeMadeIsSaidAndNothingIsWritten) {
  Write(Root / "a-file", "");
  std::string why;
  EXPECT_FALSE(LayOutPlayFolder((Root / "share" / "ravelon").string(),
                                (Root / "a-file" / "ravelon").string(), why));
  EXPECT_NE(why.find("cannot be made"), std::string::npos) << why;
  EXPECT_EQ(Read(Root / "a-file"), "");
}
