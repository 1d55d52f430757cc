// The map files: the round trip, the refusals on load and what they leave, and the save that
// replaces both files together or neither, whatever step fails.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "platform/save/atomic_files.h"
#include "world/map_files.h"
#include "world_fixture.h"

namespace {

class MapFiles : public WorldTest {
 protected:
  void TearDown() override {
    ResetSaveFileOps();
    WorldTest::TearDown();
  }
  // A small map of every kind, with a background here and there and some water.
  static void SampleMap() {
    TMap::FCreateBlock(0, 0, 0);
    TMap::FCreateBlock(74, 53, 254);
    TMap::FCreateBlock(10, 20, 18);
    TMap::FCreateBlock(11, 20, 53);
    TMap::FCreateBlock(12, 20, 300);
    TMap::FBGSet(3, 4, 7);
    TMap::FBGSet(74, 0, 0);
    TMap::FBGSet(0, 53, 254);
  }
  // Everything in the working folder but the backups.
  static std::set<std::string> FilesHere() {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("."))
      if (entry.path().filename() != "backups") names.insert(entry.path().filename().string());
    return names;
  }
  ScopedWorkDir Dir;
};

TEST_F(MapFiles, SaveThenLoadReproducesBothGrids) {
  SampleMap();
  BlockGrid[10][20]->MBump(1);
  TBlock::FUpdate();
  const MapSnapshot saved = Snapshot();
  TMap::FSaveState();
  EXPECT_EQ(Console(), (std::vector<std::string>{"Saving maps."}));
  EXPECT_EQ(FilesHere(), (std::set<std::string>{kBG, kBlocks}));
  const Bytes blocks = ReadFileBytes(kBlocks);
  ASSERT_EQ(blocks.size(), 4050u);
  EXPECT_EQ(blocks[20 * 75 + 11], 53);
  EXPECT_EQ(blocks[1], 255);
  EXPECT_EQ(ReadFileBytes(kBG)[4 * 75 + 3], 7);

  TMap::FClear();
  ClearConsole();
  TMap::FLoadState();
  EXPECT_EQ(Console(), (std::vector<std::string>{"Loading maps.", "Created 5 block instances."}));
  MapSnapshot loaded = Snapshot();
  EXPECT_EQ(loaded.BG, saved.BG);
  EXPECT_EQ(loaded.Styles, saved.Styles);
  EXPECT_EQ(loaded.Solid, saved.Solid);
  EXPECT_NE(dynamic_cast<TBlockBrick*>(BlockGrid[10][20].get()), nullptr);
  EXPECT_NE(dynamic_cast<TBlockContainer*>(BlockGrid[11][20].get()), nullptr);
  EXPECT_EQ(BlockGrid[10][20]->Angle, kNoDirection);
  EXPECT_EQ(BlockGrid[10][20]->Counter, 0);
}

TEST_F(MapFiles, LoadBuildsBlocksByStyleAndWashesAwayWater) {
  Bytes blocks(4050, 255);
  blocks[0] = 21;
  blocks[75] = 50;
  WriteFileBytes(kBG, Bytes(4050, 255));
  WriteFileBytes(kBlocks, blocks);
  TMap::FCreateBlock(30, 30, 23);
  RawWater(20, 20, 9);
  TMap::FLoadState();
  EXPECT_NE(dynamic_cast<TBlockContainer*>(BlockGrid[0][0].get()), nullptr);
  EXPECT_NE(dynamic_cast<TBlockBrick*>(BlockGrid[0][1].get()), nullptr);
  EXPECT_EQ(BlockGrid[30][30], nullptr);
  EXPECT_EQ(SolidGrid[20][20], 0);
  EXPECT_EQ(FillGrid[20][20], 0);
  EXPECT_EQ(TBlock::Count, 2);

  WriteFileBytes(kBlocks, Bytes(4050, 255));
  ClearConsole();
  TMap::FLoadState();
  EXPECT_EQ(Console().back(), "Created 0 block instances.");
  EXPECT_EQ(BlockGrid[0][0], nullptr);
}

