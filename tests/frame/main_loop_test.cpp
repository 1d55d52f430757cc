// Start-up and the main loop on the headless backend: the console print-out, the way out by
// Escape or a close request, the space pause and the frame counters.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "frame/main_program.h"
#include "platform/commands.h"
#include "platform/console.h"
#include "platform/input.h"
#include "support/test_env.h"

namespace {

using Kind = ScriptedEvent::Kind;

// Notes what the frame counters read at each flip and at each sleep, in call order.
class RecordingBackend : public HeadlessBackend {
 public:
  struct Call {
    char what;  // 'F' flip, 'S' sleep
    int ms;
    uint8_t tick, phase, toggle;
  };
  void Present(const uint32_t* pixels, int width, int height, int sync) override {
    Calls.push_back({'F', sync, FrameTick, AnimPhase, SlowToggle});
    HeadlessBackend::Present(pixels, width, height, sync);
  }
  void Sleep(int ms) override {
    Calls.push_back({'S', ms, FrameTick, AnimPhase, SlowToggle});
    HeadlessBackend::Sleep(ms);
  }
  std::vector<Call> Calls;
};

class MainLoopTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    SetBackend(&Recorder);
    // No test may loop for ever: a hundred passes is far more than any case needs.
    Recorder.OnEndOfPass = [](int pass) { return pass < 100; };
  }
  int Run(std::vector<ScriptedEvent> script) {
    Recorder.SetScript(std::move(script));
    return RunRavelon();
  }
  ScopedWorkDir Dir;  // no art, no map files
  RecordingBackend Recorder;
};

