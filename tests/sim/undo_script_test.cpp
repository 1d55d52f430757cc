// Undo, redo, the eyedropper and the recovery pair, driven through the runner as a player
// drives the game, judged by the grid hashes of the trace.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "sim_process.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

// Ctrl held around one key press, all within frame F.
std::string CtrlKey(int frame, int key, bool shift = false) {
  const std::string f = std::to_string(frame);
  std::string s = f + " key 17 down\n";
  if (shift) s += f + " key 16 down\n";
  s += f + " key " + std::to_string(key) + " down\n";
  const std::string next = std::to_string(frame + 1);
  s += next + " key " + std::to_string(key) + " up\n" + next + " key 17 up\n";
  if (shift) s += next + " key 16 up\n";
  return s;
}

// The third hash of a grid line: the block styles.
std::string BlockHash(const std::string& grid_line) {
  return grid_line.substr(5 + 2 * 17, 16);
}

struct Played {
  std::map<int, std::string> Grid;   // frame -> its "grid" line
  std::map<int, std::string> Count;  // frame -> its "count" line
  std::string Trace, Out, Err;
};

class UndoScripts : public ::testing::Test {
 protected:
  Played Play(const std::string& script, int frames, bool level = false) {
    ScopedWorkDir dir;
    CopyArtTo(dir.Path(), level);
    WriteText(dir.Path() + "/input.txt", script);
    const SimResult r =
        RunSimBinary({"--dir", dir.Path(), "--script", dir.Path() + "/input.txt", "--frames",
                      std::to_string(frames), "--trace", dir.Path() + "/run.trace"},
                     dir.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    Played run{{}, {}, ReadText(dir.Path() + "/run.trace"), r.out, r.err};
    int frame = 0;
    for (const std::string& line : SplitLines(run.Trace)) {
      if (line.rfind("frame ", 0) == 0) frame = std::stoi(line.substr(6));
      if (line.rfind("grid ", 0) == 0) run.Grid[frame] = line;
      if (line.rfind("count ", 0) == 0) run.Count[frame] = line;
    }
    Recovered.clear();
    if (fs::is_directory(dir.Path() + "/recovery"))
      for (const auto& entry : fs::directory_iterator(dir.Path() + "/recovery"))
        Recovered.push_back(entry.path().filename().string());
    return run;
  }
  std::vector<std::string> Recovered;
};

// Water poured first, so it is still flowing while a block stroke is painted and undone.
const std::string kPourThenPaint =
    "2 mouse 150 120\n2 key 70 down\n4 key 70 up\n"
    "10 mouse 440 20\n10 button 1 down\n11 button 1 up\n"                      // block style 3
    "20 mouse 150 150\n20 button 1 down\n22 mouse 182 150\n25 button 1 up\n";  // frames 20..24

TEST_F(UndoScripts, UndoGivesTheFrameBeforeTheStrokeAndRedoItsEnd) {
  const Played r = Play(
      kPourThenPaint + CtrlKey(30, 90) + CtrlKey(40, 89) + CtrlKey(50, 90) + CtrlKey(55, 90, true),
      60);
  ASSERT_NE(r.Grid.at(19), r.Grid.at(24));
  EXPECT_EQ(r.Grid.at(30), r.Grid.at(19));
  EXPECT_EQ(r.Grid.at(40), r.Grid.at(24));
  EXPECT_EQ(r.Grid.at(50), r.Grid.at(19));
  EXPECT_EQ(r.Grid.at(55), r.Grid.at(24));    // Ctrl+Shift+Z redoes too
  EXPECT_EQ(r.Count.at(30), r.Count.at(29));  // the block count stays
  // The water poured before the stroke is a step of its own: a second undo takes it away.
  const Played twice = Play(kPourThenPaint + CtrlKey(30, 90) + CtrlKey(32, 90), 34);
  EXPECT_EQ(twice.Grid.at(32), twice.Grid.at(1));
}

TEST_F(UndoScripts, HoldingCtrlZUndoesOneStepAndAnEmptyHistoryChangesNothing) {
  const std::string twoStrokes = kPourThenPaint +
                                 "27 mouse 250 100\n27 button 1 down\n"
                                 "28 button 1 up\n";
  const Played held =
      Play(twoStrokes + "35 key 17 down\n35 key 90 down\n50 key 90 up\n50 key 17 up\n", 52);
  ASSERT_NE(held.Grid.at(27), held.Grid.at(26));
  EXPECT_EQ(held.Grid.at(35), held.Grid.at(26));  // only the second stroke is gone
  // Fifteen frames on, the water has flowed but the blocks are still those of frame 26.
  EXPECT_EQ(BlockHash(held.Grid.at(49)), BlockHash(held.Grid.at(26)));
  EXPECT_NE(BlockHash(held.Grid.at(49)), BlockHash(held.Grid.at(19)));

  const Played idle = Play("", 20);
  const Played keys = Play(CtrlKey(3, 90) + CtrlKey(6, 89) + CtrlKey(9, 90, true), 20);
  EXPECT_EQ(keys.Trace, idle.Trace);
  EXPECT_EQ(keys.Out, idle.Out);
}

TEST_F(UndoScripts, RestartThenUndoBringsTheLevelBack) {
  const Played r =
      Play("5 key 82 down\n6 key 82 up\n" + CtrlKey(10, 90) + CtrlKey(15, 89), 18, true);
  ASSERT_NE(r.Grid.at(5), r.Grid.at(4));
  EXPECT_EQ(r.Grid.at(10), r.Grid.at(4));
  EXPECT_EQ(r.Grid.at(15), r.Grid.at(5));
}

TEST_F(UndoScripts, TheEyedropperPicksWhatAPickerClickWould) {
  // A brick painted at (9, 7), a background style picked, then the brick taken back with the
  // middle button and painted at (9, 9): the same map as picking the brick in the picker.
  const std::string start =
      "2 mouse 580 20\n2 button 1 down\n3 button 1 up\n"
      "4 mouse 150 120\n4 button 1 down\n5 button 1 up\n"
      "6 mouse 436 84\n6 button 1 down\n7 button 1 up\n";
  const std::string paint = "12 mouse 150 150\n12 button 1 down\n13 button 1 up\n";
  const Played dropper =
      Play(start + "9 mouse 150 120\n9 button 3 down\n10 button 3 up\n" + paint, 15);
  const Played picker =
      Play(start + "9 mouse 580 20\n9 button 1 down\n10 button 1 up\n" + paint, 15);
  EXPECT_NE(dropper.Grid.at(12), dropper.Grid.at(11));
  EXPECT_EQ(dropper.Grid.at(14), picker.Grid.at(14));
  // Over the picker side, the gap or an empty cell it picks nothing: background mode stays.
  const Played nothing = Play(start +
                                  "9 mouse 405 120\n9 button 3 down\n10 mouse 150 230\n"
                                  "11 button 3 up\n" +
                                  paint,
                              15);
  const Played plain = Play(start + paint, 15);
  EXPECT_EQ(nothing.Trace, plain.Trace);
}

TEST_F(UndoScripts, LeavingWithUnsavedEditsKeepsThemInRecovery) {
  const std::string paint =
      "2 mouse 440 20\n2 button 1 down\n3 button 1 up\n"
      "4 mouse 150 120\n4 button 1 down\n6 button 1 up\n";
  const Played cut = Play(paint, 10);
  const Played quit = Play(paint + "10 key 27 down\n", 30);
  EXPECT_EQ(quit.Out, cut.Out);  // standard output unchanged
  ASSERT_EQ(Recovered.size(), 2u) << quit.Err;
  EXPECT_NE(quit.Err.find("Unsaved map edits kept in recovery/"), std::string::npos) << quit.Err;
  EXPECT_NE(quit.Err.find(Recovered[0]), std::string::npos);

  Play(paint + "8 key 83 down\n9 key 83 up\n10 close\n", 30);
  EXPECT_TRUE(Recovered.empty());  // saved: nothing to recover
  Play("10 close\n", 30);
  EXPECT_TRUE(Recovered.empty());  // never edited
}

// A pair is kept only when the map holds something the map files do not: a stroke undone
// after S, or painted and erased, leaves nothing to recover, and the next start offers nothing.
TEST_F(UndoScripts, NothingIsKeptWhenTheMapIsWhatTheMapFilesHold) {
  const std::string pick = "2 mouse 440 20\n2 button 1 down\n3 button 1 up\n";
  const std::string save = "4 key 83 down\n5 key 83 up\n";
  const std::string stroke = "8 mouse 150 120\n8 button 1 down\n10 button 1 up\n";
  const Played undone = Play(pick + save + stroke + CtrlKey(14, 90) + "20 key 27 down\n", 30, true);
  EXPECT_TRUE(Recovered.empty()) << undone.Err;
  EXPECT_EQ(undone.Err.find("Unsaved map edits"), std::string::npos) << undone.Err;
  // The same stroke left in place is kept, once, however often the game is left with it.
  const Played kept = Play(pick + save + stroke + "20 key 27 down\n", 30, true);
  EXPECT_EQ(Recovered.size(), 2u) << kept.Err;
}

// No quit at all: a stroke no S has saved is in recovery/ within 1,800 passes, quietly; and a
// hang-up or a polite kill leaves as Escape does, keeping it.
TEST_F(UndoScripts, UnsavedEditsAreKeptWhilePlayingAndOnAHangUp) {
  const std::string paint =
      "2 mouse 440 20\n2 button 1 down\n3 button 1 up\n"
      "4 mouse 150 120\n4 button 1 down\n6 button 1 up\n";
  const Played early = Play(paint, 1799);
  EXPECT_TRUE(Recovered.empty());
  const Played played = Play(paint, 2400);
  EXPECT_EQ(Recovered.size(), 2u);
  EXPECT_EQ(played.Err, early.Err);
  EXPECT_EQ(played.Out, early.Out);

  for (const char* signal_name : {"HUP", "TERM"}) {
    SCOPED_TRACE(signal_name);
    ScopedWorkDir dir;
    CopyArtTo(dir.Path(), false);
    WriteText(dir.Path() + "/input.txt", paint);
    const std::string command = "cd '" + dir.Path() + "' && timeout --preserve-status -k 20 -s " +
                                signal_name + " 4 '" + SimBinary() +
                                "' --script input.txt --frames 100000000 >/dev/null 2>err.txt";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_NE(ReadText(dir.Path() + "/err.txt").find("Unsaved map edits kept in recovery/"),
              std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path() + "/recovery"), {}), 2);
  }
}

}  // namespace
