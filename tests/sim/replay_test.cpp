// Recording and replaying play: a run recorded on the headless backend (the same input layer the
// window feeds) replays in ravelon-sim to the same trace; tampering, damage and other art are
// told apart by the exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "frame/main_program.h"
#include "fresh_run.h"
#include "platform/console.h"
#include "platform/platform.h"
#include "record/play_recorder.h"
#include "record/script.h"
#include "sim_process.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

// Runs, a jump, picker clicks, painting with both buttons, water, every editor key, a restart,
// a focus loss, a space pause and Escape, which ends the game at frame 150.
const char* const kPlay =
    "2 key 39 down\n20 key 66 down\n24 key 66 up\n40 key 39 up\n"
    "42 mouse 520 60\n43 button 1 down\n44 button 1 up\n"
    "46 mouse 120 120\n47 button 1 down\n48 mouse 160 130\n50 mouse 200 130\n51 button 1 up\n"
    "53 key 70 down\n54 button 2 down\n56 mouse 220 200\n57 button 2 up\n58 key 70 up\n"
    "60 key 83 down\n61 key 83 up\n62 key 76 down\n62 key 76 up\n64 key 69 down\n64 key 69 up\n"
    "66 key 37 down\n70 focus lost\n90 key 82 down\n91 key 82 up\n100 key 32 down\n"
    "101 key 32 up\n120 joy axis x -0.75\n121 joy button 1 down\n130 joy button 1 up\n"
    "150 key 27 down\n";

class RecordReplayTest : public ::testing::Test {
 protected:
  void SetUp() override { CopyArtTo(Dir.Path()); }

  std::string Path(const std::string& name) const { return (fs::path(Dir.Path()) / name).string(); }

  // Plays the script as the game would be played, with the recorder hooked in as ravelon does.
  void Record(const std::string& script) {
    HeadlessBackend backend;
    PrepareFreshRun(backend, ParseScript(script).events);
    backend.OnEndOfPass = [](int pass) { return pass < 1000; };
    SetConsoleSink([](const std::string&) {});
    {
      PlayRecorder recorder;
      recorder.Start("r.rep", "live.trace");
      RunRavelon(true);
      recorder.Finish();
    }
    SetConsoleSink(nullptr);
    SetBackend(nullptr);
  }

  SimResult Replay(const std::string& replay, std::vector<std::string> more = {}) const {
    std::vector<std::string> args = {"--dir", Dir.Path(), "--replay", replay};
    args.insert(args.end(), more.begin(), more.end());
    return RunSimBinary(args, Dir.Path());
  }

  ScopedWorkDir Dir;
};

int CountLines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(RecordReplayTest, ReplayReachesTheRecordedStateEveryFrame) {
  Record(kPlay);
  const std::string recording = ReadText(Path("r.rep"));
  EXPECT_NE(recording.find("\n150 key 27 down\n150 check "), std::string::npos);
  EXPECT_NE(recording.find("\n150 end\n"), std::string::npos);
  const SimResult r = Replay(Path("r.rep"), {"--trace", Path("replay.trace")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("150 frames, 3 checks"), std::string::npos) << r.err;
  const std::string live = ReadText(Path("live.trace"));
  EXPECT_EQ(CountLines(live) > 150, true);
  EXPECT_TRUE(live == ReadText(Path("replay.trace")));
}

// The building keys and the wheel are recorded like any input: the free camera steered by the
// arrows, the wheel and the overview, a held world painted in, the panel hidden, T.
TEST_F(RecordReplayTest, TheBuildingKeysAndTheWheelReplay) {
  Record(
      "2 key 80 down\n3 key 80 up\n4 key 9 down\n5 key 9 up\n6 key 39 down\n30 key 39 up\n"
      "32 wheel 0 -2\n33 key 16 down\n34 wheel 0 1\n35 key 16 up\n36 mouse 300 250\n"
      "37 button 1 down\n39 mouse 320 240\n40 button 1 up\n42 mouse 150 100\n"
      "43 button 1 down\n45 button 1 up\n47 key 72 down\n48 key 72 up\n50 key 84 down\n"
      "51 key 84 up\n90 key 27 down\n");
  const std::string recording = ReadText(Path("r.rep"));
  EXPECT_NE(recording.find("\n34 wheel 0 1\n"), std::string::npos);
  const SimResult r = Replay(Path("r.rep"), {"--trace", Path("replay.trace")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(ReadText(Path("live.trace")) == ReadText(Path("replay.trace")));
}

TEST_F(RecordReplayTest, DifferentInputNamesTheFirstCheckThatFails) {
  Record(kPlay);
  std::string recording = ReadText(Path("r.rep"));
  // Without the release of the run key the player runs on past frame 40.
  const size_t at = recording.find("40 key 39 up\n");
  ASSERT_NE(at, std::string::npos);
  recording.erase(at, 13);
  WriteText(Path("other.rep"), recording);
  const SimResult r = Replay(Path("other.rep"));
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err,
            "ravelon-sim: the state differs from the recording at frame 60 (the first check)\n");
}

TEST_F(RecordReplayTest, OtherArtWarnsAndTheChecksDecide) {
  Record("5 key 39 down\n30 key 27 down\n");
  std::ofstream(Path("instr.bmp"), std::ios::app) << "extra";
  const SimResult r = Replay(Path("r.rep"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("warning: instr.bmp differs"), std::string::npos) << r.err;
}

TEST_F(RecordReplayTest, DamagedReplaysExitTwoWithOneLine) {
  Record("5 key 39 down\n70 key 27 down\n");
  const std::string good = ReadText(Path("r.rep"));
  WriteText(Path("cut.rep"), good.substr(0, good.size() / 2));
  WriteText(Path("cut-input.rep"), good.substr(0, good.find(" end\n") - 2));
  WriteText(Path("version.rep"), "ravelon replay 9\n" + good.substr(good.find('\n') + 1));
  const std::vector<std::vector<std::string>> cases = {{Path("cut.rep")},
                                                       {Path("cut-input.rep")},
                                                       {Path("version.rep")},
                                                       {Path("missing.rep")},
                                                       {Dir.Path()},
                                                       {"/dev/zero"},
                                                       {Path("r.rep"), "--frames", "3"},
                                                       {Path("r.rep"), "--script", Path("x")}};
  for (const auto& c : cases) {
    const SimResult r = Replay(c[0], std::vector<std::string>(c.begin() + 1, c.end()));
    EXPECT_EQ(r.status, 2) << c[0];
    EXPECT_EQ(CountLines(r.err), 1) << c[0] << ": " << r.err;
    EXPECT_EQ(r.out, "") << c[0];
  }
}

}  // namespace
