// Leaving alone what repeats the frame before must never show: every golden script, the
// default level, the stress state and a map of water are played with it and without it, and
// the back buffer of every single frame is compared; and every pixel that changed from one
// frame to the next lies in a block the drawing noted for the window.
#include <gtest/gtest.h>

#include <random>

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

// The window compares only the blocks the drawing notes as changed: a pixel that changed
// anywhere else would never reach the screen.
void ExpectChangesNoted(const uint32_t* before, const uint32_t* now, const ChangedBlocks& noted,
                        int pass) {
  for (int y = 0; y < kBackBufferHeight; ++y) {
    for (int x = 0; x < kBackBufferWidth; ++x) {
      const int at = y * kBackBufferWidth + x;
      if (now[at] == before[at] || noted.Has(x / ChangedBlocks::kSize, y / ChangedBlocks::kSize))
        continue;
      ADD_FAILURE() << "pass " << pass << ": pixel " << x << "," << y
                    << " changed in a block not noted";
      return;
    }
  }
}

struct Play {
  std::string script;
  int frames;
  StartState state;
  bool level = true;  // the default level's map files, or the dummy map
};

// Each play in a folder of its own: a play may save, and the next would load what it saved.
// `plain`: drawn without a single drawing shortcut.
std::vector<uint64_t> FrameHashes(const Play& play, bool journal, bool plain = false) {
  const bool shortcuts = DrawShortcutsOn();
  if (plain) SetDrawShortcuts(false);
  ScopedWorkDir dir;
  CopyArtTo(dir.Path(), play.level);
  CopyRecordedMaps(play.script, dir.Path());
  SetDrawJournal(journal);
  HeadlessBackend backend;
  PrepareFreshRun(backend, ParseScript(play.script).events);
  std::vector<uint64_t> hashes;
  std::vector<uint32_t> before;
  backend.OnEndOfPass = [&](int pass) {
    const uint32_t* pixels = FinishedBackBuffer();
    hashes.push_back(HashPixels(pixels));
    if (!before.empty()) ExpectChangesNoted(before.data(), pixels, backend.Noted, pass);
    before.assign(pixels, pixels + kBackBufferWidth * kBackBufferHeight);
    backend.Noted = ChangedBlocks{};
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
  SetDrawShortcuts(shortcuts);
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

namespace {

// Play at random, seeded: running and jumping both ways, the free camera steered by keys and
// the wheel, blocks and backgrounds painted and erased where the views look (so a view covers
// itself whole in some frames and not in others), restarts and edits refreshed.
std::string RandomPlay(unsigned seed, int frames) {
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const int keys[] = {37, 38, 39, 40, 66, 16};
  bool down[6] = {};
  std::string script;
  auto somewhere = [&] {
    return std::to_string(pick(816)) + " " + std::to_string(pick(288)) + "\n";
  };
  for (int frame = 2; frame + 2 < frames; frame += 3 + pick(5)) {
    const std::string at = std::to_string(frame) + " ", next = std::to_string(frame + 1) + " ";
    const std::string after = std::to_string(frame + 2) + " ";
    const int what = pick(20);
    if (what < 10) {
      const int k = pick(6);
      down[k] = !down[k];
      script += at + "key " + std::to_string(keys[k]) + (down[k] ? " down\n" : " up\n");
    } else if (what < 13) {
      // A stroke of paint (left) or of erasing (right) between two places in the views.
      const std::string button = pick(2) == 0 ? "1" : "2";
      script += at + "mouse " + somewhere() + at + "button " + button + " down\n";
      script += next + "mouse " + somewhere() + after + "button " + button + " up\n";
    } else if (what < 15) {
      // The picker: a block style, or a background style (erasing then takes backgrounds away).
      script += at + (pick(2) == 0 ? "mouse 440 20\n" : "mouse 436 84\n");
      script += at + "button 1 down\n" + next + "button 1 up\n";
    } else if (what < 17) {
      script +=
          at + "wheel " + std::to_string(pick(5) - 2) + " " + std::to_string(pick(5) - 2) + "\n";
    } else {
      const int switches[] = {9, 9, 69, 82};  // the free camera, refreshed edits, a restart
      const int key = switches[pick(4)];
      script += at + "key " + std::to_string(key) + " down\n";
      script += next + "key " + std::to_string(key) + " up\n";
    }
  }
  return script;
}

}  // namespace

// Both views scroll in most frames of these plays; what the drawing shortcuts keep and leave
// alone must give, frame by frame, the pixels drawn plainly.
TEST(FrameByFrame, RandomPlayDrawsTheSameAsThePlainPath) {
  for (unsigned seed = 1; seed <= 3; ++seed) {
    const Play play{RandomPlay(seed, 500), 500, StartState::Loaded};
    const std::vector<uint64_t> plain = FrameHashes(play, false, true);
    const std::vector<uint64_t> fast = FrameHashes(play, true);
    ASSERT_EQ(fast.size(), plain.size()) << "seed " << seed;
    for (size_t i = 0; i < plain.size(); ++i)
      ASSERT_EQ(fast[i], plain[i]) << "seed " << seed << ": frame " << i + 1 << " differs";
  }
}
