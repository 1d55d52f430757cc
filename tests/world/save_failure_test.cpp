// What a refused save tells the player: each cause a save can meet gives its own reason in the
// save's event, and a save that works reports its time.
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "platform/save/atomic_files.h"
#include "shared/game_events.h"
#include "world/map_files.h"
#include "world_fixture.h"

namespace {

namespace fs = std::filesystem;

class SaveFailureTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    WriteFileBytes(kBG, Bytes(4050, 9));
    WriteFileBytes(kBlocks, Bytes(4050, 23));
    TGameEvents::FClear();
    ResetMapBackups();
  }
  void TearDown() override {
    ResetSaveFileOps();
    TGameEvents::FClear();
    WorldTest::TearDown();
  }
  // The one save event the save reported.
  static GameEventRecord SaveEvent() {
    const auto events = TGameEvents::FPending();
    EXPECT_EQ(events.size(), 1u);
    return events.empty() ? GameEventRecord{GameEvent::kJump, -1, 0, 0} : events.back();
  }
  static void ExpectRefusedFor(SaveFailure why) {
    EXPECT_FALSE(SaveMapFiles());
    const GameEventRecord event = SaveEvent();
    EXPECT_EQ(event.Kind, GameEvent::kSaveFailed);
    EXPECT_EQ(event.Value, static_cast<int32_t>(why));
  }
  ScopedWorkDir Dir;
};

TEST_F(SaveFailureTest, ASaveThatWorksReportsTheTimeOfDay) {
  EXPECT_TRUE(SaveMapFiles());
  const GameEventRecord event = SaveEvent();
  EXPECT_EQ(event.Kind, GameEvent::kSaveDone);
  EXPECT_GE(event.Value, 0);
  EXPECT_LT(event.Value % 100, 60);
  EXPECT_LT(event.Value / 100 % 100, 60);
  EXPECT_LT(event.Value / 10000, 24);
}

TEST_F(SaveFailureTest, EachCauseIsToldApart) {
  // backups/ taken by a plain file: the first save's backup cannot be made.
  WriteFileBytes("backups", Bytes(3, 1));
  ExpectRefusedFor(SaveFailure::kBackupsUnusable);
  fs::remove("backups");
  TGameEvents::FClear();

  // A read-only block file: refused before anything is replaced (the run's backup is made).
  fs::permissions(kBlocks, fs::perms::owner_read | fs::perms::group_read);
  ExpectRefusedFor(SaveFailure::kReadOnlyFile);
  fs::permissions(kBlocks, fs::perms::owner_read | fs::perms::owner_write);
  TGameEvents::FClear();

  // The disk fills up while the new files are written.
  SaveFileOps full;
  full.Write = [](int, const uint8_t*, size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  };
  SetSaveFileOps(full);
  ExpectRefusedFor(SaveFailure::kDiskFull);
  TGameEvents::FClear();

  // The folder refuses new files (as root the permission bits alone would not).
  SaveFileOps refused;
  refused.CreateNew = [](const std::string&, mode_t) {
    errno = EACCES;
    return -1;
  };
  SetSaveFileOps(refused);
  ExpectRefusedFor(SaveFailure::kFolderNotWritable);
}

TEST_F(SaveFailureTest, AFullDiskDuringTheBackupIsAFullDiskNotABadBackupsFolder) {
  SaveFileOps full;
  full.Write = [](int, const uint8_t*, size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  };
  SetSaveFileOps(full);
  ExpectRefusedFor(SaveFailure::kDiskFull);
}

TEST_F(SaveFailureTest, AnOldErrorDoesNotColourTheNextFailure) {
  SaveFileOps full;
  full.Write = [](int, const uint8_t*, size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  };
  SetSaveFileOps(full);
  ExpectRefusedFor(SaveFailure::kDiskFull);
  ResetSaveFileOps();
  TGameEvents::FClear();
  fs::permissions(kBG, fs::perms::owner_read);
  ExpectRefusedFor(SaveFailure::kReadOnlyFile);
}

}  // namespace
