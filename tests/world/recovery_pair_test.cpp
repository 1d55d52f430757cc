// The pair the last run kept in recovery/: when start-up offers it, and Ctrl+L's load, which
// takes a whole pair or nothing.
#include <filesystem>

#include "world/map_files.h"
#include "world_fixture.h"

namespace {

namespace fs = std::filesystem;

class RecoveryPairTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    WriteFileBytes(kBG, Bytes(4050, 0));
    WriteFileBytes(kBlocks, Bytes(4050, 255));
    fs::create_directory("recovery");
  }
  static std::string Kept(const std::string& stamp, const char* name) {
    return "recovery/" + stamp + "." + name;
  }
  static void Age(const std::string& path, int seconds) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(seconds));
  }
  // A whole pair: background 5 and block style 18 in cell (10, 20).
  static void KeepPair(const std::string& stamp) {
    Bytes bg(4050, 0), blocks(4050, 255);
    bg[20 * 75 + 10] = 5;
    blocks[20 * 75 + 10] = 18;
    WriteFileBytes(Kept(stamp, kBG), bg);
    WriteFileBytes(Kept(stamp, kBlocks), blocks);
  }
  ScopedWorkDir Dir;
};

TEST_F(RecoveryPairTest, OfferedOnlyWhenAWholePairIsNewerThanTheMapFiles) {
  EXPECT_FALSE(RecoveryPairIsNewer());  // an empty recovery/
  Age(kBG, 100);
  Age(kBlocks, 100);
  WriteFileBytes(Kept("20261208-091500", kBG), Bytes(4050, 0));
  EXPECT_FALSE(RecoveryPairIsNewer());  // half a pair
  KeepPair("20261208-091500");
  EXPECT_TRUE(RecoveryPairIsNewer());
  Age(Kept("20261208-091500", kBG), 200);
  EXPECT_FALSE(RecoveryPairIsNewer());  // one copy older than the map files: saved since
  fs::remove(kBG);
  fs::remove(kBlocks);
  EXPECT_TRUE(RecoveryPairIsNewer());  // no map files at all: the kept pair is all there is
}

TEST_F(RecoveryPairTest, TheNewestStampIsLoaded) {
  KeepPair("20261208-091500");
  WriteFileBytes(Kept("20261207-120000", kBG), Bytes(4050, 1));
  WriteFileBytes(Kept("20261207-120000", kBlocks), Bytes(4050, 255));
  // The older stamp was written earlier, as it would have been.
  for (const char* name : {kBG, kBlocks})
    Age(Kept("20261207-120000", name), 3600);
  EXPECT_EQ(NewestRecoveryStamp(), "20261208-091500");
  LoadFailure why = LoadFailure::kMapFiles;
  ASSERT_TRUE(LoadRecoveryPair(why));
  EXPECT_EQ(BGGrid[10][20], 5);
  EXPECT_EQ(TMap::FBlockStyleAtCell(10, 20), 18);
  EXPECT_EQ(BGGrid[11][20], 0);
}

// After the clock went back, the pair written last carries the older-looking stamp: the files'
// order of writing decides, not the stamps' text.
TEST_F(RecoveryPairTest, ThePairWrittenLastIsLoadedEvenUnderAnOlderStamp) {
  KeepPair("20261208-091500");
  WriteFileBytes(Kept("20991231-235959", kBG), Bytes(4050, 1));
  WriteFileBytes(Kept("20991231-235959", kBlocks), Bytes(4050, 255));
  for (const char* name : {kBG, kBlocks})
    Age(Kept("20991231-235959", name), 3600);
  EXPECT_EQ(NewestRecoveryStamp(), "20261208-091500");
}

TEST_F(RecoveryPairTest, AHalfOrDamagedPairIsRefusedAndTheMapLeftAsItWas) {
  TMap::FBGSet(3, 4, 7);
  TMap::FCreateBlock(30, 20, 40);
  const MapSnapshot before = Snapshot();
  LoadFailure why = LoadFailure::kMapFiles;
  EXPECT_FALSE(LoadRecoveryPair(why));
  EXPECT_EQ(why, LoadFailure::kNoRecoveryPair);

  WriteFileBytes(Kept("20261208-091500", kBG), Bytes(4050, 2));  // no block file
  EXPECT_FALSE(LoadRecoveryPair(why));
  EXPECT_EQ(why, LoadFailure::kRecoveryPair);
  EXPECT_TRUE(Snapshot() == before);

  WriteFileBytes(Kept("20261208-091500", kBlocks), Bytes(4049, 2));  // one byte short
  EXPECT_FALSE(LoadRecoveryPair(why));
  EXPECT_TRUE(Snapshot() == before);

  fs::remove(Kept("20261208-091500", kBlocks));
  fs::create_directory(Kept("20261208-091500", kBlocks));  // a folder where a file should be
  EXPECT_FALSE(LoadRecoveryPair(why));
  EXPECT_TRUE(Snapshot() == before);
}

}  // namespace