TEST_F(MapFiles, AWrongSizedBlockFileKeepsTheBlocksButNotTheOldBackgrounds) {
  for (size_t size : {4049u, 4051u, 0u}) {
    SampleMap();
    RawWater(20, 20, 9);
    const MapSnapshot before = Snapshot();
    WriteFileBytes(kBG, Bytes(4050, 6));
    WriteFileBytes(kBlocks, Bytes(size, 1));
    ClearConsole();
    TMap::FLoadState();
    EXPECT_EQ(Console(), (std::vector<std::string>{"Loading maps.", "Wrong size!"}));
    MapSnapshot after = Snapshot();
    EXPECT_EQ(after.BG, std::vector<uint8_t>(4050, 6));
    after.BG = before.BG;
    EXPECT_TRUE(after == before) << size;
  }
}

TEST_F(MapFiles, ARefusedBackgroundFileChangesNothing) {
  SampleMap();
  const MapSnapshot before = Snapshot();
  WriteFileBytes(kBlocks, Bytes(4050, 255));
  TMap::FLoadState();  // no background file
  WriteFileBytes(kBG, Bytes(4049, 6));
  TMap::FLoadState();
  std::filesystem::remove(kBG);
  std::filesystem::create_directory(kBG);
  TMap::FLoadState();
  EXPECT_EQ(Console(),
            (std::vector<std::string>{"Loading maps.", "Failure to load file.", "Loading maps.",
                                      "Wrong size!", "Loading maps.", "Failure to load file."}));
  EXPECT_TRUE(Snapshot() == before);
}

TEST_F(MapFiles, AMissingOrUnreadableBlockFileIsAFailureToLoad) {
  WriteFileBytes(kBG, Bytes(4050, 3));
  TMap::FLoadState();
  EXPECT_EQ(Console().back(), "Failure to load file.");
  EXPECT_EQ(BGGrid[0][0], 3);
  if (geteuid() == 0) return;  // root reads any file
  WriteFileBytes(kBlocks, Bytes(4050, 1));
  chmod(kBlocks, 0);
  ClearConsole();
  TMap::FLoadState();
  EXPECT_EQ(Console().back(), "Failure to load file.");
  EXPECT_EQ(BlockGrid[0][0], nullptr);
}

// Every failure point of a save: the old pair must come through byte for byte, no stray file
// may be left beside it and the game must not notice.
struct Faults {
  int FailCreate = 0, FailFsync = 0, FailClose = 0, FailRename = 0, FailLink = 0;  // 1-based call
  long WriteBudget = -1;  // bytes that may be written in all before writes fail
  int Creates = 0, Fsyncs = 0, Closes = 0, Renames = 0, Links = 0;
};

void InstallFaults(Faults& f) {
  const SaveFileOps posix = PosixSaveFileOps();
  SaveFileOps ops;
  ops.CreateNew = [&f, posix](const std::string& path, mode_t mode) {
    if (++f.Creates == f.FailCreate) return errno = EACCES, -1;
    return posix.CreateNew(path, mode);
  };
  ops.Write = [&f, posix](int fd, const uint8_t* data, size_t size) -> ssize_t {
    if (f.WriteBudget < 0) return posix.Write(fd, data, size);
    if (f.WriteBudget == 0) return errno = ENOSPC, -1;
    const ssize_t n = posix.Write(fd, data, std::min<size_t>(size, f.WriteBudget));
    if (n > 0) f.WriteBudget -= n;
    return n;
  };
  ops.Fsync = [&f, posix](int fd) {
    if (++f.Fsyncs == f.FailFsync) return errno = EIO, -1;
    return posix.Fsync(fd);
  };
  ops.Close = [&f, posix](int fd) {
    const int rc = posix.Close(fd);
    if (++f.Closes == f.FailClose) return errno = EIO, -1;
    return rc;
  };
  ops.Rename = [&f, posix](const std::string& from, const std::string& to) {
    if (++f.Renames == f.FailRename) return errno = EXDEV, -1;
    return posix.Rename(from, to);
  };
  ops.Link = [&f, posix](const std::string& existing, const std::string& link_path) {
    if (++f.Links == f.FailLink) return errno = EPERM, -1;
    return posix.Link(existing, link_path);
  };
  SetSaveFileOps(ops);
}

