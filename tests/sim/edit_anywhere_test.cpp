// Building anywhere, driven through the runner as a player drives the game: the free camera
// (arrows, wheel, the overview), the held world, play from the pointer, and the keys pressed all
// at once; judged by the trace and the saved map files.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "sim_process.h"
#include "support/test_env.h"

namespace {

constexpr int64_t kCell = 1 << 20;
constexpr int64_t kPixel = 1 << 16;
constexpr int64_t kCornerLimitX = 52428799;
constexpr int64_t kCornerLimitY = 37748735;
// The overview's first cell, in window pixels (2 pixels a cell).
constexpr int kOverviewX = 247;
constexpr int kOverviewY = 177;

// One frame of the trace, by kind of line.
struct Frame {
  std::string Actors;      // every actor line
  int64_t Camera[4] = {};  // the left view: centre x, y, corner x, y
  std::string Grid, Count, Seed;
  std::string World() const { return Actors + Grid + Count + Seed; }
};

struct Played {
  std::map<int, Frame> Frames;
  std::vector<unsigned char> Blocks, Backgrounds;  // the map files after the run
  std::vector<unsigned char> LoadedBlocks, LoadedBackgrounds;
  std::string Err;
};

std::string Key(int frame, int key) {
  return std::to_string(frame) + " key " + std::to_string(key) + " down\n" +
         std::to_string(frame + 1) + " key " + std::to_string(key) + " up\n";
}
std::string Tab(int frame) {
  return Key(frame, 9);
}
std::string Hold(int frame) {
  return Key(frame, 80);
}
std::string Line(int frame, const std::string& event) {
  return std::to_string(frame) + ' ' + event + '\n';
}

Played Play(const std::string& script, int frames) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path());
  WriteText(dir.Path() + "/input.txt", script);
  Played run;
  run.LoadedBlocks = ReadFileBytes(dir.Path() + "/BlockMap75x54.raw");
  run.LoadedBackgrounds = ReadFileBytes(dir.Path() + "/BGMap75x54.raw");
  const SimResult r =
      RunSimBinary({"--dir", dir.Path(), "--script", dir.Path() + "/input.txt", "--frames",
                    std::to_string(frames), "--trace", dir.Path() + "/run.trace"},
                   dir.Path());
  EXPECT_EQ(r.status, 0) << r.err;
  run.Err = r.err;
  int f = 0;
  for (const std::string& line : SplitLines(ReadText(dir.Path() + "/run.trace"))) {
    if (line.rfind("frame ", 0) == 0) f = std::stoi(line.substr(6));
    Frame& frame = run.Frames[f];
    if (line.rfind("actor ", 0) == 0) frame.Actors += line + '\n';
    if (line.rfind("camera 0 ", 0) == 0)
      std::sscanf(line.c_str(), "camera 0 %ld %ld %ld %ld", &frame.Camera[0], &frame.Camera[1],
                  &frame.Camera[2], &frame.Camera[3]);
    if (line.rfind("grid ", 0) == 0) frame.Grid = line;
    if (line.rfind("count ", 0) == 0) frame.Count = line;
    if (line.rfind("seed ", 0) == 0) frame.Seed = line;
  }
  run.Blocks = ReadFileBytes(dir.Path() + "/BlockMap75x54.raw");
  run.Backgrounds = ReadFileBytes(dir.Path() + "/BGMap75x54.raw");
  return run;
}

// The second hash of a grid line: the water levels.
std::string FillHash(const std::string& grid_line) {
  return grid_line.substr(5 + 17, 16);
}

// The cells (column, row) where two map files differ.
std::vector<std::pair<int, int>> Differences(const std::vector<unsigned char>& a,
                                             const std::vector<unsigned char>& b) {
  std::vector<std::pair<int, int>> cells;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (a[i] != b[i]) cells.emplace_back(static_cast<int>(i % 75), static_cast<int>(i / 75));
  return cells;
}

