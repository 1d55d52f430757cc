// What a save meets on disk: things sitting at the names it writes under, read-only and linked
// map files, permission bits; and the backups the first save of a run makes.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "platform/atomic_files.h"
#include "world/map_files.h"
#include "world_fixture.h"

namespace {

namespace fs = std::filesystem;

class SavePaths : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    WriteFileBytes(kBG, OldBG);
    WriteFileBytes(kBlocks, OldBlocks);
    WriteFileBytes(Outside, Bytes(10, 1));
    TMap::FBGSet(3, 4, 7);
    TMap::FCreateBlock(10, 20, 18);
  }
  std::string FreshName(const char* file, const char* tag, int attempt) const {
    return std::string(file) + tag + std::to_string(getpid()) + "-" + std::to_string(attempt);
  }
  bool Saved() const { return ReadFileBytes(kBG)[4 * 75 + 3] == 7; }
  void ExpectFailedAndUntouched() {
    EXPECT_EQ(Console().back(), "Failure to create save file.");
    EXPECT_EQ(ReadFileBytes(kBG), OldBG);
    EXPECT_EQ(ReadFileBytes(kBlocks), OldBlocks);
    EXPECT_EQ(ReadFileBytes(Outside), Bytes(10, 1));
  }
  static std::set<std::string> Backups() {
    std::set<std::string> names;
    if (!fs::is_directory("backups")) return names;
    for (const auto& entry : fs::directory_iterator("backups"))
      names.insert(entry.path().filename().string());
    return names;
  }
  ScopedWorkDir Dir;
  const Bytes OldBG = Bytes(4050, 9);
  const Bytes OldBlocks = Bytes(4050, 23);
  const std::string Outside = "outside.raw";
};

TEST_F(SavePaths, ThingsAtTheFreshNamesAreSteppedAroundNeverWrittenThrough) {
  fs::create_symlink(Outside, FreshName(kBG, ".saving-", 0));
  mkfifo(FreshName(kBG, ".saving-", 1).c_str(), 0644);
  fs::create_directory(FreshName(kBlocks, ".saving-", 0));
  fs::create_hard_link(Outside, FreshName(kBlocks, ".saving-", 1));
  fs::create_symlink(Outside, FreshName(kBG, ".previous-", 0));
  TMap::FSaveState();
  EXPECT_EQ(Console(), (std::vector<std::string>{"Saving maps."}));
  EXPECT_TRUE(Saved());
  EXPECT_EQ(ReadFileBytes(Outside), Bytes(10, 1));
  EXPECT_TRUE(fs::is_symlink(FreshName(kBG, ".saving-", 0)));
  EXPECT_TRUE(fs::is_fifo(FreshName(kBG, ".saving-", 1)));
  EXPECT_TRUE(fs::is_directory(FreshName(kBlocks, ".saving-", 0)));
  EXPECT_EQ(fs::hard_link_count(Outside), 2u);
}

TEST_F(SavePaths, SomethingAtTheJournalOrBackupNameMakesTheSaveFailCleanly) {
  fs::create_symlink(Outside, "ravelon-save.journal");
  TMap::FSaveState();
  ExpectFailedAndUntouched();
  fs::remove("ravelon-save.journal");
  fs::remove_all("backups");
  fs::create_directory("elsewhere");
  fs::create_directory_symlink("elsewhere", "backups");
  ResetMapBackups();
  TMap::FSaveState();
  ExpectFailedAndUntouched();
  EXPECT_TRUE(fs::is_empty("elsewhere"));
  fs::remove("backups");
  WriteFileBytes("backups", Bytes(3, 3));  // a file where the folder should be
  TMap::FSaveState();
  ExpectFailedAndUntouched();
  EXPECT_EQ(ReadFileBytes("backups"), Bytes(3, 3));
}

TEST_F(SavePaths, AReadOnlyMapFileIsNotReplaced) {
  for (const char* file : {kBG, kBlocks}) {
    SCOPED_TRACE(file);
    chmod(file, 0444);
    ClearConsole();
    TMap::FSaveState();
    ExpectFailedAndUntouched();
    chmod(file, 0644);
  }
}

TEST_F(SavePaths, ASavedFileKeepsThePermissionBitsOfTheOneItReplaces) {
  chmod(kBG, 0600);
  chmod(kBlocks, 0664);
  TMap::FSaveState();
  ASSERT_TRUE(Saved());
  EXPECT_EQ(fs::status(kBG).permissions(), fs::perms(0600));
  EXPECT_EQ(fs::status(kBlocks).permissions(), fs::perms(0664));
}

TEST_F(SavePaths, AMapFileThatIsASymlinkIsSavedThroughToItsTarget) {
  fs::create_directory("levels");
  fs::rename(kBG, "levels/bg.raw");
  fs::create_symlink("levels/bg.raw", kBG);
  TMap::FSaveState();
  EXPECT_EQ(Console(), (std::vector<std::string>{"Saving maps."}));
  EXPECT_TRUE(fs::is_symlink(kBG));
  EXPECT_EQ(ReadFileBytes("levels/bg.raw")[4 * 75 + 3], 7);
  EXPECT_EQ(fs::directory_iterator("levels")->path().filename(), "bg.raw");  // nothing beside
}

TEST_F(SavePaths, TheFirstSaveOfARunBacksUpThePairFromBeforeIt) {
  TMap::FSaveState();
  TMap::FBGSet(5, 5, 1);
  TMap::FSaveState();
  const std::set<std::string> names = Backups();
  ASSERT_EQ(names.size(), 2u);
  const std::string stamp = names.begin()->substr(0, names.begin()->find('.'));
  EXPECT_EQ(ReadFileBytes("backups/" + stamp + "." + kBG), OldBG);
  EXPECT_EQ(ReadFileBytes("backups/" + stamp + "." + kBlocks), OldBlocks);
  // A new run backs up again, under another stamp if the second is the same.
  ResetMapBackups();
  TMap::FSaveState();
  EXPECT_EQ(Backups().size(), 4u);
}

TEST_F(SavePaths, OnlyTheNewestTwentyBackupPairsAreKept) {
  fs::create_directory("backups");
  for (int i = 10; i < 35; ++i) {
    WriteFileBytes("backups/20200101-0000" + std::to_string(i) + "." + kBG, Bytes(1));
    WriteFileBytes("backups/20200101-0000" + std::to_string(i) + "." + kBlocks, Bytes(1));
  }
  WriteFileBytes("backups/notes.txt", Bytes(1));
  TMap::FSaveState();
  const std::set<std::string> names = Backups();
  EXPECT_EQ(names.size(), 41u);  // 20 pairs and the notes
  EXPECT_TRUE(names.count("notes.txt"));
  EXPECT_FALSE(names.count(std::string("20200101-000015.") + kBG));
  EXPECT_TRUE(names.count(std::string("20200101-000016.") + kBG));
}

TEST_F(SavePaths, WithoutAnOldPairThereIsNothingToBackUp) {
  fs::remove(kBG);
  fs::remove(kBlocks);
  TMap::FSaveState();
  EXPECT_TRUE(Saved());
  EXPECT_TRUE(Backups().empty());
}

}  // namespace
