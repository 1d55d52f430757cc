// What a save meets on disk: things sitting at the names it writes under, read-only and linked
// map files, permission bits; and the backups the saves make.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <set>

#include "frame/main_program.h"
#include "platform/save/atomic_files.h"
#include "shared/game_events.h"
#include "world/map_files.h"
#include "world/scroller.h"
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

// S, paint, S, R, S: every pair a save replaced is in backups/, each once, whatever the run.
TEST_F(SavePaths, EverySaveBacksUpWhatItReplacesUnlessAPairThereHoldsIt) {
  auto pairs = [] {
    std::set<std::pair<Bytes, Bytes>> kept;
    for (const std::string& name : Backups()) {
      if (!name.ends_with(kBG)) continue;
      const std::string stamp = "backups/" + name.substr(0, name.size() - std::strlen(kBG));
      kept.insert({ReadFileBytes(stamp + kBG), ReadFileBytes(stamp + kBlocks)});
    }
    return kept;
  };
  TMap::FSaveState();
  const std::pair<Bytes, Bytes> first{ReadFileBytes(kBG), ReadFileBytes(kBlocks)};
  TMap::FBGSet(5, 5, 1);
  TMap::FSaveState();
  const std::pair<Bytes, Bytes> second{ReadFileBytes(kBG), ReadFileBytes(kBlocks)};
  TScroller::FRefreshFromMap();
  TMap::FSaveState();
  EXPECT_EQ(pairs(), (std::set<std::pair<Bytes, Bytes>>{{OldBG, OldBlocks}, first, second}));
  EXPECT_EQ(Backups().size(), 6u);
  // Saving the same map again, in this run or a new one, adds nothing.
  TMap::FSaveState();
  ResetMapBackups();
  TMap::FSaveState();
  EXPECT_EQ(Backups().size(), 6u);
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

// Pairs made while the clock ran ahead, each later one under an earlier-reading stamp: pruning
// follows the order they were made in, and the pair S has just made stays.
TEST_F(SavePaths, PruningFollowsTheOrderPairsWereMadeInNotTheirStamps) {
  fs::create_directory("backups");
  const auto ahead = fs::file_time_type::clock::now() + std::chrono::hours(1);
  for (int i = 0; i < 20; ++i) {
    for (const char* file : {kBG, kBlocks}) {
      const std::string path = "backups/20990101-0000" + std::to_string(40 - i) + "." + file;
      WriteFileBytes(path, Bytes(1));
      fs::last_write_time(path, ahead + std::chrono::minutes(i));
    }
  }
  TMap::FSaveState();
  ASSERT_TRUE(Saved());
  const std::set<std::string> names = Backups();
  EXPECT_EQ(names.size(), 40u);
  EXPECT_FALSE(names.count(std::string("20990101-000040.") + kBG));  // the first made
  EXPECT_TRUE(names.count(std::string("20990101-000021.") + kBG));
  const std::string made = "backups/" + *names.begin();  // the only stamp before 2099
  ASSERT_EQ(made.find("backups/2099"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(made), made.ends_with(kBG) ? OldBG : OldBlocks);
  // Its time comes after every other pair's, so the next pruning still knows it is the newest.
  EXPECT_GT(fs::last_write_time(made), ahead + std::chrono::minutes(19));
}

// What a killed copy leaves (an empty side file, a whole one, one already placed under a stamp
// whose other file never came) goes at start-up; a half stamp nothing shows to be ours stays.
TEST_F(SavePaths, HalfPairsAndSideFilesAreRemovedAtStartUp) {
  const std::string gone = std::to_string(EndedProcess());
  for (const std::string folder : {"backups", "recovery"}) {
    fs::create_directory(folder);
    for (const char* file : {kBG, kBlocks})
      WriteFileBytes(folder + "/20200101-000000." + file, Bytes(4050, 5));
    WriteFileBytes(folder + "/20200101-000001." + kBlocks, Bytes(7, 5));
    WriteFileBytes(folder + "/" + kBG + ".writing-" + gone + "-0", Bytes());
    WriteFileBytes(folder + "/" + kBlocks + ".writing-" + gone + "-0", Bytes(4050, 6));
    WriteFileBytes(folder + "/" + kBG + ".writing-" + gone + "-1", Bytes(4050, 6));
    fs::create_hard_link(folder + "/" + kBG + ".writing-" + gone + "-1",
                         folder + "/20200101-000002." + kBG);
    WriteFileBytes(folder + "/notes.txt", Bytes(1));
  }
  FinishInterruptedMapSave();
  for (const std::string folder : {"backups", "recovery"}) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.insert(entry.path().filename().string());
    EXPECT_EQ(names,
              (std::set<std::string>{"20200101-000000." + std::string(kBG),
                                     "20200101-000000." + std::string(kBlocks),
                                     "20200101-000001." + std::string(kBlocks), "notes.txt"}))
        << folder;
  }
}

// A plain file someone put at any side name, or at the journal's, is theirs: a start-up and an S
// leave it as it is and say nothing was undone. The journal's name taken keeps saving off.
TEST_F(SavePaths, PlainFilesAtTheSideNamesAreNeverTidiedAway) {
  const std::string gone = std::to_string(EndedProcess());
  const Bytes notes{'m', 'y', ' ', 'n', 'o', 't', 'e', 's'};
  fs::create_directory("backups");
  fs::create_directory("recovery");
  const std::vector<std::string> planted = {
      std::string(kBG) + ".saving-" + gone + "-0",
      std::string(kBlocks) + ".previous-" + gone + "-0",
      std::string(kBG) + ".saving-1-0",  // a process still running, with a map's size
      "backups/" + std::string(kBG) + ".writing-" + gone + "-0",
      "recovery/" + std::string(kBlocks) + ".writing-1-0",
      "backups/mine." + std::string(kBG)};
  for (const std::string& path : planted)
    WriteFileBytes(path, path.find("-1-0") != std::string::npos ? Bytes(4050, 1) : notes);
  WriteFileBytes("ravelon-save.journal", notes);
  ::testing::internal::CaptureStderr();
  FinishInterruptedMapSave();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.find("undone"), std::string::npos) << said;
  EXPECT_NE(said.find("could not be settled"), std::string::npos) << said;
  EXPECT_EQ(ReadFileBytes("ravelon-save.journal"), notes);
  EXPECT_FALSE(SaveMapFiles());
  fs::remove("ravelon-save.journal");
  ASSERT_TRUE(SaveMapFiles());
  TMap::FBGSet(5, 5, 1);
  ASSERT_TRUE(SaveMapFiles());  // a backup and a recovery-like copy written beside them
  std::string where;
  ASSERT_TRUE(WriteRecoveryPair(where));
  FinishInterruptedMapSave();
  for (const std::string& path : planted)
    EXPECT_EQ(ReadFileBytes(path), path.find("-1-0") != std::string::npos ? Bytes(4050, 1) : notes)
        << path;
}