TEST(FreeCamera, ArrowsMoveTheViewAloneAndTabAgainGoesBackToThePlayer) {
  const std::string arrows = Line(10, "key 39 down") + Line(70, "key 39 up");
  const Played steered = Play(Tab(2) + arrows + Tab(100), 500);
  const Played still = Play(Tab(2) + Tab(100), 500);
  const Played plain = Play("", 500);
  for (int f = 1; f <= 500; ++f)
    ASSERT_EQ(steered.Frames.at(f).Actors, plain.Frames.at(f).Actors) << "frame " << f;
  // Six pixels a frame for the 60 frames the key is down; the view stands still around them.
  EXPECT_EQ(steered.Frames.at(69).Camera[2] - steered.Frames.at(9).Camera[2], 60 * 6 * kPixel);
  EXPECT_EQ(steered.Frames.at(69).Camera[3], steered.Frames.at(9).Camera[3]);
  EXPECT_EQ(steered.Frames.at(99).Camera[2], steered.Frames.at(70).Camera[2]);
  for (int f = 3; f < 100; ++f)
    ASSERT_EQ(still.Frames.at(f).Camera[2], still.Frames.at(2).Camera[2]) << "frame " << f;
  // Back with the player: the view comes to rest where the view that never left it rests.
  for (int i = 2; i < 4; ++i)
    EXPECT_NEAR(steered.Frames.at(500).Camera[i], plain.Frames.at(500).Camera[i], 2 * kPixel);
}

TEST(FreeCamera, TheWheelScrollsAndNothingTakesTheViewOffTheMap) {
  const std::string script = Tab(2) + Line(10, "wheel 0 -2") +  // down six cells
                             Line(20, "key 16 down") + Line(20, "wheel 0 -1") +
                             Line(21, "key 16 up") +                     // Shift: right three cells
                             Line(30, "wheel 2147483647 -2147483648") +  // far right and down
                             Line(40, "wheel -2147483648 2147483647") +  // far left and up
                             Line(50, "key 16 down") + Line(50, "key 39 down") +
                             Line(50, "key 40 down") + Line(1550, "key 39 up") +
                             Line(1550, "key 40 up") + Line(1550, "key 37 down") +
                             Line(1550, "key 38 down");
  const Played r = Play(script, 3000);
  EXPECT_EQ(r.Frames.at(10).Camera[3] - r.Frames.at(9).Camera[3], 6 * kCell);
  EXPECT_EQ(r.Frames.at(20).Camera[2] - r.Frames.at(19).Camera[2], 3 * kCell);
  EXPECT_EQ(r.Frames.at(30).Camera[2], kCornerLimitX);
  EXPECT_EQ(r.Frames.at(30).Camera[3], kCornerLimitY);
  EXPECT_EQ(r.Frames.at(40).Camera[2], 0);
  EXPECT_EQ(r.Frames.at(40).Camera[3], 0);
  for (const auto& [f, frame] : r.Frames) {
    ASSERT_GE(frame.Camera[2], 0) << "frame " << f;
    ASSERT_GE(frame.Camera[3], 0) << "frame " << f;
    ASSERT_LE(frame.Camera[2], kCornerLimitX) << "frame " << f;
    ASSERT_LE(frame.Camera[3], kCornerLimitY) << "frame " << f;
  }
  // Pushed against the far corner for 1500 frames, then back at once: one frame of
  // Shift and the arrows away from it is one step away.
  EXPECT_EQ(r.Frames.at(1549).Camera[2], kCornerLimitX);
  EXPECT_EQ(r.Frames.at(1550).Camera[2], kCornerLimitX - 24 * kPixel);
  EXPECT_EQ(r.Frames.at(3000).Camera[2], 0);
  EXPECT_EQ(r.Frames.at(3000).Camera[3], 0);
}

