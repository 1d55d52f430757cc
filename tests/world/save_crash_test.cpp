// A save stopped dead after any one of its file-system calls (a kill -9 there), or killed at a
// random moment: after the next start-up's check the map files are always one whole pair, the
// old one or the new one, with nothing left beside them.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "frame/main_program.h"
#include "platform/save/atomic_files.h"
#include "platform/save/interrupted_save.h"
#include "world/map_files.h"
#include "world_fixture.h"

namespace {

// Counts every call; the one numbered StopAt never happens: the process ends instead.
struct Stopper {
  int Calls = 0;
  int StopAt = 0;
  void Step() {
    if (++Calls == StopAt) _exit(0);
  }
};

void InstallStopper(Stopper& s) {
  const SaveFileOps posix = PosixSaveFileOps();
  SaveFileOps ops;
  ops.CreateNew = [&s, posix](const std::string& p, mode_t m) {
    return s.Step(), posix.CreateNew(p, m);
  };
  ops.Write = [&s, posix](int fd, const uint8_t* d, size_t n) {
    return s.Step(), posix.Write(fd, d, n);
  };
  ops.Fsync = [&s, posix](int fd) { return s.Step(), posix.Fsync(fd); };
  ops.Close = [&s, posix](int fd) { return s.Step(), posix.Close(fd); };
  ops.Rename = [&s, posix](const std::string& a, const std::string& b) {
    return s.Step(), posix.Rename(a, b);
  };
  ops.Link = [&s, posix](const std::string& a, const std::string& b) {
    return s.Step(), posix.Link(a, b);
  };
  ops.Unlink = [&s, posix](const std::string& p) { return s.Step(), posix.Unlink(p); };
  ops.SyncFolder = [&s, posix](const std::string& p) { return s.Step(), posix.SyncFolder(p); };
  SetSaveFileOps(ops);
}

class SaveCrash : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    WriteFileBytes(kBG, OldBG);
    WriteFileBytes(kBlocks, OldBlocks);
    TMap::FCreateBlock(5, 5, 3);
    TMap::FBGSet(6, 6, 2);
  }
  void TearDown() override {
    ResetSaveFileOps();
    WorldTest::TearDown();
  }
  // Runs `body` in a child process and waits for it to end, however it ends.
  template <typename Body>
  static void InChild(Body body, int kill_after_micros = -1) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      body();
      _exit(0);
    }
    if (kill_after_micros >= 0) {
      usleep(static_cast<useconds_t>(kill_after_micros));
      kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
  }
  static std::set<std::string> FilesHere() {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("."))
      if (entry.path().filename() != "backups") names.insert(entry.path().filename().string());
    return names;
  }
  // Every stamp in a folder of copies holds both files, each the given bytes; nothing else there.
  static void ExpectOnlyWholeStamps(const std::string& folder,
                                    const std::pair<Bytes, Bytes>& pair) {
    if (!std::filesystem::exists(folder)) return;
    std::map<std::string, int> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      const bool bg = name.ends_with(std::string(".") + kBG);
      if (!bg && !name.ends_with(std::string(".") + kBlocks)) {
        ADD_FAILURE() << "left in " << folder << ": " << name;
        continue;
      }
      EXPECT_EQ(ReadFileBytes(entry.path().string()), bg ? pair.first : pair.second) << name;
      ++files[name.substr(0, name.find('.'))];
    }
    for (const auto& [stamp, count] : files)
      EXPECT_EQ(count, 2) << folder << "/" << stamp << " is half a pair";
  }
  // 0 for the old pair, 1 for the new one; fails the test on a mixed or broken pair.
  int WhichPair(const std::vector<std::pair<Bytes, Bytes>>& pairs) {
    const std::pair<Bytes, Bytes> now{ReadFileBytes(kBG), ReadFileBytes(kBlocks)};
    for (size_t i = 0; i < pairs.size(); ++i)
      if (now == pairs[i]) return static_cast<int>(i);
    ADD_FAILURE() << "the map files are no pair that was ever saved";
    return -1;
  }
  ScopedWorkDir Dir;
  const Bytes OldBG = Bytes(4050, 9);
  const Bytes OldBlocks = Bytes(4050, 23);
};

