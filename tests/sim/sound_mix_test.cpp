// The mix under the heaviest load the game makes: the stress state's crowd of bad guys, every
// one of them jumping and landing. It stays under -1 dBFS without sitting at the ceiling, the
// limiter never steps, the offset of every second is gone, and the player is heard over it.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>

#include "frame/game_sounds.h"
#include "runner.h"
#include "sim_process.h"
#include "sound_analysis.h"
#include "support/test_env.h"

namespace {

namespace sa = sound_analysis;

struct RenderedRun {
  std::vector<int16_t> Samples;
  float LimiterStep = 0, LowestGain = 1, PeakIntoLimiter = 0;
};

// The run's sound as --wav writes it, with the mixer's own account of what it did.
RenderedRun RenderRun(RunOptions options) {
  RenderedRun run;
  SoundSettings settings;
  settings.Folder = options.dir;
  {
    GameSounds sounds(settings, [&run](SoundMixer& mixer) {
      const size_t at = run.Samples.size();
      run.Samples.resize(at + 2 * kSoundFramesPerPass);
      mixer.Mix(run.Samples.data() + at, kSoundFramesPerPass);
    });
    EXPECT_EQ(RunSimulation(options), 0);
    run.LimiterStep = sounds.Mixer().Limiter().LargestStep();
    run.LowestGain = sounds.Mixer().Limiter().LowestGain();
    run.PeakIntoLimiter = sounds.Mixer().PeakIntoLimiter();
  }
  TGameEvents::FForgetListeners();
  return run;
}

RunOptions StressRun(const std::string& dir, int frames) {
  RunOptions options;
  options.dir = dir;
  options.frames = frames;
  options.stress = true;
  return options;
}

TEST(SoundMix, TheStressCrowdStaysUnderTheCeilingWithoutStepsOffsetOrFlatTops) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path(), false);
  const RenderedRun run = RenderRun(StressRun(dir.Path(), 300));
  ASSERT_EQ(run.Samples.size(), 300u * 2 * kSoundFramesPerPass);
  const double peak = sa::Peak(run.Samples);
  std::cout << "stress: peak " << 20 * std::log10(peak) << " dBFS, into the limiter "
            << 20 * std::log10(run.PeakIntoLimiter) << " dBFS, lowest gain " << run.LowestGain
            << ", largest limiter step " << run.LimiterStep << ", worst offset of a second "
            << sa::WorstSecondOffset(run.Samples, kSoundRate) << ", longest run at the peak "
            << sa::LongestRunAtPeak(run.Samples) << "\n";
  EXPECT_GT(peak, 0.1) << "the crowd is heard";
  EXPECT_LE(peak, std::pow(10.0, -1.0 / 20.0));
  EXPECT_LE(run.LimiterStep, 0.01);
  EXPECT_LT(sa::WorstSecondOffset(run.Samples, kSoundRate), 0.005);
  EXPECT_LE(sa::LongestRunAtPeak(run.Samples), 1);
}

// The player jumps in the middle of the crowd: the run with the jump less the run without it is
// the jump as heard in the mix, and over its first 100 ms it is louder than the crowd.
TEST(SoundMix, ThePlayersJumpIsHeardOverTheCrowd) {
  int jump_pass = 0;
  std::vector<int16_t> runs[2];
  for (int with_jump = 0; with_jump < 2; ++with_jump) {
    int pass = 0;
    TGameEvents::FListen([&](std::span<const GameEventRecord> events) {
      ++pass;
      for (const GameEventRecord& event : events)
        if (event.Kind == GameEvent::kJump && event.Actor == EventActor::kPlayer && !jump_pass)
          jump_pass = pass;
    });
    ScopedWorkDir dir;
    CopyArtTo(dir.Path(), false);
    RunOptions options = StressRun(dir.Path(), 170);
    if (with_jump) {
      options.script = dir.Path() + "/jump.txt";
      WriteText(options.script, "150 key 66 down\n156 key 66 up\n");
    }
    runs[with_jump] = RenderRun(options).Samples;
    if (!with_jump) {
      EXPECT_EQ(jump_pass, 0) << "the player jumped unasked";
    }
  }
  ASSERT_GE(jump_pass, 150);
  const int first = (jump_pass - 1) * kSoundFramesPerPass, frames = kSoundRate / 10;
  std::vector<int16_t> jump(runs[1].size());
  for (size_t i = 0; i < jump.size(); ++i)
    jump[i] = static_cast<int16_t>(runs[1][i] - runs[0][i]);
  const double crowd_db = sa::RmsDb(runs[0], first, frames);
  const double jump_db = sa::RmsDb(jump, first, frames);
  std::cout << "jump in the crowd: crowd " << crowd_db << " dB, the jump " << jump_db << " dB\n";
  EXPECT_GT(crowd_db, -40.0) << "the crowd is heard";
  EXPECT_GT(jump_db, crowd_db);
}

}  // namespace