TEST(FreeCamera, TheOverviewMovesTheViewAndPaintsNothing) {
  const auto at = [](int cx, int cy) {
    return "mouse " + std::to_string(kOverviewX + 2 * cx) + ' ' +
           std::to_string(kOverviewY + 2 * cy);
  };
  // The world held, so only the editor could change a cell.
  const std::string script = Hold(1) + Tab(2) + Line(10, at(60, 40)) + Line(10, "button 1 down") +
                             Line(11, "button 1 up") + Line(20, at(26, 11)) +
                             Line(20, "button 2 down") +                         // a drag
                             Line(21, at(30, 12)) + Line(22, "mouse 100 100") +  // out of it
                             Line(23, "button 2 up") + Line(30, at(40, 20)) +
                             Line(30, "button 3 down") + Line(31, "button 3 up") +
                             Line(40, at(40, 20)) + Line(40, "key 70 down") + Line(45, "key 70 up");
  const Played r = Play(script, 50);
  // Centred on the cell's middle: 60.5 - 12.5 cells across, 40.5 - 9 down.
  EXPECT_EQ(r.Frames.at(10).Camera[2], 48 * kCell);
  EXPECT_EQ(r.Frames.at(10).Camera[3], 31 * kCell + kCell / 2);
  EXPECT_EQ(r.Frames.at(20).Camera[2], 14 * kCell);
  EXPECT_EQ(r.Frames.at(21).Camera[2], 18 * kCell);
  // Dragged off the overview, the view goes along to its nearest edge: the map's corner.
  EXPECT_EQ(r.Frames.at(22).Camera[2], 0);
  EXPECT_EQ(r.Frames.at(22).Camera[3], 0);
  for (int f = 2; f <= 50; ++f)
    ASSERT_EQ(r.Frames.at(f).Grid, r.Frames.at(1).Grid) << f;
}

TEST(FreeCamera, PaintingReachesAFarCellThroughTheView) {
  // Held, the view taken to the map's far corner, one click of the left button mid-view, saved.
  const std::string script = Hold(1) + Tab(2) + Line(5, "wheel 2147483647 -2147483648") +
                             Line(10, "mouse 200 150") + Line(10, "button 1 down") +
                             Line(11, "button 1 up") + Key(20, 83);
  const Played r = Play(script, 25);
  ASSERT_EQ(r.Frames.at(10).Camera[2], kCornerLimitX);
  const int cx = static_cast<int>((kCornerLimitX + 200 * kPixel) >> 20);
  const int cy = static_cast<int>((kCornerLimitY + 150 * kPixel) >> 20);
  auto changed = Differences(r.Blocks, r.LoadedBlocks);
  const auto bg = Differences(r.Backgrounds, r.LoadedBackgrounds);
  changed.insert(changed.end(), bg.begin(), bg.end());
  ASSERT_EQ(changed.size(), 1u) << r.Err;
  EXPECT_EQ(changed[0], std::make_pair(cx, cy));
}

TEST(WorldHeld, NothingMovesWhileHeldThePaintedStrokeAndPourLandAndPGoesOn) {
  const std::string script = Hold(1) + Line(100, "mouse 150 100") + Line(100, "button 1 down") +
                             Line(104, "mouse 200 100") + Line(106, "button 1 up") +
                             Line(200, "mouse 250 60") + Line(200, "key 70 down") +
                             Line(205, "key 70 up") + Hold(601);
  const Played r = Play(script, 640);
  for (int f = 2; f <= 600; ++f) {
    ASSERT_EQ(r.Frames.at(f).Actors, r.Frames.at(1).Actors) << "frame " << f;
    ASSERT_EQ(r.Frames.at(f).Count, r.Frames.at(1).Count) << "frame " << f;
  }
  // No random number is drawn until the paint, which picks tile variants.
  EXPECT_EQ(r.Frames.at(99).Seed, r.Frames.at(1).Seed);
  EXPECT_NE(r.Frames.at(110).Grid, r.Frames.at(99).Grid);
  // The poured water waits where it fell.
  EXPECT_NE(FillHash(r.Frames.at(206).Grid), FillHash(r.Frames.at(199).Grid));
  EXPECT_EQ(r.Frames.at(600).Grid, r.Frames.at(206).Grid);
  EXPECT_NE(r.Frames.at(640).Actors, r.Frames.at(600).Actors);
}

TEST(WorldHeld, LettingGoCarriesOnExactlyWhereTheWorldStopped) {
  const Played held = Play(Hold(5) + Hold(605), 900);
  const Played plain = Play("", 300);
  for (int f = 5; f <= 300; ++f)
    ASSERT_EQ(held.Frames.at(f + 600).World(), plain.Frames.at(f).World()) << "frame " << f;
}

