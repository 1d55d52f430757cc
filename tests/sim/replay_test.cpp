// Recording and replaying play: a run recorded on the headless backend (the same input layer the
// window feeds) replays in ravelon-sim to the same trace; tampering, damage and other art are
// told apart by the exit status.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
  // The play leaves unsaved edits; the replay's scratch folder is thrown away, so no recovery
  // pair is announced for it.
  EXPECT_EQ(r.err.find("Unsaved map edits"), std::string::npos) << r.err;
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

// The web page offers the recording while play goes on: a copy taken mid-play is a whole replay
// of the frames so far, and the recording itself carries on to the end.
TEST_F(RecordReplayTest, ACopyTakenMidPlayReplaysToThatFrame) {
  HeadlessBackend backend;
  PrepareFreshRun(backend, ParseScript(kPlay).events);
  SetConsoleSink([](const std::string&) {});
  bool copied = false;
  {
    PlayRecorder recorder;
    backend.OnEndOfPass = [&](int pass) {
      if (pass == 75) copied = recorder.WriteSoFar("mid.rep");
      return pass < 1000;
    };
    EXPECT_FALSE(recorder.WriteSoFar("early.rep"));  // nothing recorded yet
    recorder.Start("r.rep", "");
    RunRavelon(true);
    recorder.Finish();
  }
  SetConsoleSink(nullptr);
  SetBackend(nullptr);
  ASSERT_TRUE(copied);
  const std::string mid = ReadText(Path("mid.rep"));
  EXPECT_NE(mid.find("\n75 check "), std::string::npos);
  EXPECT_NE(mid.find("\n75 end\n"), std::string::npos);
  const SimResult r = Replay(Path("mid.rep"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("75 frames, 2 checks"), std::string::npos) << r.err;
  EXPECT_NE(ReadText(Path("r.rep")).find("\n150 end\n"), std::string::npos);
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
  WriteText(Path("cut-input.rep"), good.substr(0, good.find("\ninput\n") + 7));
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

// A game killed while recording: the recording stands under its name with every pass written
// out before the kill, and replays up to its last complete frame, saying it ends early.
// Plays in a child process that is killed at frame 130, after a slow pass at frame 100 has let
// a second go by so that what came before was written out.
void RecordUntilKilled(const std::string& replay, const std::string& trace) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    HeadlessBackend backend;
    PrepareFreshRun(backend, ParseScript("2 key 39 down\n40 key 39 up\n").events);
    backend.OnEndOfPass = [](int pass) {
      if (pass == 100) usleep(1200 * 1000);
      if (pass == 130) _exit(0);
      return true;
    };
    SetConsoleSink([](const std::string&) {});
    PlayRecorder recorder;
    recorder.Start(replay, trace);
    RunRavelon(true);
    _exit(1);
  }
  int status = 0;
  waitpid(child, &status, 0);
}

// A game killed while recording: the recording stands under its name with every pass written
// out before the kill, and replays up to its last complete frame, saying it ends early. A trace
// written alone stands under its name while the game runs too.
TEST_F(RecordReplayTest, AKilledGamesRecordingReplaysUpToItsLastCompleteFrame) {
  RecordUntilKilled("r.rep", "");
  const std::string recording = ReadText(Path("r.rep"));
  ASSERT_NE(recording.find("\n60 check "), std::string::npos) << recording.substr(0, 200);
  EXPECT_EQ(recording.find(" end\n"), std::string::npos);
  const SimResult r = Replay(Path("r.rep"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("ends early"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("the replay matched the recording: "), std::string::npos) << r.err;
  RecordUntilKilled("", "alone.trace");
  EXPECT_NE(ReadText(Path("alone.trace")).find("frame 100\n"), std::string::npos);
}

// Plays a short run with the recorder in a child process whose files may be `limit` bytes at
// most, as a nearly full disk would have it.
void RecordUnderLimit(rlim_t limit) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit size{limit, limit};
    setrlimit(RLIMIT_FSIZE, &size);
    signal(SIGXFSZ, SIG_IGN);
    HeadlessBackend backend;
    PrepareFreshRun(backend, ParseScript("2 key 39 down\n40 key 39 up\n150 key 27 down\n").events);
    backend.OnEndOfPass = [](int pass) { return pass < 1000; };
    SetConsoleSink([](const std::string&) {});
    PlayRecorder recorder;
    recorder.Start("r.rep", "cut.trace");
    RunRavelon(true);
    recorder.Finish();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
}

// A disk that fills, here a file-size limit met part way: the recording and the trace stop at
// their last complete frame, never in the middle of a line, and the recording replays to it.
TEST_F(RecordReplayTest, RecordingsCutShortEndAtACompleteFrameAndReplay) {
  RecordUnderLimit(RLIM_INFINITY);
  const std::string whole_trace = ReadText(Path("cut.trace"));
  ASSERT_NE(whole_trace.find("frame 150\n"), std::string::npos);
  // Limits within the recording's input, past its header, and within its last lines.
  const std::string whole_replay = ReadText(Path("r.rep"));
  const size_t header = whole_replay.find("\ninput\n") + 7;
  for (const rlim_t limit : {header + 20, header + 70, whole_replay.size() - 12}) {
    SCOPED_TRACE(limit);
    fs::remove(Path("r.rep"));
    fs::remove(Path("cut.trace"));
    RecordUnderLimit(limit);
    for (const char* name : {"r.rep", "cut.trace"}) {
      const std::string text = ReadText(Path(name));
      ASSERT_FALSE(text.empty()) << name;
      EXPECT_LE(text.size(), limit) << name;
      EXPECT_EQ(text.back(), '\n') << name;
    }
    // The trace ends with its last frame's whole block: what follows begins the next frame.
    const std::string trace = ReadText(Path("cut.trace"));
    EXPECT_EQ(whole_trace.substr(0, trace.size()), trace);
    EXPECT_EQ(whole_trace.compare(trace.size(), 6, "frame "), 0);
    const SimResult r = Replay(Path("r.rep"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("ends early"), std::string::npos) << r.err;
  }
}

// What the recorder writes never lands on what start-up reads, nor goes through a link.
TEST_F(RecordReplayTest, ARecordingNeverReplacesAFileStartUpReads) {
  EXPECT_NE(StartUpFileAt("BGMap75x54.raw"), "");
  EXPECT_NE(StartUpFileAt("./sub/../AllTiles8.bmp"), "");
  EXPECT_NE(StartUpFileAt(Path("ravelon-save.journal")), "");
  EXPECT_EQ(StartUpFileAt("odd.rep"), "");
  const std::string map = ReadText(Path("BGMap75x54.raw"));
  fs::create_symlink("BGMap75x54.raw", Path("link.rep"));
  ::testing::internal::CaptureStderr();
  {
    PlayRecorder recorder;
    recorder.Start("BGMap75x54.raw", "link.rep");
    recorder.Finish();
  }
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("BGMap75x54.raw is BGMap75x54.raw, which the game reads"), std::string::npos)
      << err;
  EXPECT_NE(err.find("a link is at that name"), std::string::npos) << err;
  EXPECT_EQ(ReadText(Path("BGMap75x54.raw")), map);
  EXPECT_TRUE(fs::is_symlink(Path("link.rep")));
}

}  // namespace
