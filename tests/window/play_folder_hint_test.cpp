// The hint for a game started in the wrong folder: which files it names, and when it stays
// quiet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "frame/play_folder_hint.h"
#include "shared/play_files.h"
#include "support/test_env.h"

namespace {

class PlayFolderHintTest : public GameTest {};

// The files the hint checks: the pictures, then the map pair, as start-up reads them.
const std::vector<std::string> kPlayFiles = [] {
  std::vector<std::string> files(std::begin(kArtPictureFiles), std::end(kArtPictureFiles));
  files.insert(files.end(), std::begin(kLevelFiles), std::end(kLevelFiles));
  return files;
}();

// What a shell command prints; empty when it fails.
std::string OutputOf(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[256];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    out.append(buffer, n);
  return pclose(pipe) == 0 ? out : "";
}

const std::string kLayoutScript = std::string(RAVELON_SOURCE_DIR) + "/scripts/play-folder.sh";

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

// scripts/play.sh lays out play/ from the list the web page lays out its folder from.
TEST_F(PlayFolderHintTest, TheScriptsLayOutTheFolderThePlayFilesListNames) {
  std::string expected;
  for (const char* name : kEveryRunFiles)
    expected += std::string("every run ") + name + "\n";
  for (const char* name : kLevelFiles)
    expected += std::string("when missing ") + name + "\n";
  EXPECT_EQ(OutputOf("bash " + kLayoutScript), expected);

  ScopedWorkDir dir;
  const std::string lay_out =
      "bash -c 'source " + kLayoutScript + " && lay_out_play_folder " + RAVELON_ART_DIR + " play'";
  ASSERT_EQ(std::system(lay_out.c_str()), 0);
  WriteFileBytes("play/" + std::string(kBGMapFile), std::vector<unsigned char>(4050, 7));
  ASSERT_EQ(std::system(lay_out.c_str()), 0);  // again: a kept map stays as it is
  std::vector<std::string> laid_out;
  size_t recipes = 0;
  for (const auto& entry : std::filesystem::directory_iterator("play")) {
    if (entry.path().extension() == kSoundRecipeExtension ||
        entry.path().extension() == kMusicScoreExtension)
      ++recipes;
    else
      laid_out.push_back(entry.path().filename().string());
  }
  std::sort(laid_out.begin(), laid_out.end());
  std::vector<std::string> listed(std::begin(kEveryRunFiles), std::end(kEveryRunFiles));
  listed.insert(listed.end(), std::begin(kLevelFiles), std::end(kLevelFiles));
  listed.push_back(kLevelsFolderName);  // with the default level as a level file
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(laid_out, listed);
  EXPECT_TRUE(std::filesystem::is_regular_file("play/" + std::string(kDefaultLevelFile)));
  EXPECT_GT(recipes, 0u);
  EXPECT_EQ(ReadFileBytes("play/" + std::string(kBGMapFile)), std::vector<unsigned char>(4050, 7));
  std::filesystem::current_path("play");
  EXPECT_TRUE(UnreadablePlayFiles().empty());
  std::filesystem::current_path("..");
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