TEST_F(SaveCrash, StoppedAfterEveryCallTheStartUpCheckLeavesOneWholePair) {
  // A whole save, counted on a copy of the files.
  Stopper counted;
  {
    ScopedWorkDir scratch;
    WriteFileBytes(kBG, OldBG);
    WriteFileBytes(kBlocks, OldBlocks);
    InstallStopper(counted);
    SaveMapFiles();
    ResetSaveFileOps();
  }
  ASSERT_GT(counted.Calls, 10);
  SaveMapFiles();
  const std::pair<Bytes, Bytes> fresh{ReadFileBytes(kBG), ReadFileBytes(kBlocks)};
  ASSERT_NE(fresh.first, OldBG);

  int lastOld = 0, firstNew = counted.Calls + 2;
  for (int stop = 1; stop <= counted.Calls + 1; ++stop) {
    SCOPED_TRACE(stop);
    WriteFileBytes(kBG, OldBG);
    WriteFileBytes(kBlocks, OldBlocks);
    std::filesystem::remove_all("backups");
    ResetMapBackups();
    InChild([&] {
      Stopper stopper{.StopAt = stop};
      InstallStopper(stopper);
      SaveMapFiles();
    });
    FinishInterruptedMapSave();
    const int pair = WhichPair({{OldBG, OldBlocks}, fresh});
    EXPECT_EQ(FilesHere(), (std::set<std::string>{kBG, kBlocks}));
    ExpectOnlyWholeStamps("backups", {OldBG, OldBlocks});
    if (pair == 0) lastOld = stop;
    if (pair == 1 && firstNew > stop) firstNew = stop;
  }
  // Once a stop leaves the new pair, every later one does too: the journal is one commit point.
  EXPECT_LT(lastOld, firstNew);
  EXPECT_LE(firstNew, counted.Calls + 1);
}

// The pair quitting writes into recovery/, stopped after each of its calls: after the next
// start-up the stamp is there whole or not at all.
TEST_F(SaveCrash, StoppedAfterEveryCallARecoveryStampIsWholeOrAbsent) {
  Stopper counted;
  std::pair<Bytes, Bytes> pair;
  {
    ScopedWorkDir scratch;
    InstallStopper(counted);
    std::string where;
    ASSERT_TRUE(WriteRecoveryPair(where));
    ResetSaveFileOps();
    const std::string stamp = where.substr(0, where.find(kBG));
    pair = {ReadFileBytes(stamp + kBG), ReadFileBytes(stamp + kBlocks)};
  }
  int whole = 0;
  for (int stop = 1; stop <= counted.Calls + 1; ++stop) {
    SCOPED_TRACE(stop);
    std::filesystem::remove_all("recovery");
    InChild([&] {
      Stopper stopper{.StopAt = stop};
      InstallStopper(stopper);
      std::string where;
      WriteRecoveryPair(where);
    });
    FinishInterruptedMapSave();
    ExpectOnlyWholeStamps("recovery", pair);
    if (std::filesystem::exists("recovery") && !std::filesystem::is_empty("recovery")) ++whole;
  }
  EXPECT_GT(whole, 0);
  EXPECT_LT(whole, counted.Calls + 1);
}

TEST_F(SaveCrash, KilledAtRandomMomentsHundredsOfTimes) {
  TMap::FSaveState();  // the first save of the run, and its backup, out of the way
  const std::pair<Bytes, Bytes> a{ReadFileBytes(kBG), ReadFileBytes(kBlocks)};
  TMap::FBGSet(7, 7, 4);
  TMap::FCreateBlock(8, 8, 50);
  TMap::FSaveState();
  const std::pair<Bytes, Bytes> b{ReadFileBytes(kBG), ReadFileBytes(kBlocks)};
  // Kills spread over several saves' time, measured here: on a loaded machine a save (and the
  // fork before it) can take far longer than on a quiet one, and kills that all land before
  // the child's first save ends would only ever find one of the two maps.
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < 4; ++i)
    SaveMapFiles();
  const auto per_save = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - started) /
                        4;
  std::mt19937 random(11);
  std::uniform_int_distribution<int> micros(
      0, std::max(4000, static_cast<int>(std::min<int64_t>(per_save.count() * 8, 200000))));
  int seen[2] = {0, 0};
  int settledMidSave = 0;
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    InChild(
        [&] {
          // Alternates the two maps as fast as it can until killed.
          for (int i = 0;; ++i) {
            TMap::FBGSet(7, 7, i % 2 ? 4 : 255);
            TMap::FCreateBlock(8, 8, i % 2 ? 50 : -1);
            SaveMapFiles();
          }
        },
        micros(random));
    const SaveRecovery settled =
        FinishInterruptedSave("ravelon-save.journal", {kBG, kBlocks}, 4050);
    ASSERT_NE(settled, SaveRecovery::Stuck);
    if (settled != SaveRecovery::Nothing) ++settledMidSave;
    const int pair = WhichPair({a, b});
    if (pair >= 0) ++seen[pair];
    ASSERT_EQ(FilesHere(), (std::set<std::string>{kBG, kBlocks}));
  }
  // Kills landed between the journal and its removal, and both maps were caught on disk.
  EXPECT_GT(settledMidSave, 0);
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[1], 0);
}

