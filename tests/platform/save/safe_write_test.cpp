// The safe writer: whatever sits at a name, and whichever call fails, the target holds the old
// file or the whole new one, nothing is written through a link and no side file is left.
#include "platform/save/safe_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>

#include "platform/save/side_names.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

const Bytes kOld(100, 1);
const Bytes kNew(5000, 2);

std::vector<std::string> NamesHere() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator("."))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class SafeWrite : public ::testing::Test {
 protected:
  void TearDown() override { ResetSaveFileOps(); }
  ScopedWorkDir Dir;
};

TEST_F(SafeWrite, ThingsAtTheTargetAreRefusedAndLeftAsTheyAre) {
  WriteFileBytes("victim", kOld);
  fs::create_symlink("victim", "link");
  fs::create_directory("folder");
  ASSERT_EQ(mkfifo("fifo", 0644), 0);
  for (const char* name : {"link", "folder", "fifo"}) {
    SCOPED_TRACE(name);
    const fs::file_type before = fs::symlink_status(name).type();
    std::string why;
    EXPECT_FALSE(WriteFileSafely(name, kNew, why));
    EXPECT_NE(why.find("at that name"), std::string::npos) << why;
    EXPECT_EQ(fs::symlink_status(name).type(), before);
  }
  EXPECT_EQ(ReadFileBytes("victim"), kOld);
  EXPECT_EQ(NamesHere(), (std::vector<std::string>{"fifo", "folder", "link", "victim"}));
}

TEST_F(SafeWrite, ALinkAtASideNameIsSteppedAroundNeverWrittenThrough) {
  WriteFileBytes("victim", kOld);
  fs::create_symlink("victim", NameBeside("out", kSafeWriteTag, 0));
  std::string why;
  ASSERT_TRUE(WriteFileSafely("out", kNew, why)) << why;
  EXPECT_EQ(ReadFileBytes("out"), kNew);
  EXPECT_EQ(ReadFileBytes("victim"), kOld);
}

// Each call of a write failing in turn: the old file stays whole and the side file goes.
TEST_F(SafeWrite, EveryFailingCallKeepsTheOldFileAndSaysWhy) {
  for (int fail = 0; fail < 5; ++fail) {
    SCOPED_TRACE(fail);
    WriteFileBytes("out", kOld);
    SaveFileOps ops;
    const SaveFileOps posix = PosixSaveFileOps();
    if (fail == 0) ops.CreateNew = [](const std::string&, mode_t) { return errno = EACCES, -1; };
    if (fail == 1) {
      ops.Write = [posix](int fd, const uint8_t* data, size_t size) -> ssize_t {
        return size > 1000 ? posix.Write(fd, data, 1000) : (errno = ENOSPC, -1);
      };
    }
    if (fail == 2) ops.Fsync = [](int) { return errno = EIO, -1; };
    if (fail == 3) ops.Close = [posix](int fd) { return posix.Close(fd), errno = EIO, -1; };
    if (fail == 4)
      ops.Rename = [](const std::string&, const std::string&) { return errno = EXDEV, -1; };
    SetSaveFileOps(ops);
    std::string why;
    EXPECT_FALSE(WriteFileSafely("out", kNew, why));
    EXPECT_NE(why.find("failed ("), std::string::npos) << why;
    ResetSaveFileOps();
    EXPECT_EQ(ReadFileBytes("out"), kOld);
    EXPECT_EQ(NamesHere(), (std::vector<std::string>{"out"}));
  }
}

// A recording's way: the file stands under its name once published and keeps what was flushed
// should the writer never finish; unpublished, nothing of it stays.
TEST_F(SafeWrite, AStreamIsUnderItsNameOnlyOncePublished) {
  {
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open("never"));
    writer.Append("lost");
    ASSERT_TRUE(writer.Flush());
  }
  EXPECT_TRUE(NamesHere().empty());
  SafeFileWriter writer;
  ASSERT_TRUE(writer.Open("stream"));
  writer.Append("head\n");
  ASSERT_TRUE(writer.Publish());
  writer.Append("frame 1\n");
  ASSERT_TRUE(writer.Flush());
  writer.Append("frame 2\n");  // not flushed: a kill now loses it
  EXPECT_EQ(ReadFileBytes("stream"),
            (Bytes{'h', 'e', 'a', 'd', '\n', 'f', 'r', 'a', 'm', 'e', ' ', '1', '\n'}));
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(ReadFileBytes("stream").size(), 21u);
  EXPECT_EQ(NamesHere(), (std::vector<std::string>{"stream"}));
}

TEST_F(SafeWrite, AFullDeviceIsAFailureNeverASuccess) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::string why;
  EXPECT_FALSE(WriteFileSafely("/dev/full", kNew, why));
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

// A stream whose disk fills (or meets a file-size limit) part way through a write ends at the
// last Append stored whole: never in the middle of a line, and it says how many it holds.
TEST_F(SafeWrite, AStreamCutShortEndsAtItsLastWholeAppend) {
  for (const size_t room : {0, 7, 8, 9, 30, 31}) {
    SCOPED_TRACE(room);
    fs::remove("stream");
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open("stream"));
    writer.Append("head\n");
    ASSERT_TRUE(writer.Publish());
    auto left = std::make_shared<size_t>(room);
    SaveFileOps ops;
    const SaveFileOps posix = PosixSaveFileOps();
    ops.Write = [posix, left](int fd, const uint8_t* data, size_t size) -> ssize_t {
      if (*left == 0) return errno = EFBIG, -1;
      const size_t n = std::min(size, *left);
      *left -= n;
      return posix.Write(fd, data, n);
    };
    SetSaveFileOps(ops);
    for (int frame = 1; frame <= 4; ++frame)
      writer.Append("frame " + std::to_string(frame) + "\n");  // 8 bytes each
    EXPECT_FALSE(writer.Commit());
    ResetSaveFileOps();
    EXPECT_TRUE(writer.Failed());
    const size_t frames = room / 8;
    EXPECT_EQ(writer.WholeAppends(), 1 + frames);
    EXPECT_EQ(ReadFileBytes("stream").size(), 5 + 8 * frames);
    EXPECT_EQ(NamesHere(), (std::vector<std::string>{"stream"}));
  }
}

// A file made read-only is kept by every writer, for every user: root too, who could write it.
TEST_F(SafeWrite, AReadOnlyTargetIsRefusedWhoeverRunsTheGame) {
  for (const mode_t mode : {0444, 0400, 0555}) {
    SCOPED_TRACE(mode);
    WriteFileBytes("kept", kOld);
    ASSERT_EQ(chmod("kept", mode), 0);
    std::string why;
    EXPECT_FALSE(WriteFileSafely("kept", kNew, why));
    EXPECT_NE(why.find("read-only"), std::string::npos) << why;
    SafeFileWriter stream;
    EXPECT_FALSE(stream.Open("kept"));
    EXPECT_EQ(ReadFileBytes("kept"), kOld);
    EXPECT_EQ(NamesHere(), (std::vector<std::string>{"kept"}));
    chmod("kept", 0644);
  }
}

}  // namespace
