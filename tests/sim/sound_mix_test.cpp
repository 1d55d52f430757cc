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

}  // namespace
