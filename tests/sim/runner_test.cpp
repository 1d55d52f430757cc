// The runner as a program: its command line, exit codes, output streams and determinism.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/bmp.h"
#include "sim_process.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

int CountLines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> FrameLines(const std::string& trace) {
  std::vector<std::string> frames;
  for (const auto& line : SplitLines(trace))
    if (line.rfind("frame ", 0) == 0) frames.push_back(line);
  return frames;
}

class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override { CopyArtTo(Dir.Path()); }
  std::string Path(const std::string& name) const { return (fs::path(Dir.Path()) / name).string(); }
  std::string Script(const std::string& text) const {
    WriteText(Path("input.txt"), text);
    return Path("input.txt");
  }
  SimResult Run(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--dir", Dir.Path()});
    return RunSimBinary(args, Dir.Path());
  }
  ScopedWorkDir Dir;
};

TEST_F(RunnerTest, BadArgumentsExitTwoWithOneLineAndRunNothing) {
  const std::vector<std::vector<std::string>> cases = {{"--frobnicate"},
                                                       {"stray"},
                                                       {"--frames"},
                                                       {"--frames", "-1"},
                                                       {"--frames", "x"},
                                                       {"--frames", "3x"},
                                                       {"--frames", ""},
                                                       {"--bench=yes"},
                                                       {"--water=1"},
                                                       {"--script"},
                                                       {"--trace", ""},
                                                       {"--dir", Path("nowhere")},
                                                       {"--script", Path("missing.txt")},
                                                       {"--trace", Path("no/such/folder/t")},
                                                       {"--script", "/dev/zero"},
                                                       {"--script", Dir.Path()}};
  for (const auto& args : cases) {
    const SimResult r = Run(args);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_EQ(CountLines(r.err), 1) << args[0] << ": " << r.err;
    EXPECT_EQ(r.out, "") << args[0];
  }
}