TEST_F(MainLoopTest, StartUpPrintsConstantsDefaultStatesAndImageLines) {
  Recorder.OnEndOfPass = [](int) { return false; };
  RunRavelon(false);
  const std::vector<std::string> expected = {
      "---",
      "PIXEL_SHIFT:\t\t16",
      "TILE_SHIFT:\t\t20",
      "PIXEL_SHIFT n:\t65536",
      "TILE_SHIFT n:\t1048576",
      "---",
      "SCREEN_WIDTH_PIXELS:\t400",
      "SCREEN_HEIGHT_PIXELS:\t288",
      "TILE_SIZE_PIXELS:\t\t16",
      "SCREEN_WIDTH_TILES:\t25",
      "SCREEN_HEIGHT_TILES:\t18",
      "SCREEN_WIDTH_UNITS:\t26214400",
      "SCREEN_HEIGHT_UNITS:\t18874368",
      "---",
      "MAP_WIDTH_TILES:\t\t75",
      "MAP_HEIGHT_TILES:\t\t54",
      "MAP_WIDTH_PIXELS:\t\t1200",
      "MAP_HEIGHT_PIXELS:\t\t864",
      "MAP_WIDTH_UNITS:\t\t78643200",
      "MAP_HEIGHT_UNITS:\t\t56623104",
      "---",
      "TMain default state.",
      "TScroller default state.",
      "Image not found!",
      "Image not found!",
      "Image not found!",
  };
  ASSERT_GE(Console().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(Console()[i], expected[i]) << "line " << i;
  EXPECT_TRUE(Recorder.WindowOpen);
  EXPECT_EQ(Recorder.Flips, 0);  // start-up alone shows no frame
}

TEST_F(MainLoopTest, EscapeIsNoticedAtTheStartOfAPassWhoseFrameStillRuns) {
  EXPECT_EQ(Run({{3, Kind::KeyDown, kKeyEscape}}), 0);
  EXPECT_EQ(QuitFlag, 1);
  EXPECT_EQ(Recorder.Passes, 3);
  EXPECT_EQ(Recorder.Flips, 3);
  // The pass that saw Escape still advanced the counters after its frame.
  EXPECT_EQ(FrameTick, 3);
}

TEST_F(MainLoopTest, EscapeInTheFirstPassShowsOneFrame) {
  EXPECT_EQ(Run({{1, Kind::KeyDown, kKeyEscape}}), 0);
  EXPECT_EQ(Recorder.Flips, 1);
  ASSERT_EQ(Recorder.Calls.size(), 1u);
  EXPECT_EQ(Recorder.Calls[0].ms, 1);  // the game always flips in step with the display
}

TEST_F(MainLoopTest, CloseRequestEndsTheLoopTheSameWay) {
  EXPECT_EQ(Run({{2, Kind::Close}}), 0);
  EXPECT_EQ(QuitFlag, 1);
  EXPECT_EQ(Recorder.Passes, 2);
  EXPECT_EQ(Recorder.Flips, 2);
}

TEST_F(MainLoopTest, WithoutEscapeOrCloseTheLoopRunsOn) {
  Recorder.OnEndOfPass = [](int pass) { return pass < 40; };
  Run({{5, Kind::KeyDown, kKeyB}, {9, Kind::KeyUp, kKeyB}});
  EXPECT_EQ(QuitFlag, 0);
  EXPECT_EQ(Recorder.Flips, 40);
}

TEST_F(MainLoopTest, SpaceHitTwiceInOneFramePausesOnceAfterTheFlip) {
  Run({{2, Kind::KeyDown, kKeySpace},
       {2, Kind::KeyUp, kKeySpace},
       {2, Kind::KeyDown, kKeySpace},
       {2, Kind::KeyUp, kKeySpace},
       {4, Kind::KeyDown, kKeyEscape}});
  EXPECT_EQ(Recorder.Sleeps, 1);
  ASSERT_EQ(Recorder.Calls.size(), 5u);  // four flips and the pause
  // Pass 2: its flip, then the pause, with the counters still those of the frame.
  EXPECT_EQ(Recorder.Calls[1].what, 'F');
  EXPECT_EQ(Recorder.Calls[2].what, 'S');
  EXPECT_EQ(Recorder.Calls[2].ms, 3000);
  EXPECT_EQ(Recorder.Calls[2].tick, Recorder.Calls[1].tick);
  EXPECT_EQ(Recorder.Calls[2].tick, 1);
  EXPECT_EQ(Recorder.Calls[3].what, 'F');
  EXPECT_EQ(Recorder.Calls[3].tick, 2);
}

TEST_F(MainLoopTest, SpaceHeldForManyFramesPausesOnce) {
  Run({{2, Kind::KeyDown, kKeySpace}, {12, Kind::KeyDown, kKeyEscape}});
  EXPECT_EQ(Recorder.Sleeps, 1);
}

TEST_F(MainLoopTest, CountersCycleEverySevenFrames) {
  Run({{29, Kind::KeyDown, kKeyEscape}});
  std::vector<RecordingBackend::Call> flips;
  for (const auto& call : Recorder.Calls) {
    if (call.what == 'F') flips.push_back(call);
  }
  ASSERT_EQ(flips.size(), 29u);
  for (int frame = 1; frame <= 29; ++frame) {
    const auto& f = flips[frame - 1];
    const int sevens = (frame - 1) / 7;
    EXPECT_EQ(f.tick, (frame - 1) % 7) << "frame " << frame;
    EXPECT_EQ(f.phase, sevens % 4) << "frame " << frame;
    EXPECT_EQ(f.toggle, sevens % 2) << "frame " << frame;
  }
  for (int frame : {1, 8, 15, 22, 29})
    EXPECT_EQ(flips[frame - 1].tick, 0);
  // AnimPhase ran 0, 1, 2, 3 and wrapped to 0 at frame 29.
  EXPECT_EQ(flips[21].phase, 3);
  EXPECT_EQ(flips[28].phase, 0);
}

TEST_F(MainLoopTest, RestartKeyKeepsTheLoopGoing) {
  Run({{2, Kind::KeyDown, kKeyR}, {2, Kind::KeyUp, kKeyR}, {4, Kind::KeyDown, kKeyEscape}});
  EXPECT_EQ(Recorder.Flips, 4);
  EXPECT_EQ(QuitFlag, 1);
}

using MainLoopDeathTest = MainLoopTest;

TEST_F(MainLoopDeathTest, AWindowThatCannotOpenEndsWithStatusOneAndOneLine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  Recorder.RefuseWindow = true;
  EXPECT_EXIT(
      {
        // Console lines go to the error stream here, where the death test reads them.
        SetConsoleSink([](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
        RunRavelon();
      },
      ::testing::ExitedWithCode(1), "Cannot open the window\\.");
}

}  // namespace
