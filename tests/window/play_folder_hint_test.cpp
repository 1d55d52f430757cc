// The hint for a game started in the wrong folder: which files it names, and when it stays
// quiet.
#include <gtest/gtest.h>

#include <filesystem>

#include "frame/play_folder_hint.h"
#include "support/test_env.h"

namespace {

class PlayFolderHintTest : public GameTest {};

const std::vector<std::string> kPlayFiles = {"AllTiles8.bmp",     "tall_water.bmp",
                                             "ActorGfxKelpo.bmp", "instr.bmp",
                                             "BGMap75x54.raw",    "BlockMap75x54.raw"};

void CopyPlayFiles() {
  for (const std::string& file : kPlayFiles)
    std::filesystem::copy_file(std::string(RAVELON_ART_DIR) + "/" + file, file);
}

}  // namespace

TEST_F(PlayFolderHintTest, AnEmptyFolderMissesEveryFileAndTheConsoleStaysQuiet) {
  ScopedWorkDir dir;
  EXPECT_EQ(UnreadablePlayFiles(), kPlayFiles);
  EXPECT_TRUE(Console().empty()) << "the check must not print the game's console lines";
}

TEST_F(PlayFolderHintTest, ThePlayFolderNeedsNoHint) {
  ScopedWorkDir dir;
  CopyPlayFiles();
  EXPECT_TRUE(UnreadablePlayFiles().empty());
}

TEST_F(PlayFolderHintTest, BrokenFilesAreNamedLikeMissingOnes) {
  ScopedWorkDir dir;
  CopyPlayFiles();
  WriteFileBytes("BlockMap75x54.raw", std::vector<unsigned char>(4049, 1));  // one byte short
  WriteFileBytes("tall_water.bmp", {'B', 'M', 0, 0});
  EXPECT_EQ(UnreadablePlayFiles(),
            (std::vector<std::string>{"tall_water.bmp", "BlockMap75x54.raw"}));
}

TEST_F(PlayFolderHintTest, TheHintNamesFolderFilesAndTheCommand) {
  const std::string hint = PlayFolderHint("/home/me", {"AllTiles8.bmp", "BGMap75x54.raw"});
  EXPECT_NE(hint.find("/home/me"), std::string::npos);
  EXPECT_NE(hint.find("AllTiles8.bmp, BGMap75x54.raw"), std::string::npos);
  EXPECT_NE(hint.find("bash scripts/play.sh"), std::string::npos);
  EXPECT_EQ(hint.find('\n'), std::string::npos);
}

TEST_F(PlayFolderHintTest, MissingArtIsToldWithWhereTheGameLookedAndTheCommandForItsPlayFolder) {
  ScopedWorkDir dir;
  const std::vector<std::string> art =
      ArtFilesAmong({"AllTiles8.bmp", "BGMap75x54.raw", "instr.bmp", "BlockMap75x54.raw"});
  EXPECT_EQ(art, (std::vector<std::string>{"AllTiles8.bmp", "instr.bmp"}));
  EXPECT_TRUE(ArtFilesAmong({"BGMap75x54.raw", "BlockMap75x54.raw"}).empty());
  // A play folder beside the program's build folder, as scripts/play.sh lays them out.
  std::filesystem::create_directories("checkout/build");
  std::filesystem::create_directories("checkout/play");
  const std::string program = (std::filesystem::current_path() / "checkout/build/ravelon").string();
  const std::string note = MissingArtNote("/home/me/elsewhere", art, program);
  EXPECT_NE(note.find("/home/me/elsewhere"), std::string::npos);
  EXPECT_NE(note.find("AllTiles8.bmp, instr.bmp"), std::string::npos);
  const std::string play = (std::filesystem::current_path() / "checkout/play").string();
  EXPECT_NE(note.find("cd " + play + " && " + program), std::string::npos) << note;
  // Without one, the command that makes it.
  const std::string bare = MissingArtNote("/x", art, "/nowhere/bin/ravelon");
  EXPECT_NE(bare.find("bash scripts/play.sh"), std::string::npos);
}
