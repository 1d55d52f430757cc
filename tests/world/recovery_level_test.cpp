// A level file's kept edits in recovery/: one copy per change, pruned per level and never
// another's, offered only when newer than the level's file and other than it.
#include <algorithm>
#include <filesystem>
#include <string>

#include "world/current_level.h"
#include "world/recovery_level.h"
#include "world_fixture.h"

namespace {

namespace fs = std::filesystem;

void WriteText(const std::string& path, const std::string& text) {
  WriteFileBytes(path, Bytes(text.begin(), text.end()));
}

std::string ReadText(const std::string& path) {
  const Bytes bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

class RecoveryLevelTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    fs::create_directory("levels");
    Level.Name = "cave";
    Level.Blocks[20 * 75 + 10] = 18;
    WriteText("levels/cave.tmx", LevelTmxText(Level));
    Age("levels/cave.tmx", 100);
    CurrentLevel = {"levels/cave.tmx", "cave", "", false};
    Wet = Level;
    Wet.Water[30 * 75 + 12] = 9;
  }
  void TearDown() override {
    CurrentLevel = {};
    WorldTest::TearDown();
  }
  static void Age(const std::string& path, int seconds) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(seconds));
  }
  static std::vector<std::string> Kept() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("recovery"))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  ScopedWorkDir Dir;
  TLevel Level, Wet;
};

TEST_F(RecoveryLevelTest, EachChangeIsKeptOnceAndOnlyThisLevelsCopiesArePruned) {
  EXPECT_EQ(RecoveryLevelName(), "cave.tmx");
  fs::create_directory("recovery");
  // Another level whose file name ends like this one's, and a file of someone's own.
  WriteText("recovery/20200101-000000.my.cave.tmx", "theirs");
  WriteText("recovery/mine.cave.tmx", "mine");
  std::string where;
  ASSERT_EQ(KeepRecoveryLevel(Wet, where), KeptEdits::kWritten);
  EXPECT_EQ(NewestRecoveryLevel(), where);
  std::string again;
  EXPECT_EQ(KeepRecoveryLevel(Wet, again), KeptEdits::kAlreadyKept);  // no second copy
  EXPECT_EQ(again, where);
  for (int units = 1; units <= 25; ++units) {
    TLevel changed = Wet;
    changed.Water[31 * 75 + 12] = static_cast<uint8_t>(units % 16 + 1);
    changed.Starts.Player.X += units;
    ASSERT_NE(KeepRecoveryLevel(changed, where), KeptEdits::kFailed);
  }
  const std::vector<std::string> kept = Kept();
  EXPECT_EQ(kept.size(), kMapBackupsKept + 2);
  EXPECT_EQ(ReadText("recovery/20200101-000000.my.cave.tmx"), "theirs");
  EXPECT_EQ(ReadText("recovery/mine.cave.tmx"), "mine");
  EXPECT_EQ(NewestRecoveryLevel(), where);

  CurrentLevel = {};  // the raw pair keeps no level copy
  EXPECT_EQ(KeepRecoveryLevel(Wet, where), KeptEdits::kFailed);
  CurrentLevel.Untitled = true;
  EXPECT_EQ(RecoveryLevelName(), "new-level.tmx");
}

TEST_F(RecoveryLevelTest, OfferedOnlyWhenNewerThanTheFileAndOtherThanIt) {
  EXPECT_FALSE(RecoveryLevelIsNewer());  // nothing kept
  std::string where;
  ASSERT_EQ(KeepRecoveryLevel(Level, where), KeptEdits::kWritten);
  EXPECT_FALSE(RecoveryLevelIsNewer());  // the file holds it byte for byte
  // The same play under another name (a file Tiled wrote, say): nothing to recover either.
  TLevel renamed = Level;
  renamed.Name = "renamed";
  fs::remove_all("recovery");
  ASSERT_EQ(KeepRecoveryLevel(renamed, where), KeptEdits::kWritten);
  EXPECT_FALSE(RecoveryLevelIsNewer());

  fs::remove_all("recovery");
  ASSERT_EQ(KeepRecoveryLevel(Wet, where), KeptEdits::kWritten);
  EXPECT_TRUE(RecoveryLevelIsNewer());
  Age(where, 200);  // saved since: the copy is older than the file
  EXPECT_FALSE(RecoveryLevelIsNewer());
  fs::remove("levels/cave.tmx");  // no file at all: the newest copy is all there is
  EXPECT_TRUE(RecoveryLevelIsNewer());
}

// Two levels of one file name in two folders (--level a/cave.tmx, then b/cave.tmx): the edits
// kept of one are neither offered nor loaded for the other, and the same folder by another
// spelling finds its own copies.
TEST_F(RecoveryLevelTest, ALevelOutsideLevelsSharesItsCopiesWithNoOtherOfItsName) {
  for (const char* folder : {"a", "b"}) {
    fs::create_directory(folder);
    WriteText(std::string(folder) + "/cave.tmx", LevelTmxText(Level));
    Age(std::string(folder) + "/cave.tmx", 100);
  }
  CurrentLevel = {"a/cave.tmx", "cave", "", false};
  const std::string a_name = RecoveryLevelName();
  std::string where;
  ASSERT_EQ(KeepRecoveryLevel(Wet, where), KeptEdits::kWritten);
  EXPECT_TRUE(RecoveryLevelIsNewer());

  CurrentLevel = {"b/cave.tmx", "cave", "", false};
  EXPECT_NE(RecoveryLevelName(), a_name);
  EXPECT_NE(RecoveryLevelName(), "cave.tmx");
  EXPECT_FALSE(RecoveryLevelIsNewer());
  TLevel read;
  std::string why;
  bool none = false;
  EXPECT_FALSE(ReadRecoveryLevel(read, where, why, none));
  EXPECT_TRUE(none);

  CurrentLevel = {"./b/../a/cave.tmx", "cave", "", false};
  EXPECT_EQ(RecoveryLevelName(), a_name);
  EXPECT_TRUE(ReadRecoveryLevel(read, where, why, none)) << why;
  EXPECT_EQ(read.Water, Wet.Water);
  CurrentLevel = {"./levels/cave.tmx", "cave", "", false};
  EXPECT_EQ(RecoveryLevelName(), "cave.tmx");
}

}  // namespace
