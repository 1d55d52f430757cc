// Build mode driven through the runner on the default level, judged by the trace and by the map
// files S writes: the held world, the play-test that comes back, each tool's exact cells and its
// one undo step, the starts, and a storm of switching that never sticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <compare>
#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "sim_process.h"
#include "support/test_env.h"

namespace {

constexpr int kW = 75, kH = 54;
constexpr int64_t kCellUnits = 1 << 20, kPixelUnits = 1 << 16;
constexpr uint8_t kNone = 255;
constexpr int kEnter = 13;

struct Frame {
  std::vector<std::string> Actors;
  std::string Grid, Count, Seed;
  int64_t CornerX = 0, CornerY = 0;  // the left view's
  // Everything but the frame number and the cameras.
  std::string World() const {
    std::string all;
    for (const std::string& a : Actors)
      all += a + "\n";
    return all + Grid + "\n" + Count + "\n" + Seed;
  }
};

struct Played {
  std::map<int, Frame> Frames;
  std::vector<unsigned char> BG, Blocks;  // the map files after the run
  int Status = -1;
  std::string Err;
};

std::vector<unsigned char> LevelFile(const char* name) {
  return ReadFileBytes(std::string(RAVELON_ART_DIR) + "/" + name);
}

Played Play(const std::string& script, int frames) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path(), true);
  WriteText(dir.Path() + "/input.txt", script);
  const SimResult r =
      RunSimBinary({"--dir", dir.Path(), "--script", dir.Path() + "/input.txt", "--frames",
                    std::to_string(frames), "--trace", dir.Path() + "/run.trace"},
                   dir.Path());
  Played run;
  run.Status = r.status;
  run.Err = r.err;
  int frame = 0;
  for (const std::string& line : SplitLines(ReadText(dir.Path() + "/run.trace"))) {
    if (line.rfind("frame ", 0) == 0) frame = std::stoi(line.substr(6));
    Frame& f = run.Frames[frame];
    if (line.rfind("actor ", 0) == 0) f.Actors.push_back(line);
    if (line.rfind("grid ", 0) == 0) f.Grid = line;
    if (line.rfind("count ", 0) == 0) f.Count = line;
    if (line.rfind("seed ", 0) == 0) f.Seed = line;
    if (line.rfind("camera 0 ", 0) == 0) {
      std::istringstream in(line.substr(9));
      int64_t x, y;
      in >> x >> y >> f.CornerX >> f.CornerY;
    }
  }
  run.BG = ReadFileBytes(dir.Path() + "/BGMap75x54.raw");
  run.Blocks = ReadFileBytes(dir.Path() + "/BlockMap75x54.raw");
  return run;
}

std::string F(int frame) {
  return std::to_string(frame) + " ";
}
std::string Tap(int frame, int key) {
  return F(frame) + "key " + std::to_string(key) + " down\n" + F(frame + 1) + "key " +
         std::to_string(key) + " up\n";
}
std::string CtrlTap(int frame, int key) {
  return F(frame) + "key 17 down\n" + Tap(frame, key) + F(frame + 1) + "key 17 up\n";
}
std::string Mouse(int frame, int x, int y) {
  return F(frame) + "mouse " + std::to_string(x) + " " + std::to_string(y) + "\n";
}
std::string Button(int frame, int button, bool down) {
  return F(frame) + "button " + std::to_string(button) + (down ? " down\n" : " up\n");
}
std::string Click(int frame, int x, int y, int button = 1) {
  return Mouse(frame, x, y) + Button(frame, button, true) + Button(frame + 1, button, false);
}
// The picker square of a block style (row 0 of the sheet for styles 0..31).
std::string PickBlock(int frame, int style) {
  return Click(frame, 416 + style * 8 + 4, 20);
}

struct Cell {
  int X, Y;
  auto operator<=>(const Cell&) const = default;
};
void PrintTo(const Cell& c, std::ostream* os) {
  *os << "(" << c.X << ", " << c.Y << ")";
}
size_t At(Cell c) {
  return static_cast<size_t>(c.Y) * kW + c.X;
}

