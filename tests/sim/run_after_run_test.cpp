// A run after a run: start-up gives every table of the game its start value again, so a game
// played in a process that has already played one, and left every switch and choice changed,
// plays as in a fresh process: the golden traces frame by frame, the same pictures and the same
// console lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/free_camera.h"
#include "frame/edit_switches.h"
#include "frame/main_program.h"
#include "fresh_run.h"
#include "platform/console.h"
#include "platform/platform.h"
#include "platform/render/draw.h"
#include "record/script.h"
#include "record/trace.h"
#include "sim_process.h"
#include "support/test_env.h"
#include "world/block.h"

namespace {

struct Played {
  std::vector<std::string> Frames;  // the trace of each pass
  std::vector<uint64_t> Pictures;   // the finished back buffer of each pass, hashed
  std::vector<std::string> Lines;   // the console
};

// Plays the script in this process, as the runner does, in a folder of its own; stops after
// `frames` passes unless Escape ends the game first.
Played PlayHere(const std::string& script, int frames, bool level) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path(), level);
  CopyRecordedMaps(script, dir.Path());
  HeadlessBackend backend;
  PrepareFreshRun(backend, ParseScript(script).events);
  Played played;
  backend.OnEndOfPass = [&](int pass) {
    played.Frames.push_back(TraceFrame(pass));
    const auto* pixels = reinterpret_cast<const uint8_t*>(FinishedBackBuffer());
    played.Pictures.push_back(
        Fnv1a64(pixels, sizeof(uint32_t) * kBackBufferWidth * kBackBufferHeight));
    return pass < frames;
  };
  SetConsoleSink([&](const std::string& line) { played.Lines.push_back(line); });
  RunRavelon(true);
  SetConsoleSink(nullptr);
  SetBackend(nullptr);
  return played;
}

// A game that leaves behind all it can: a block style picked (block mode), blocks painted,
// water poured, the free camera on and steered, the panel hidden, a button held, the world
// held with the frame counters mid-count, and Escape (QuitFlag) at the end.
const char* const kUnsettling =
    "2 mouse 440 20\n3 button 1 down\n4 button 1 up\n5 mouse 150 120\n6 button 1 down\n"
    "7 mouse 170 120\n8 button 1 up\n9 key 39 down\n20 key 39 up\n21 mouse 200 100\n"
    "21 key 70 down\n25 key 70 up\n26 key 9 down\n27 key 9 up\n28 key 72 down\n29 key 72 up\n"
    "30 key 39 down\n40 key 39 up\n41 mouse 300 250\n42 button 1 down\n44 key 80 down\n"
    "45 key 80 up\n47 key 27 down\n";

void Unsettle() {
  const Played played = PlayHere(kUnsettling, 1000, true);
  // What the next run has to undo, so that this test cannot pass on a game left as it starts.
  ASSERT_EQ(played.Frames.size(), 47u);
  ASSERT_EQ(QuitFlag, 1);
  ASSERT_NE(FrameTick, 0);
  ASSERT_TRUE(FreeCameraOn);
  ASSERT_TRUE(WorldHeld);
  ASSERT_FALSE(PanelShown);
  ASSERT_EQ(EditorMode, kEditorBlockMode);
  ASSERT_NE(EditorBlockStyle, 0);
  ASSERT_GT(TBlock::Count, 0);
}

// Paints with what is picked at start-up (a background of style 0) before picking anything,
// runs, jumps and pours water, so a choice, a switch or a counter left over shows.
const char* const kPlainPlay =
    "2 mouse 120 150\n3 button 1 down\n5 mouse 140 150\n6 button 1 up\n7 key 39 down\n"
    "20 key 66 down\n26 key 66 up\n30 key 39 up\n32 mouse 200 100\n33 key 70 down\n"
    "40 key 70 up\n";

TEST(RunAfterRun, AGameLeftInAnyStatePlaysTheNextAsAFreshProcessDoes) {
  const Played first = PlayHere(kPlainPlay, 70, true);
  ASSERT_NO_FATAL_FAILURE(Unsettle());
  const Played again = PlayHere(kPlainPlay, 70, true);
  ASSERT_EQ(again.Frames.size(), first.Frames.size());
  for (size_t i = 0; i < first.Frames.size(); ++i) {
    ASSERT_EQ(again.Frames[i], first.Frames[i]) << "pass " << i + 1;
    ASSERT_EQ(again.Pictures[i], first.Pictures[i]) << "pass " << i + 1;
  }
  EXPECT_EQ(again.Lines, first.Lines);
}

TEST(RunAfterRun, EveryGoldenScriptAfterAnUnsettlingGameGivesItsGoldenTrace) {
  for (const std::string& name : GoldenScriptNames()) {
    const std::string text = ReadText(GoldenScriptPath(name));
    ASSERT_NO_FATAL_FAILURE(Unsettle());
    const Played played = PlayHere(text, FramesOf(text), OnDefaultLevel(text));
    std::string trace;
    for (const std::string& frame : played.Frames)
      trace += frame;
    const std::string golden =
        std::string(RAVELON_SOURCE_DIR) + "/tests/sim/golden/" + name + ".trace";
    EXPECT_TRUE(trace == ReadText(golden)) << name << " differs from its golden trace";
  }
}

}  // namespace