TEST_F(RunnerTest, AScriptErrorNamesItsLine) {
  const SimResult r = Run({"--script", Script("# ok\n1 key 39 down\n\n4 key 300 down\n5 close\n")});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(CountLines(r.err), 1) << r.err;
  EXPECT_NE(r.err.find("line 4"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("300"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

// Asked-for help is the run's output, so it can be paged or searched.
TEST_F(RunnerTest, HelpGoesToStandardOutputAndNamesTheOptions) {
  const SimResult r = RunSimBinary({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  for (const char* option : {"--dir", "--frames", "--script", "--trace", "--shot", "--bench",
                             "--stress", "--water", "--replay"})
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

// An endless standard input is cut off at the file size limit, not read until memory runs out.
TEST_F(RunnerTest, AnEndlessScriptOnStandardInputIsRefused) {
  const SimResult r = RunSimBinary({"--dir", Dir.Path(), "--script", "-"}, Dir.Path(), "/dev/zero");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("larger than"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(RunnerTest, FramesZeroRunsStartUpOnly) {
  const SimResult r = Run({"--frames", "0", "--trace", Path("t")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadText(Path("t")), "");
  EXPECT_EQ(r.out.rfind("---\r\nPIXEL_SHIFT:\t\t16\r\n", 0), 0u);
  EXPECT_NE(r.out.find("\r\nTMain default state.\r\n"), std::string::npos);
}

TEST_F(RunnerTest, StandardOutputHoldsOnlyConsoleLinesEndingInCrLf) {
  const SimResult r = Run({"--frames", "3", "--trace", Path("t"), "--bench"});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_FALSE(r.out.empty());
  for (const auto& line : SplitLines(r.out))
    EXPECT_EQ(line.back(), '\r') << line;
  EXPECT_NE(r.err.find("bench:"), std::string::npos);
  // --bench adds nothing to standard output: the timing run keeps its console lines.
  EXPECT_EQ(Run({"--frames", "3"}).out, r.out);
}

TEST_F(RunnerTest, TraceToStandardOutputInterleavesWithTheConsole) {
  const SimResult to_file = Run({"--frames", "4", "--trace", Path("t")});
  const SimResult to_stdout = Run({"--frames", "4", "--trace", "-"});
  ASSERT_EQ(to_stdout.status, 0);
  std::string trace_part;
  for (const auto& line : SplitLines(to_stdout.out))
    if (line.empty() || line.back() != '\r') trace_part += line + "\n";
  EXPECT_EQ(trace_part, ReadText(Path("t")));
  EXPECT_EQ(FrameLines(trace_part),
            (std::vector<std::string>{"frame 1", "frame 2", "frame 3", "frame 4"}));
  // The console lines of start-up come before the first frame of the trace.
  EXPECT_LT(to_stdout.out.find("TMain default state."), to_stdout.out.find("frame 1\n"));
}

TEST_F(RunnerTest, TraceLinesComeInTheDocumentedOrder) {
  ASSERT_EQ(Run({"--frames", "2", "--trace", Path("t")}).status, 0);
  const auto lines = SplitLines(ReadText(Path("t")));
  std::vector<std::string> words;
  for (const auto& line : lines)
    words.push_back(line.substr(0, line.find(' ')));
  ASSERT_GE(words.size(), 7u);
  EXPECT_EQ(words[0], "frame");
  EXPECT_EQ(lines[1].rfind("actor 0 ", 0), 0u);
  size_t i = 1;
  while (i < words.size() && words[i] == "actor")
    ++i;
  ASSERT_LE(i + 5, words.size());
  EXPECT_EQ(lines[i].rfind("camera 0 ", 0), 0u);
  EXPECT_EQ(lines[i + 1].rfind("camera 1 ", 0), 0u);
  EXPECT_EQ(words[i + 2], "grid");
  EXPECT_EQ(words[i + 3], "count");
  EXPECT_EQ(words[i + 4], "seed");
  EXPECT_EQ(lines[i + 5], "frame 2");
  for (const auto& line : lines) {
    if (line.rfind("actor ", 0) == 0) {
      EXPECT_EQ(std::count(line.begin(), line.end(), ' '), 15);
    }
  }
}

TEST_F(RunnerTest, EscapeOrCloseEndsTheRunEarlyAfterThatWholePass) {
  Script("3 key 27 down\n");
  SimResult r = Run({"--frames", "10", "--script", Path("input.txt"), "--trace", Path("t")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(FrameLines(ReadText(Path("t"))).size(), 3u);
  Script("2 close\n");
  r = Run({"--frames", "10", "--script", Path("input.txt"), "--trace", Path("t")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(FrameLines(ReadText(Path("t"))).size(), 2u);
  // Events after the last frame run are never delivered.
  Script("9 key 27 down\n");
  r = Run({"--frames", "4", "--script", Path("input.txt"), "--trace", Path("t")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(FrameLines(ReadText(Path("t"))).size(), 4u);
}

// The blocks of the trace, one per frame.
std::vector<std::string> FrameBlocks(const std::string& trace) {
  std::vector<std::string> blocks;
  for (const auto& line : SplitLines(trace)) {
    if (line.rfind("frame ", 0) == 0) blocks.emplace_back();
    if (!blocks.empty()) blocks.back() += line + "\n";
  }
  return blocks;
}

TEST_F(RunnerTest, TheEventsOfFrameFReachPassF) {
  auto trace_of = [&](const std::string& script) {
    Script(script);
    EXPECT_EQ(Run({"--frames", "3", "--script", Path("input.txt"), "--trace", Path("t")}).status,
              0);
    return FrameBlocks(ReadText(Path("t")));
  };
  const auto idle = trace_of("");
  const auto at_two = trace_of("2 key 39 down\n");
  ASSERT_EQ(idle.size(), 3u);
  ASSERT_EQ(at_two.size(), 3u);
  EXPECT_EQ(at_two[0], idle[0]);
  EXPECT_NE(at_two[1], idle[1]);
  EXPECT_NE(trace_of("1 key 39 down\n")[0], idle[0]);
}

TEST_F(RunnerTest, ASpacePauseIsCountedNotSlept) {
  Script("2 key 32 down\n3 key 32 up\n5 key 32 down\n");
  const auto start = std::chrono::steady_clock::now();
  const SimResult r = Run({"--frames", "6", "--script", Path("input.txt"), "--bench"});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("space pauses counted 2"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("warning"), std::string::npos) << r.err;
}

TEST_F(RunnerTest, PathsAreTakenFromTheStartFolderNotFromDir) {
  fs::create_directory(Path("level"));
  CopyArtTo(Path("level"));
  const SimResult r = RunSimBinary(
      {"--dir", "level", "--frames", "1", "--trace", "relative.trace", "--shot", "relative.bmp"},
      Dir.Path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(Path("relative.trace")));
  EXPECT_TRUE(fs::exists(Path("relative.bmp")));
  EXPECT_FALSE(fs::exists(Path("level/relative.trace")));
}

TEST_F(RunnerTest, TheShotIsAn816By300TwentyFourBitBitmap) {
  ASSERT_EQ(Run({"--frames", "2", "--shot", Path("s.bmp")}).status, 0);
  const std::string bytes = ReadText(Path("s.bmp"));
  ASSERT_EQ(bytes.size(), 54u + 816u * 3u * 300u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24);  // bits per pixel
  const auto decoded = LoadBmpFile(Path("s.bmp"));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->width, 816);
  EXPECT_EQ(decoded->height, 300);
}

// Nothing the runner writes goes through a link or replaces a FIFO or a device, and a write that
// fails is never a success.
TEST_F(RunnerTest, AnOutputThatCannotBeWrittenIsAFailureAndReplacesNothing) {
  WriteText(Path("victim"), "kept");
  fs::create_symlink(Path("victim"), Path("link"));
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0644), 0);
  const std::vector<std::vector<std::string>> cases = {
      {"--trace", "/dev/full"}, {"--trace", Path("link")}, {"--trace", Path("fifo")},
      {"--shot", Path("link")}, {"--shot", Path("fifo")},  {"--shot", "/dev/null"}};
  for (const auto& args : cases) {
    const SimResult r = Run({"--frames", "1", args[0], args[1]});
    EXPECT_NE(r.status, 0) << args[1];
    EXPECT_NE(r.err.find("cannot write the"), std::string::npos) << args[1] << ": " << r.err;
  }
  EXPECT_EQ(ReadText(Path("victim")), "kept");
  EXPECT_TRUE(fs::is_symlink(Path("link")));
  EXPECT_TRUE(fs::is_fifo(Path("fifo")));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(Dir.Path()))
    if (entry.path().filename().string().find(".writing-") != std::string::npos)
      left.push_back(entry.path().string());
  EXPECT_TRUE(left.empty()) << left.front();
}

// The play folder's own files are refused as outputs, as the game refuses them: exit 2, a line
// naming the file, and every file as it was, whichever way the name is spelt.
TEST_F(RunnerTest, ThePlayFoldersOwnFilesAreNeverAnOutput) {
  fs::create_directory(Path("elsewhere"));
  const std::vector<std::vector<std::string>> cases = {
      {"--trace", "BGMap75x54.raw"}, {"--shot", "BlockMap75x54.raw"},
      {"--wav", "AllTiles8.bmp"},    {"--trace", "elsewhere/../ravelon-save.journal"},
      {"--wav", "jump.sfx"},         {"--replay", "r.txt", "--unpack", "."}};
  WriteText(Path("jump.sfx"), "a recipe");
  WriteText(Path("r.txt"), "not read");
  std::map<std::string, std::string> before;
  for (const auto& entry : fs::directory_iterator(Dir.Path()))
    if (entry.is_regular_file()) before[entry.path().string()] = ReadText(entry.path().string());
  for (const auto& args : cases) {
    std::vector<std::string> run = args;
    if (args[0] != "--replay") run.insert(run.begin(), {"--frames", "3"});
    const SimResult r = Run(run);
    EXPECT_EQ(r.status, 2) << args[1];
    const std::string named = args[0] == "--replay" ? "BGMap75x54.raw" : args[1];
    EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("which the game reads"), std::string::npos) << r.err;
    EXPECT_EQ(CountLines(r.err), 1) << r.err;
  }
  std::map<std::string, std::string> after;
  for (const auto& entry : fs::directory_iterator(Dir.Path()))
    if (entry.is_regular_file()) after[entry.path().string()] = ReadText(entry.path().string());
  EXPECT_EQ(after, before);
}

// A trace that cannot be written to the end (a file-size limit, as a full disk) is a failure
// that says at which frame it stopped, and leaves no trace cut short, nor a side file.
TEST_F(RunnerTest, ATraceCutShortIsAFailureThatSaysWhere) {
  const std::string command = "cd '" + Dir.Path() + "' && ulimit -f 16 && '" + SimBinary() +
                              "' --frames 300 --trace run.trace >/dev/null 2>err.txt";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  const std::string err = ReadText(Path("err.txt"));
  EXPECT_NE(err.find("cannot write the trace run.trace: writing failed (File too large) at frame "),
            std::string::npos)
      << err;
  EXPECT_EQ(CountLines(err), 1) << err;
  for (const auto& entry : fs::directory_iterator(Dir.Path()))
    EXPECT_EQ(entry.path().filename().string().find("run.trace"), std::string::npos);
}

// What a killed run left beside its output goes with the next run writing that output; a file
// someone put at such a name, or one of a run still going, stays.
TEST_F(RunnerTest, AKilledRunsLeftoverGoesWithTheNextRun) {
  const std::string gone = std::to_string(EndedProcess());
  const std::string killed = Path("run.trace.writing-" + gone + "-0");
  const std::string empty = Path("run.trace.writing-" + gone + "-1");
  const std::string theirs = Path("run.trace.writing-" + gone + "-2");
  const std::string running = Path("run.trace.writing-1-0");
  WriteText(killed, "frame 1\nactor 0 1 2\nframe 2\n");
  WriteText(empty, "");
  WriteText(theirs, "my notes");
  WriteText(running, "frame 1\n");
  const SimResult r = Run({"--frames", "2", "--trace", Path("run.trace")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(fs::exists(killed));
  EXPECT_FALSE(fs::exists(empty));
  EXPECT_EQ(ReadText(theirs), "my notes");
  EXPECT_EQ(ReadText(running), "frame 1\n");
}

TEST_F(RunnerTest, TheSameScriptGivesTheSameTraceAndShot) {
  Script(
      "2 key 39 down\n10 key 66 down\n14 key 66 up\n16 mouse 200 120\n17 key 70 down\n"
      "25 key 70 up\n26 button 1 down\n28 button 1 up\n");
  const std::vector<std::string> args = {"--frames", "40", "--script", Path("input.txt")};
  auto with = [&](std::vector<std::string> extra) {
    std::vector<std::string> all = args;
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
  };
  ASSERT_EQ(Run(with({"--trace", Path("a.trace"), "--shot", Path("a.bmp")})).status, 0);
  ASSERT_EQ(Run(with({"--trace", Path("b.trace"), "--shot", Path("b.bmp")})).status, 0);
  EXPECT_FALSE(ReadText(Path("a.trace")).empty());
  EXPECT_EQ(ReadText(Path("a.trace")), ReadText(Path("b.trace")));
  EXPECT_EQ(ReadText(Path("a.bmp")), ReadText(Path("b.bmp")));
}

TEST_F(RunnerTest, TheStressStateFillsTheMap) {
  const SimResult r = Run({"--frames", "1", "--stress", "--trace", Path("t")});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = SplitLines(ReadText(Path("t")));
  int actors = 0;
  for (const auto& line : lines)
    actors += line.rfind("actor ", 0) == 0;
  EXPECT_EQ(actors, 500);
  const auto count = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("count ", 0) == 0;
  });
  ASSERT_NE(count, lines.end());
  EXPECT_EQ(count->rfind("count 500 ", 0), 0u) << *count;
}

}  // namespace