class SaveFaults : public MapFiles {
 protected:
  void SetUp() override {
    MapFiles::SetUp();
    WriteFileBytes(kBG, OldBG);
    WriteFileBytes(kBlocks, OldBlocks);
    SampleMap();
  }
  void ExpectOldPairAndNothingElse(const MapSnapshot& before) {
    EXPECT_EQ(Console(),
              (std::vector<std::string>{"Saving maps.", "Failure to create save file."}));
    EXPECT_EQ(ReadFileBytes(kBG), OldBG);
    EXPECT_EQ(ReadFileBytes(kBlocks), OldBlocks);
    EXPECT_EQ(FilesHere(), (std::set<std::string>{kBG, kBlocks}));
    EXPECT_TRUE(Snapshot() == before);
  }
  // The calls of one whole save, backup included, counted without failing any.
  Faults CountCalls() {
    Faults count;
    InstallFaults(count);
    TMap::FSaveState();
    ResetSaveFileOps();
    WriteFileBytes(kBG, OldBG);
    WriteFileBytes(kBlocks, OldBlocks);
    std::filesystem::remove_all("backups");
    ResetMapBackups();
    return count;
  }
  const Bytes OldBG = Bytes(4050, 9);
  const Bytes OldBlocks = Bytes(4050, 23);
};

TEST_F(SaveFaults, EveryFailingCallLeavesTheOldPair) {
  const Faults calls = CountCalls();
  ASSERT_GE(calls.Creates, 5);  // two backups, two new files, the journal
  ASSERT_GE(calls.Renames, 2);
  std::vector<std::pair<std::string, Faults>> cases = {
      {"no room at all", {.WriteBudget = 0}},
      {"a backup half-written", {.WriteBudget = 1000}},
      {"first half-written", {.WriteBudget = 8100 + 1000}},
      {"second half-written", {.WriteBudget = 8100 + 4050 + 1000}},
      {"journal half-written", {.WriteBudget = 8100 + 8100 + 10}},
      {"no link, no copy", {.FailCreate = 4, .FailLink = 1}},
  };
  for (int i = 1; i <= calls.Creates; ++i)
    cases.push_back({"create " + std::to_string(i), {.FailCreate = i}});
  for (int i = 1; i <= calls.Fsyncs; ++i)
    cases.push_back({"sync " + std::to_string(i), {.FailFsync = i}});
  for (int i = 1; i <= calls.Closes; ++i)
    cases.push_back({"close " + std::to_string(i), {.FailClose = i}});
  for (int i = 1; i <= calls.Renames; ++i)
    cases.push_back({"rename " + std::to_string(i), {.FailRename = i}});
  const MapSnapshot before = Snapshot();
  for (auto [name, faults] : cases) {
    SCOPED_TRACE(name);
    std::filesystem::remove_all("backups");  // so every case's save makes its backup
    InstallFaults(faults);
    ClearConsole();
    TMap::FSaveState();
    ExpectOldPairAndNothingElse(before);
  }
}

TEST_F(SaveFaults, WithoutAnOldPairAFailedSaveLeavesNoFiles) {
  std::filesystem::remove(kBG);
  std::filesystem::remove(kBlocks);
  Faults faults{.FailRename = 2};
  InstallFaults(faults);
  TMap::FSaveState();
  EXPECT_TRUE(FilesHere().empty());
}

TEST_F(SaveFaults, RefusedLinksFallBackToACopyAndTheSaveSucceeds) {
  Faults faults{.FailLink = 1};
  InstallFaults(faults);
  TMap::FSaveState();
  EXPECT_EQ(Console(), (std::vector<std::string>{"Saving maps."}));
  EXPECT_EQ(ReadFileBytes(kBG)[4 * 75 + 3], 7);
  EXPECT_EQ(ReadFileBytes(kBlocks)[20 * 75 + 10], 18);
  EXPECT_EQ(FilesHere(), (std::set<std::string>{kBG, kBlocks}));
}

TEST_F(SaveFaults, ADirectoryInTheWayOfEitherFile) {
  const MapSnapshot before = Snapshot();
  std::filesystem::remove(kBlocks);
  std::filesystem::create_directory(kBlocks);
  std::filesystem::create_directory(std::string(kBlocks) + "/inside");
  TMap::FSaveState();
  EXPECT_EQ(Console().back(), "Failure to create save file.");
  EXPECT_EQ(ReadFileBytes(kBG), OldBG);
  EXPECT_TRUE(std::filesystem::is_directory(kBlocks));
  EXPECT_TRUE(Snapshot() == before);
}

TEST_F(SaveFaults, AnUnwritableFolderChangesNeitherFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
  chmod(".", 0555);
  TMap::FSaveState();
  chmod(".", 0755);
  ExpectOldPairAndNothingElse(Snapshot());
}

}  // namespace
