// Golden traces: scripted runs whose traces are kept in tests/sim/golden. A change in the
// game's behaviour shows as the first frame where the trace differs. scripts/refresh-golden.sh
// rewrites them on purpose. Most scripts play on the built-in dummy map, which only the code
// decides, so a redrawn default level does not stale them; a "# level: default" line plays the
// default level's map files instead, and a "# maps: NAME" line (a golden test made from a
// recording of play by scripts/replay-to-golden.sh) the recorded map files in tests/sim/maps/NAME.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "sim_process.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

const fs::path kGolden = fs::path(RAVELON_SOURCE_DIR) / "tests/sim/golden";

// "" when equal, else where and how the two traces part.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  const auto want = SplitLines(expected), got = SplitLines(actual);
  std::string frame = "start";
  for (size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
    const std::string w = i < want.size() ? want[i] : "<end of trace>";
    const std::string g = i < got.size() ? got[i] : "<end of trace>";
    if (w.rfind("frame ", 0) == 0) frame = w;
    if (w != g) {
      return "first difference in " + frame + " (line " + std::to_string(i + 1) +
             ")\n  golden: " + w + "\n  now:    " + g;
    }
  }
  return "";
}

class GoldenTraceTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenTraceTest, MatchesTheKeptTrace) {
  const fs::path script = GoldenScriptPath(GetParam());
  const fs::path golden = kGolden / (GetParam() + ".trace");
  // A script without its trace would guard nothing while looking green.
  ASSERT_TRUE(fs::is_regular_file(golden))
      << "no golden trace " << golden.string() << ": run scripts/refresh-golden.sh and review it";
  ScopedWorkDir dir;
  const std::string text = ReadText(script.string());
  CopyArtTo(dir.Path(), OnDefaultLevel(text));
  CopyRecordedMaps(text, dir.Path());
  const std::string trace = (fs::path(dir.Path()) / "run.trace").string();
  const SimResult run = RunSimBinary({"--dir", dir.Path(), "--script", script.string(), "--frames",
                                      std::to_string(FramesOf(text)), "--trace", trace});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string difference = FirstDifference(ReadText(golden.string()), ReadText(trace));
  EXPECT_EQ(difference, "") << GetParam() << ": " << difference;
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenTraceTest, ::testing::ValuesIn(GoldenScriptNames()),
                         [](const auto& info) { return info.param; });

TEST(GoldenCompareTest, NamesTheFrameOfTheFirstDifference) {
  const std::string a = "frame 1\nseed 5\nframe 2\nseed 6\nframe 3\nseed 7\n";
  EXPECT_EQ(FirstDifference(a, a), "");
  const std::string b = "frame 1\nseed 5\nframe 2\nseed 9\nframe 3\nseed 7\n";
  EXPECT_NE(FirstDifference(a, b).find("frame 2 (line 4)"), std::string::npos);
  EXPECT_NE(FirstDifference(a, "frame 1\nseed 5\n").find("<end of trace>"), std::string::npos);
  EXPECT_EQ(FramesOf("# frames: 150\n2 close\n"), 150);
  EXPECT_TRUE(OnDefaultLevel("# frames: 3\n# level: default\n"));
  EXPECT_FALSE(OnDefaultLevel("# frames: 3\n"));
}

}  // namespace