// Where the left view's camera stands once build mode is on (Enter in frame 2): the cells the
// pointer's pixels fall in from then on.
class BuildScripts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const Played probe = Play(Tap(2, kEnter), 6);
    CornerX = probe.Frames.at(5).CornerX;
    CornerY = probe.Frames.at(5).CornerY;
    Level = LevelFile("BlockMap75x54.raw");
    LevelBG = LevelFile("BGMap75x54.raw");
  }
  // The middle of the cell's pixels in the window.
  static int PX(int cx) { return static_cast<int>((cx * kCellUnits - CornerX) / kPixelUnits) + 8; }
  static int PY(int cy) { return static_cast<int>((cy * kCellUnits - CornerY) / kPixelUnits) + 8; }
  static int CellOfPixelX(int px) { return static_cast<int>((px * kPixelUnits + CornerX) >> 20); }
  static bool InView(int cx, int cy) {
    return PX(cx) >= 8 && PX(cx) <= 392 && PY(cy) >= 8 && PY(cy) <= 280 && cx >= 1 && cy >= 1 &&
           cx <= 73 && cy <= 52;
  }
  // The top left of a w x h box of the level in view, inside the border ring, whose blocks are
  // all empty (`empty`) or hold at least one block.
  static Cell FindBox(int w, int h, bool empty, Cell after = {0, 0}) {
    for (int y = 1; y + h - 1 <= 52; ++y) {
      for (int x = 1; x + w - 1 <= 73; ++x) {
        if (!InView(x, y) || !InView(x + w - 1, y + h - 1)) continue;
        if (y * kW + x <= after.Y * kW + after.X) continue;
        int blocks = 0;
        for (int j = 0; j < h; ++j)
          for (int i = 0; i < w; ++i)
            blocks += Level[At({x + i, y + j})] != kNone;
        if (empty ? blocks == 0 : blocks > 0 && blocks < w * h) return {x, y};
      }
    }
    ADD_FAILURE() << "no such box in view";
    return {1, 1};
  }
  // The cells whose saved block differs from the level's.
  static std::map<Cell, int> Changed(const Played& run) {
    std::map<Cell, int> changed;
    EXPECT_EQ(run.Blocks.size(), Level.size());
    for (int y = 0; y < kH && run.Blocks.size() == Level.size(); ++y)
      for (int x = 0; x < kW; ++x)
        if (run.Blocks[At({x, y})] != Level[At({x, y})]) changed[{x, y}] = run.Blocks[At({x, y})];
    return changed;
  }

  static inline int64_t CornerX = 0, CornerY = 0;
  static inline std::vector<unsigned char> Level, LevelBG;
};

// Enter in frame 2, then build-mode input from frame 4.
const std::string kBuild = Tap(2, kEnter);

TEST_F(BuildScripts, TheWorldHoldsWhileBuildingAndPlayComesBackToTheLevelAsBuilt) {
  // 1,000 frames of build mode, then Enter: 600 frames of play, then Enter again and S.
  const Played r = Play(kBuild + Tap(1003, kEnter) + Tap(1603, kEnter) + Tap(1606, 83), 1610);
  ASSERT_EQ(r.Status, 0) << r.Err;
  for (int frame = 3; frame <= 1002; ++frame)
    ASSERT_EQ(r.Frames.at(frame).World(), r.Frames.at(2).World()) << "frame " << frame;
  // The actors stand at the built-in starts, as a restart puts them.
  ASSERT_GE(r.Frames.at(2).Actors.size(), 2u);
  EXPECT_EQ(r.Frames.at(2).Actors[0].rfind("actor 0 6291456 ", 0), 0u) << r.Frames.at(2).Actors[0];
  // Play changed the map (bricks broken, bad guys out) ...
  EXPECT_NE(r.Frames.at(1602).Grid, r.Frames.at(2).Grid);
  EXPECT_NE(r.Frames.at(1003).World(), r.Frames.at(1002).World());
  // ... and building again puts the level back exactly; S writes the level as built.
  EXPECT_EQ(r.Frames.at(1603).Grid, r.Frames.at(2).Grid);
  EXPECT_EQ(r.Frames.at(1609).World(), r.Frames.at(1603).World());
  EXPECT_EQ(r.Blocks, Level);
  EXPECT_EQ(r.BG, LevelBG);
  // The same play without build mode saves what play broke, as it always has; Enter after it
  // builds on the level as loaded, and S then saves that.
  const Played live = Play(Tap(600, 83), 605);
  EXPECT_NE(live.Blocks, Level);
  const Played late = Play(Tap(600, kEnter) + Tap(603, 83), 606);
  EXPECT_EQ(late.Frames.at(600).Grid, r.Frames.at(2).Grid);
  EXPECT_EQ(late.Blocks, Level);
}