TEST(WorldHeld, HeldFromTheStartSIsTheLoadedMapPlusTheStroke) {
  const std::string stroke = Line(100, "mouse 150 100") + Line(100, "button 1 down") +
                             Line(104, "mouse 182 100") + Line(106, "button 1 up");
  const Played held = Play(Hold(1) + stroke + Key(420, 83), 425);
  const Played free = Play(stroke + Key(420, 83), 425);
  const int row = static_cast<int>((held.Frames.at(100).Camera[3] + 100 * kPixel) >> 20);
  auto changed = Differences(held.Blocks, held.LoadedBlocks);
  const auto bg = Differences(held.Backgrounds, held.LoadedBackgrounds);
  changed.insert(changed.end(), bg.begin(), bg.end());
  ASSERT_FALSE(changed.empty());
  for (const auto& [cx, cy] : changed)
    EXPECT_EQ(cy, row) << "cell " << cx << ", " << cy;
  // Left to run, the bad guys break bricks in those seconds, and the save keeps that.
  EXPECT_GT(Differences(free.Blocks, free.LoadedBlocks).size(),
            Differences(held.Blocks, held.LoadedBlocks).size());
}

TEST(PlayFromPointer, TPutsThePlayerInAFreeCellAndNotIntoABlock) {
  // The world held so the player stands still while the view settles; T lets it go.
  const Played settled = Play(Hold(1), 300);
  const Frame& view = settled.Frames.at(299);
  // A free cell and a block cell in the view, from the loaded block file (row by row).
  std::string free_at, block_at;
  int64_t free_x = 0, free_y = 0;
  for (int y = 8; y < 280; y += 16) {
    for (int x = 8; x < 400; x += 16) {
      const int64_t cx = (view.Camera[2] + x * kPixel) >> 20;
      const int64_t cy = (view.Camera[3] + y * kPixel) >> 20;
      if (cx < 1 || cx > 73 || cy < 1 || cy > 52) continue;
      const std::string mouse = "mouse " + std::to_string(x) + ' ' + std::to_string(y);
      if (settled.LoadedBlocks.at(cy * 75 + cx) != 255) {
        block_at = mouse;
      } else if (free_at.empty()) {
        free_at = mouse;
        free_x = cx;
        free_y = cy;
      }
    }
  }
  ASSERT_FALSE(free_at.empty());
  ASSERT_FALSE(block_at.empty());
  const Played r = Play(Hold(1) + Line(300, free_at) + Key(300, 84), 302);
  const std::string expected = "actor 0 " + std::to_string(free_x * kCell + kCell / 2) + ' ' +
                               std::to_string((free_y + 1) * kCell - 1) + " 0 0 ";
  EXPECT_EQ(r.Frames.at(300).Actors.substr(0, expected.size()), expected);
  EXPECT_NE(r.Frames.at(301).Actors, r.Frames.at(300).Actors);  // the hold is off
  // Pointing at a block, at the gap, at the strip below the view and at the right view.
  for (const std::string& where : {block_at, std::string("mouse 405 100"),
                                   std::string("mouse 100 292"), std::string("mouse 600 100")}) {
    const Played blocked = Play(Hold(1) + Line(300, where) + Key(300, 84), 302);
    EXPECT_EQ(blocked.Frames.at(302).Actors, settled.Frames.at(299).Actors) << where;
  }
}

TEST(EditSwitches, EverySwitchAtOnceAndHugeInputNeverCrashNorLeaveTheMap) {
  std::string script;
  for (int f = 1; f < 600; f += 7) {
    for (int key : {9, 80, 84, 72, 83, 76, 82, 69, 17, 90})
      script += Line(f, "key " + std::to_string(key) + " down");
    script += Line(f, "wheel -2147483648 2147483647") + Line(f + 1, "button 1 down");
    script += Line(f + 2, "mouse " + std::to_string(f % 816) + ' ' + std::to_string(f % 300));
    for (int key : {9, 80, 84, 72, 83, 76, 82, 69, 17, 90})
      script += Line(f + 3, "key " + std::to_string(key) + " up");
    script += Line(f + 3, "button 1 up") + Line(f + 4, "key 9 down") + Line(f + 5, "key 9 up");
  }
  const Played r = Play(script, 620);
  ASSERT_EQ(r.Frames.size(), 620u);
  for (const auto& [f, frame] : r.Frames) {
    ASSERT_GE(frame.Camera[2], 0) << "frame " << f;
    ASSERT_LE(frame.Camera[2], kCornerLimitX) << "frame " << f;
    ASSERT_GE(frame.Camera[3], 0) << "frame " << f;
    ASSERT_LE(frame.Camera[3], kCornerLimitY) << "frame " << f;
  }
}

}  // namespace