// The game's own start-up settles the save before it loads the map.
TEST_F(SaveCrash, StartUpFinishesAnInterruptedSaveBeforeLoading) {
  TMap::FCreateBlock(9, 9, 21);
  Backend.OnEndOfPass = [](int) { return false; };
  for (int stop = 60; stop > 0; --stop) {
    WriteFileBytes(kBG, OldBG);
    WriteFileBytes(kBlocks, OldBlocks);
    ResetMapBackups();
    InChild([&] {
      Stopper stopper{.StopAt = stop};
      InstallStopper(stopper);
      SaveMapFiles();
    });
    if (!std::filesystem::exists("ravelon-save.journal")) continue;
    RunRavelon(false);
    EXPECT_FALSE(std::filesystem::exists("ravelon-save.journal"));
    EXPECT_TRUE(ConsoleHas("Created 2 block instances.")) << stop;
    EXPECT_EQ(TMap::FBlockStyleAtCell(9, 9), 21);
    return;
  }
  FAIL() << "no stop left a journal behind";
}

std::string Hex(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    static const char* const kDigits = "0123456789abcdef";
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

// The journal is a file from disk like any other: it may only ever move the save's own names
// over the map files, and anything else in it makes it a journal of nothing.
TEST_F(SaveCrash, AJournalFromDiskIsNotTrusted) {
  WriteFileBytes("outside.raw", Bytes(4050, 1));
  const std::string forged[] = {
      "ravelon save journal 1\n" + Hex("outside.raw") + " " + Hex("outside.raw.saving-1-0") +
          " - 4050 1\ncommit\n",
      "ravelon save journal 1\n" + Hex(kBG) + " " + Hex("outside.raw") + " - 4050 1\ncommit\n",
      "ravelon save journal 1\n" + Hex(kBG) + " " + Hex(std::string(kBG) + ".saving-../../x") +
          " - 4050 1\ncommit\n",
      "ravelon save journal 1\n" + Hex(kBG) + " zz - 4050 1\ncommit\n",
      "ravelon save jou",  // cut short by a kill
      "",
  };
  for (const std::string& text : forged) {
    SCOPED_TRACE(text);
    WriteFileBytes("ravelon-save.journal", Bytes(text.begin(), text.end()));
    EXPECT_EQ(FinishInterruptedSave("ravelon-save.journal", {kBG, kBlocks}, 4050),
              SaveRecovery::RolledBack);
    EXPECT_EQ(ReadFileBytes(kBG), OldBG);
    EXPECT_EQ(ReadFileBytes("outside.raw"), Bytes(4050, 1));
    EXPECT_FALSE(std::filesystem::exists("ravelon-save.journal"));
  }
  // Something that is no journal of the game's is someone else's file: kept, saving stays off.
  WriteFileBytes("ravelon-save.journal", Bytes{'n', 'o', 't', 'e', 's'});
  EXPECT_EQ(FinishInterruptedSave("ravelon-save.journal", {kBG, kBlocks}, 4050),
            SaveRecovery::Stuck);
  EXPECT_EQ(ReadFileBytes("ravelon-save.journal"), (Bytes{'n', 'o', 't', 'e', 's'}));
  std::filesystem::remove("ravelon-save.journal");
  // A FIFO at the journal's name is never opened (that would hang the start); saving stays off.
  mkfifo("ravelon-save.journal", 0644);
  EXPECT_EQ(FinishInterruptedSave("ravelon-save.journal", {kBG, kBlocks}, 4050),
            SaveRecovery::Stuck);
  EXPECT_FALSE(SaveMapFiles());
  EXPECT_EQ(ReadFileBytes(kBG), OldBG);
}

}  // namespace