TEST_F(BuildScripts, RectangleAndFloodFillChangeExactlyTheirCellsEachOneUndoStep) {
  // A room of style 23 (tool 3), filled with bricks (tool 5), then tool 4 on empty ground.
  const Cell room = FindBox(7, 5, true);
  const Cell a = room, b = {room.X + 6, room.Y + 4};
  const Cell inside = {room.X + 3, room.Y + 2};
  std::string s = kBuild + PickBlock(4, 23) + Tap(6, '3') + Mouse(8, PX(a.X), PY(a.Y)) +
                  Button(8, 1, true) + Mouse(10, PX(b.X), PY(b.Y)) + Button(12, 1, false) +
                  PickBlock(14, 20) + Tap(16, '5') + Click(18, PX(inside.X), PY(inside.Y)) +
                  Tap(22, 83) + CtrlTap(24, 'Z') + CtrlTap(27, 'Z');
  const Played r = Play(s, 30);
  ASSERT_EQ(r.Status, 0) << r.Err;
  std::map<Cell, int> expected;
  for (int y = a.Y; y <= b.Y; ++y)
    for (int x = a.X; x <= b.X; ++x)
      expected[{x, y}] = (x == a.X || x == b.X || y == a.Y || y == b.Y) ? 23 : 20;
  EXPECT_EQ(Changed(r), expected);
  EXPECT_EQ(r.Frames.at(24).Grid, r.Frames.at(17).Grid);  // one Ctrl+Z: the fill is gone
  EXPECT_EQ(r.Frames.at(27).Grid, r.Frames.at(11).Grid);  // another: the room is gone
  EXPECT_NE(r.Frames.at(17).Grid, r.Frames.at(11).Grid);

  const Cell c = FindBox(4, 3, true);
  const Played filled =
      Play(kBuild + PickBlock(4, 20) + Tap(6, '4') + Mouse(8, PX(c.X + 3), PY(c.Y + 2)) +
               Button(8, 1, true) + Mouse(9, PX(c.X + 1), PY(c.Y)) + Mouse(10, PX(c.X), PY(c.Y)) +
               Button(11, 1, false) + Tap(14, 83) + CtrlTap(16, 'Z'),
           20);
  expected.clear();
  for (int y = c.Y; y <= c.Y + 2; ++y)
    for (int x = c.X; x <= c.X + 3; ++x)
      expected[{x, y}] = 20;
  EXPECT_EQ(Changed(filled), expected);
  EXPECT_EQ(filled.Frames.at(16).Grid, filled.Frames.at(10).Grid);
}

TEST_F(BuildScripts, AFastBrushLeavesNoGapAndASelectionPastesExactly) {
  const Cell row = FindBox(13, 1, true);
  const int x0 = PX(row.X) - 6;
  std::string s = kBuild + PickBlock(4, 20) + Mouse(8, x0, PY(row.Y)) + Button(8, 1, true);
  for (int i = 1; i <= 4; ++i)
    s += Mouse(8 + i, x0 + 170 * i / 4, PY(row.Y));
  s += Button(13, 1, false) + Tap(16, 83) + CtrlTap(18, 'Z');
  const Played brush = Play(s, 22);
  ASSERT_EQ(brush.Status, 0) << brush.Err;
  std::map<Cell, int> expected;
  for (int x = CellOfPixelX(x0); x <= CellOfPixelX(x0 + 170); ++x)
    expected[{x, row.Y}] = 20;
  EXPECT_GE(expected.size(), 11u);
  EXPECT_EQ(Changed(brush), expected);
  EXPECT_EQ(brush.Frames.at(18).Grid, brush.Frames.at(7).Grid);

  // A 3x3 with blocks in it, copied onto empty ground; Escape drops the first paste and does
  // not quit.
  const Cell from = FindBox(3, 3, false);
  Cell to = FindBox(3, 3, true);
  const std::string paste = kBuild + Tap(4, '6') + Mouse(6, PX(from.X), PY(from.Y)) +
                            Button(6, 1, true) + Mouse(7, PX(from.X + 2), PY(from.Y + 2)) +
                            Button(8, 1, false) + CtrlTap(10, 'C') + CtrlTap(12, 'V') +
                            Tap(14, 27) + CtrlTap(16, 'V') + Mouse(18, PX(to.X), PY(to.Y)) +
                            Click(20, PX(to.X), PY(to.Y)) + Tap(24, 83) + CtrlTap(26, 'Z');
  const Played copied = Play(paste, 30);
  ASSERT_EQ(copied.Status, 0) << copied.Err;
  ASSERT_TRUE(copied.Frames.count(29)) << "Escape quit";
  expected.clear();
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i)
      if (Level[At({from.X + i, from.Y + j})] != kNone)
        expected[{to.X + i, to.Y + j}] = Level[At({from.X + i, from.Y + j})];
  EXPECT_EQ(Changed(copied), expected);
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(copied.BG[At({to.X + i, to.Y + j})], LevelBG[At({from.X + i, from.Y + j})]);
  EXPECT_EQ(copied.Frames.at(26).Grid, copied.Frames.at(19).Grid);
  EXPECT_NE(copied.Frames.at(21).Grid, copied.Frames.at(19).Grid);
}

