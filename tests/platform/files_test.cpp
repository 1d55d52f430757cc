// Files and the console: lengths, byte streams, backslashes in paths, the whole-file size
// limit, and the CR LF ending of a console line.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

#include "platform/console.h"
#include "platform/files.h"
#include "support/test_env.h"

TEST(Files, LengthReadWriteAndBackslashes) {
  ScopedWorkDir dir;
  EXPECT_EQ(FileLength("missing.raw"), -1);
  EXPECT_EQ(FileLength("."), -1);  // a folder is no file
  WriteFileBytes("map.raw", std::vector<unsigned char>(4050, 3));
  EXPECT_EQ(FileLength("map.raw"), 4050);
  EXPECT_EQ(NormalisePath("a\\b\\c.bmp"), "a/b/c.bmp");
  ASSERT_EQ(mkdir("sub", 0755), 0);
  auto out = OpenFileForWrite("sub\\out.raw");
  ASSERT_TRUE(out);
  out->WriteByte(0x141);  // low 8 bits only
  out->WriteByte(-1);
  EXPECT_TRUE(out->Close());
  EXPECT_EQ(FileLength("sub/out.raw"), 2);
  auto in = OpenFileForRead("sub\\out.raw");
  ASSERT_TRUE(in);
  EXPECT_EQ(in->ReadByte(), 0x41);
  EXPECT_EQ(in->ReadByte(), 0xFF);
  EXPECT_EQ(in->ReadByte(), 0);  // past the end
  EXPECT_FALSE(OpenFileForRead("missing.raw"));
  EXPECT_FALSE(OpenFileForWrite("no_dir/x.raw"));
  // Writing empties an existing file first.
  OpenFileForWrite("map.raw")->Close();
  EXPECT_EQ(FileLength("map.raw"), 0);
}

TEST(Files, ReadWholeFileRespectsItsLimit) {
  ScopedWorkDir dir;
  WriteFileBytes("data", {1, 2, 3});
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadWholeFile("data", bytes));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_FALSE(ReadWholeFile("data", bytes, 2));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(ReadWholeFile("missing", bytes));
  WriteFileBytes("empty", {});
  EXPECT_TRUE(ReadWholeFile("empty", bytes));
}

TEST(Console, PrintLineWritesCarriageReturnAndLineFeed) {
  ScopedWorkDir dir;
  SetConsoleSink(nullptr);
  std::fflush(stdout);
  const int saved = dup(fileno(stdout));
  std::FILE* capture = std::fopen("stdout.txt", "wb");
  ASSERT_TRUE(capture);
  dup2(fileno(capture), fileno(stdout));
  PrintLine("---");
  // Flushed at once: the bytes are in the file before stdout is restored.
  const int64_t length = FileLength("stdout.txt");
  dup2(saved, fileno(stdout));
  close(saved);
  std::fclose(capture);
  EXPECT_EQ(length, 5);
  EXPECT_EQ(ReadFileBytes("stdout.txt"),
            (std::vector<unsigned char>{0x2D, 0x2D, 0x2D, 0x0D, 0x0A}));
  std::vector<std::string> lines;
  SetConsoleSink([&](const std::string& line) { lines.push_back(line); });
  PrintLine("captured");
  SetConsoleSink(nullptr);
  EXPECT_EQ(lines, (std::vector<std::string>{"captured"}));
}
