// ravelon-sim --overlay: the window's overlay composed into the shot. It adds the message or the
// picker's marks and nothing else; the game's own picture and trace are the same as without it.
// Also Ctrl+L end to end: the edits a run kept in recovery/ offered at the next start, loaded
// as one step that Ctrl+Z takes back, and a damaged pair refused.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "platform/bmp.h"
#include "sim_process.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

struct Area {
  int Left = 816, Top = 300, Right = -1, Bottom = -1;  // inclusive; empty when Right < Left
  int Pixels = 0;
};

class OverlayShotTest : public ::testing::Test {
 protected:
  void SetUp() override { CopyArtTo(Dir.Path()); }
  std::string Path(const std::string& name) const { return (fs::path(Dir.Path()) / name).string(); }
  // Runs the script for `frames` passes; returns the shot's pixels and keeps the trace.
  std::vector<uint32_t> Shot(const std::string& script, int frames, bool overlay,
                             const std::string& trace = "t.trace") const {
    WriteText(Path("in.txt"), script);
    std::vector<std::string> args = {"--dir",    Dir.Path(),     "--frames", std::to_string(frames),
                                     "--script", Path("in.txt"), "--shot",   Path("s.bmp"),
                                     "--trace",  Path(trace)};
    if (overlay) args.push_back("--overlay");
    const SimResult r = RunSimBinary(args, Dir.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    const auto image = LoadBmpFile(Path("s.bmp"));
    EXPECT_TRUE(image);
    return image ? image->argb : std::vector<uint32_t>{};
  }
  static Area Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    Area area;
    for (int y = 0; y < 300 && a.size() == b.size() && !a.empty(); ++y)
      for (int x = 0; x < 816; ++x) {
        const size_t i = static_cast<size_t>(y) * 816 + x;
        if ((a[i] & 0xFFFFFF) == (b[i] & 0xFFFFFF)) continue;
        area = {std::min(area.Left, x), std::min(area.Top, y), std::max(area.Right, x),
                std::max(area.Bottom, y), area.Pixels + 1};
      }
    return area;
  }
  std::string LastGridLine(const std::string& trace) const {
    std::string last;
    for (const std::string& line : SplitLines(ReadText(Path(trace))))
      if (line.rfind("grid ", 0) == 0) last = line;
    return last;
  }
  std::string FirstGridLine(const std::string& trace) const {
    for (const std::string& line : SplitLines(ReadText(Path(trace))))
      if (line.rfind("grid ", 0) == 0) return line;
    return {};
  }
  ScopedWorkDir Dir;
};

constexpr const char* kSave = "2 key 83 down\n3 key 83 up\n";

TEST_F(OverlayShotTest, ASaveShotDiffersFromThePlainOneOnlyInTheMessagesBand) {
  const auto plain = Shot(kSave, 6, false, "plain.trace");
  const auto with = Shot(kSave, 6, true, "with.trace");
  EXPECT_EQ(ReadText(Path("plain.trace")), ReadText(Path("with.trace")));
  const Area area = Differences(plain, with);
  ASSERT_GT(area.Pixels, 200);
  // One line of text, centred at the top: "Map saved at HH:MM:SS" and its band.
  EXPECT_GE(area.Top, 4);
  EXPECT_LE(area.Bottom, 4 + 16);
  EXPECT_GE(area.Left, 408 - 11 * 8 - 2);
  EXPECT_LE(area.Right, 408 + 11 * 8 + 2);
  // Without --overlay the shot is the picture alone, whatever happened.
  EXPECT_EQ(Differences(plain, Shot("", 6, false)).Pixels, 0);
}

TEST_F(OverlayShotTest, F1GivesAShotThatDiffersFromThePlainOneOnlyOverTheHelp) {
  // F1 at the third pass: the game ran two passes, then waited under the help.
  const std::string help = "3 key 112 down\n4 key 112 up\n";
  const auto with_help = Shot(help, 6, true, "help.trace");
  const auto plain = Shot("", 2, true, "plain.trace");
  EXPECT_EQ(LastGridLine("help.trace"), LastGridLine("plain.trace"));
  const Area area = Differences(plain, with_help);
  ASSERT_GT(area.Pixels, 5000);
  // Inside the help's panel (4 pixels in from every edge of the picture).
  EXPECT_GE(area.Left, 4);
  EXPECT_GE(area.Top, 4);
  EXPECT_LE(area.Right, 816 - 5);
  EXPECT_LE(area.Bottom, 300 - 5);
  // The picture under it is the game's own, the same as without F1.
  EXPECT_EQ(Differences(Shot(help, 6, false), Shot("", 2, false)).Pixels, 0);
}