// A map file that is there but did not load is said on screen at start-up (which file, why),
// and the save over it keeps it in backups/: with its partner, or alone when that is missing.
TEST_F(SavePaths, AMapFileThatDidNotLoadIsSaidAndTheSaveOverItKeepsIt) {
  WriteFileBytes(kBG, Bytes(100, 4));
  RunRavelon(false);
  EXPECT_TRUE(ConsoleHas("Wrong size!"));
  bool said = false;
  for (const GameEventRecord& event : TGameEvents::FPending())
    said = said || (event.Kind == GameEvent::kLoadFailed &&
                    event.Value == static_cast<int32_t>(LoadFailure::kBGFileWrongSize));
  EXPECT_TRUE(said);
  ASSERT_TRUE(SaveMapFiles());
  ASSERT_EQ(Backups().size(), 2u);
  const std::string stamp = "backups/" + Backups().begin()->substr(0, 15) + ".";
  EXPECT_EQ(ReadFileBytes(stamp + kBG), Bytes(100, 4));
  EXPECT_EQ(ReadFileBytes(stamp + kBlocks), OldBlocks);
  fs::remove(kBlocks);
  WriteFileBytes(kBG, Bytes(5000, 4));
  ASSERT_TRUE(SaveMapFiles());
  std::set<Bytes> kept;
  for (const std::string& name : Backups())
    kept.insert(ReadFileBytes("backups/" + name));
  EXPECT_TRUE(kept.count(Bytes(5000, 4)));
  EXPECT_EQ(Backups().size(), 3u);
}

// The two notes a player reads on standard error: a save a kill stopped before its journal was
// written is undone, and a backup that cannot be made says what is in the way.
TEST_F(SavePaths, AnUndoneSaveAndAnUnusableBackupsFolderAreExplained) {
  const std::string killed = std::string(kBG) + ".saving-" + std::to_string(EndedProcess()) + "-0";
  WriteFileBytes(killed, Bytes(4050, 1));
  ::testing::internal::CaptureStderr();
  FinishInterruptedMapSave();
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("was undone"), std::string::npos);
  EXPECT_FALSE(fs::exists(killed));
  WriteFileBytes("backups", Bytes(3, 3));
  ::testing::internal::CaptureStderr();
  TMap::FSaveState();
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("backups is not a folder"),
            std::string::npos);
  ExpectFailedAndUntouched();
}

}  // namespace
