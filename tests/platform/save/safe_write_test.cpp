// The safe writer: whatever sits at a name, and whichever call fails, the target holds the old
// file or the whole new one, nothing is written through a link and no side file is left.
#include "platform/save/safe_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

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

}  // namespace