TEST_F(OverlayShotTest, AReadOnlyMapGivesAnotherMessageThanASaveThatWorks) {
  const auto saved = Shot(kSave, 6, true);
  fs::permissions(Path("BlockMap75x54.raw"), fs::perms::owner_read);
  const auto refused = Shot(kSave, 6, true);
  const auto plain = Shot(kSave, 6, false);
  const Area between = Differences(saved, refused);
  EXPECT_GT(between.Pixels, 50);
  EXPECT_LE(between.Bottom, 20);
  EXPECT_GT(Differences(plain, refused).Pixels, 200);  // the refusal is shown, not silent
}

TEST_F(OverlayShotTest, ThePickerSquareUnderThePointerIsOutlinedAndTheShadedRowsDimmed) {
  // Pointer over column 3, row 1 of the sheet (block style 35); the chosen styles stay 0.
  const std::string hover = "2 mouse 444 26\n";
  const auto plain = Shot(hover, 4, false);
  const auto with = Shot(hover, 4, true);
  const auto pixel = [](const std::vector<uint32_t>& p, int x, int y) {
    return p[static_cast<size_t>(y) * 816 + x] & 0xFFFFFF;
  };
  // The outline runs one pixel outside the 8-pixel square at (440, 24).
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(pixel(with, 439 + i, 23), 0xFFFF00u) << i;
    EXPECT_EQ(pixel(with, 439 + i, 32), 0xFFFF00u) << i;
  }
  EXPECT_EQ(pixel(with, 444, 28), pixel(plain, 444, 28));  // the square itself shows as it is
  // The shaded copies (rows 16..23, y 144..207) are darker everywhere off their caption.
  EXPECT_LT(pixel(with, 420, 146) & 0xFF, (pixel(plain, 420, 146) & 0xFF) + 1u);
  EXPECT_NE(pixel(with, 420, 146), pixel(plain, 420, 146));
  // The left view is untouched.
  for (int y = 40; y < 288; y += 7)
    for (int x = 0; x < 400; x += 5)
      ASSERT_EQ(pixel(with, x, y), pixel(plain, x, y)) << x << "," << y;
}

TEST_F(OverlayShotTest, CtrlLBringsBackTheKeptStrokeAsOneStepAndRefusesADamagedPair) {
  // A first run paints a stroke and quits with Escape: the stroke is kept in recovery/.
  Shot("5 mouse 150 120\n5 button 1 down\n7 mouse 182 120\n9 button 1 up\n12 key 27 down\n", 20,
       false, "first.trace");
  const std::string painted = LastGridLine("first.trace");
  ASSERT_TRUE(fs::is_directory(Path("recovery")));
  // The map files stay older than the kept pair: the next start offers it.
  const auto offered = Shot("", 2, true);
  const auto plain = Shot("", 2, false);
  EXPECT_GT(Differences(plain, offered).Pixels, 300);

  const std::string ctrl_l = "2 key 17 down\n2 key 76 down\n3 key 76 up\n3 key 17 up\n";
  Shot(ctrl_l, 5, false, "loaded.trace");
  EXPECT_EQ(LastGridLine("loaded.trace"), painted);
  EXPECT_NE(FirstGridLine("loaded.trace"), painted);
  Shot(ctrl_l + "6 key 17 down\n6 key 90 down\n7 key 90 up\n7 key 17 up\n", 9, false,
       "undone.trace");
  EXPECT_EQ(LastGridLine("undone.trace"), FirstGridLine("undone.trace"));

  // Half a pair: nothing changes.
  for (const auto& entry : fs::directory_iterator(Path("recovery")))
    if (entry.path().string().find("BlockMap") != std::string::npos) fs::remove(entry.path());
  Shot(ctrl_l, 5, false, "refused.trace");
  EXPECT_EQ(LastGridLine("refused.trace"), FirstGridLine("refused.trace"));
}

}  // namespace
