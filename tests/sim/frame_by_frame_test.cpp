// Leaving alone what repeats the frame before must never show: every golden script, the
// default level, the stress state and a map of water are played with it and without it, and
// the back buffer of every single frame is compared.
#include <gtest/gtest.h>

#include "frame/main_program.h"
#include "fresh_run.h"
#include "platform/console.h"
#include "platform/platform.h"
#include "platform/render/draw.h"
#include "platform/render/draw_journal.h"
#include "record/script.h"
#include "sim_process.h"
#include "stress.h"
#include "support/test_env.h"

namespace {

uint64_t HashPixels(const uint32_t* pixels) {
  uint64_t hash = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < kBackBufferWidth * kBackBufferHeight; ++i)
    hash = (hash ^ pixels[i]) * 0x100000001B3ull + (hash >> 29);
  return hash;
}

struct Play {
  std::string script;
  int frames;
  StartState state;
  bool level = true;  // the default level's map files, or the dummy map
};

// Each play in a folder of its own: a play may save, and the next would load what it saved.
std::vector<uint64_t> FrameHashes(const Play& play, bool journal) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path(), play.level);
  CopyRecordedMaps(play.script, dir.Path());
  SetDrawJournal(journal);
  HeadlessBackend backend;
  PrepareFreshRun(backend, ParseScript(play.script).events);
  std::vector<uint64_t> hashes;
  backend.OnEndOfPass = [&](int pass) {
    hashes.push_back(HashPixels(FinishedBackBuffer()));
    return pass < play.frames;
  };
  SetConsoleSink([](const std::string&) {});
  if (play.state == StartState::Loaded) {
    RunRavelon(true);
  } else {
    RunRavelon(false);
    BuildStartState(play.state);
    TMain::FRun();
  }
  SetConsoleSink(nullptr);
  SetBackend(nullptr);
  SetDrawJournal(true);
  return hashes;
}

void ExpectSameFrames(const std::string& name, const Play& play) {
  const std::vector<uint64_t> plain = FrameHashes(play, false);
  const std::vector<uint64_t> kept = FrameHashes(play, true);
  ASSERT_EQ(kept.size(), plain.size()) << name;
  ASSERT_GT(plain.size(), 0u) << name;
  for (size_t i = 0; i < plain.size(); ++i)
    ASSERT_EQ(kept[i], plain[i]) << name << ": frame " << i + 1 << " differs";
}

}  // namespace

TEST(FrameByFrame, GoldenScriptsDrawTheSameWithAndWithoutRepeatsLeftAlone) {
  for (const std::string& name : GoldenScriptNames()) {
    const std::string text = ReadText(GoldenScriptPath(name));
    ExpectSameFrames(name, Play{text, FramesOf(text), StartState::Loaded, OnDefaultLevel(text)});
  }
}

TEST(FrameByFrame, BusyStatesDrawTheSameWithAndWithoutRepeatsLeftAlone) {
  // The player runs right and jumps, so both views scroll, stop and scroll again.
  const std::string run = "2 key 39 down\n90 key 39 up\n120 key 66 down\n125 key 66 up\n";
  ExpectSameFrames("default level", Play{run, 400, StartState::Loaded});
  ExpectSameFrames("stress", Play{"", 40, StartState::Stress});
  ExpectSameFrames("water", Play{"", 60, StartState::FullWater});
}