TEST_F(BuildScripts, AStartPlacedWithToolSevenIsWhereThePlayerStarts) {
  const Cell c = FindBox(1, 2, true, {20, 0});
  const std::string s = kBuild + Tap(4, '7') + F(6) + "key 16 down\n" + Click(6, PX(c.X), PY(c.Y)) +
                        F(7) + "key 16 up\n" +
                        Click(9, PX(c.X), PY(c.Y), 2) +  // the player's start stays
                        Tap(12, kEnter);
  const Played r = Play(s, 14);
  ASSERT_EQ(r.Status, 0) << r.Err;
  ASSERT_FALSE(r.Frames.at(12).Actors.empty());
  std::istringstream in(r.Frames.at(12).Actors[0]);
  std::string word;
  int index;
  int64_t x, y;
  in >> word >> index >> x >> y;
  EXPECT_EQ(index, 0);
  EXPECT_EQ(x >> 20, c.X);
  EXPECT_EQ(y >> 20, c.Y);
  // While building the player stood there already.
  EXPECT_NE(r.Frames.at(8).Actors[0], r.Frames.at(5).Actors[0]);
  EXPECT_EQ(r.Frames.at(11).Actors[0], r.Frames.at(8).Actors[0]);
}

// The picture a run ends on, with or without the overlay over it.
std::string Shot(const std::string& script, int frames, bool overlay) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path(), true);
  WriteText(dir.Path() + "/input.txt", script);
  std::vector<std::string> args = {"--dir",    dir.Path(),
                                   "--script", dir.Path() + "/input.txt",
                                   "--frames", std::to_string(frames),
                                   "--shot",   dir.Path() + "/shot.bmp"};
  if (overlay) args.push_back("--overlay");
  EXPECT_EQ(RunSimBinary(args, dir.Path()).status, 0);
  return ReadText(dir.Path() + "/shot.bmp");
}

TEST_F(BuildScripts, TheGridAndTheMarksAreDrawnOverThePictureNeverIntoIt) {
  const std::string building = kBuild + Mouse(4, 150, 100) + Tap(6, '4');
  const std::string gridless = building + Tap(8, 'G');
  EXPECT_EQ(Shot(building, 10, false), Shot(gridless, 10, false));
  const std::string with_grid = Shot(building, 10, true);
  EXPECT_NE(with_grid, Shot(gridless, 10, true));
  EXPECT_NE(with_grid, Shot(building, 10, false));
}

TEST_F(BuildScripts, SwitchingThousandsOfTimesAmidEveryOtherKeyNeverSticks) {
  std::string s;
  // Every other frame an Enter; among them strokes, tools, R, L, T, S, Ctrl+Z and Ctrl+V in the
  // same frames, then a thousand presses in one frame.
  for (int f = 2; f < 2400; f += 2) {
    s += Tap(f, kEnter);
    if (f % 50 == 0) s += Button(f, 1, true) + Mouse(f + 1, 100 + f % 200, 120);
    if (f % 50 == 2) s += Button(f, 1, false);
    if (f % 94 == 0) s += Tap(f, '1' + f / 94 % 7);
    if (f % 122 == 0) s += Tap(f, 'R');
    if (f % 134 == 0) s += Tap(f, 'L');
    if (f % 146 == 0) s += Tap(f, 'T');
    if (f % 158 == 0) s += Tap(f, 'S');
    if (f % 170 == 0) s += CtrlTap(f, 'Z');
    if (f % 182 == 0) s += CtrlTap(f, 'V');
  }
  for (int i = 0; i < 1000; ++i)
    s += F(2500) + "key 13 down\n" + F(2500) + "key 13 up\n";
  s += Tap(2530, kEnter);
  const Played r = Play(s, 2560);
  ASSERT_EQ(r.Status, 0) << r.Err;
  ASSERT_TRUE(r.Frames.count(2559));
  // Whichever mode the storm left, it holds until the next Enter and the other after it: one
  // of the two stretches stands still, the other plays.
  auto still = [&](int first, int last) {
    for (int frame = first + 1; frame <= last; ++frame)
      if (r.Frames.at(frame).World() != r.Frames.at(first).World()) return false;
    return true;
  };
  EXPECT_NE(still(2501, 2529), still(2531, 2559));
}

}  // namespace
