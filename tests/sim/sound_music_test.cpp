// The tune in a run's sound: with --music it is heard all through a still run, through its loop
// without a gap, the same bytes every run; at 0 it is not there at all; a level's tune by its
// name; a missing or broken tune or recipe is a line each and that much silence.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <iostream>

#include "frame/game_sounds.h"
#include "runner.h"
#include "sim_process.h"
#include "sound_analysis.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;
namespace sa = sound_analysis;

std::vector<int16_t> Samples(const std::string& wav) {
  if (wav.size() < 44 || wav.compare(0, 4, "RIFF") != 0) return {};
  std::vector<int16_t> samples((wav.size() - 44) / 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    const auto lo = static_cast<uint8_t>(wav[44 + 2 * i]);
    const auto hi = static_cast<uint8_t>(wav[45 + 2 * i]);
    samples[i] = static_cast<int16_t>(lo | (hi << 8));
  }
  return samples;
}

struct StillRun {
  SimResult Result;
  std::string Bytes;
};

// A run with no input at all, in a fresh folder with the art, the recipes and the tunes.
StillRun RunStill(int frames, const std::vector<std::string>& extra,
                  const std::function<void(const fs::path&)>& prepare = {}) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path(), false);
  const fs::path at(dir.Path());
  if (prepare) prepare(at);
  std::vector<std::string> args = {
      "--dir", dir.Path(), "--frames", std::to_string(frames), "--wav", (at / "run.wav").string()};
  args.insert(args.end(), extra.begin(), extra.end());
  StillRun run;
  run.Result = RunSimBinary(args, dir.Path());
  run.Bytes = ReadText((at / "run.wav").string());
  return run;
}

bool AllSilent(const std::vector<int16_t>& samples) {
  return std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; });
}

TEST(SoundMusic, AStillRunHasItsTuneThroughTheLoopTheSameEveryTimeAndNoneAtZero) {
  constexpr int kFrames = 1200;  // 20 seconds: the default tune loops once in them
  const StillRun first = RunStill(kFrames, {"--music", "70"});
  ASSERT_EQ(first.Result.status, 0) << first.Result.err;
  EXPECT_EQ(first.Result.err, "");
  const StillRun again = RunStill(kFrames, {"--music=70"});
  EXPECT_TRUE(first.Bytes == again.Bytes) << "the same run gave other bytes";

  const std::vector<int16_t> samples = Samples(first.Bytes);
  ASSERT_EQ(samples.size(), static_cast<size_t>(kFrames) * 2 * kSoundFramesPerPass);
  const double rms = sa::RmsDb(samples, 0, kFrames * kSoundFramesPerPass);
  std::cout << "a still run at --music 70: " << rms << " dBFS, peak "
            << 20 * std::log10(sa::Peak(samples)) << " dBFS\n";
  EXPECT_GT(rms, -35.0);
  EXPECT_LE(sa::Peak(samples), std::pow(10.0, -1.0 / 20.0));
  EXPECT_LT(sa::WorstSecondOffset(samples, kSoundRate), 0.005);
  // No gap anywhere, the loop's join (13.7 s in) included: every 20 ms is heard.
  constexpr int kWindow = kSoundRate / 50;
  double quietest = 0;
  int quietest_at = 0;
  for (int at = kWindow; at + kWindow <= kFrames * kSoundFramesPerPass; at += kWindow / 2) {
    const double window = sa::RmsDb(samples, at, kWindow);
    if (at == kWindow || window < quietest) quietest = window, quietest_at = at;
  }
  std::cout << "quietest 20 ms: " << quietest << " dBFS at " << double(quietest_at) / kSoundRate
            << " s\n";
  EXPECT_GT(quietest, -50.0) << "a gap at " << double(quietest_at) / kSoundRate << " s";

  // At 0 (the runner's default) no tune is read at all: byte for byte the run without the
  // option, which holds only the bad guys' few sounds.
  const StillRun without = RunStill(kFrames, {});
  const StillRun at_zero = RunStill(kFrames, {"--music", "0"});
  EXPECT_TRUE(without.Bytes == at_zero.Bytes);
  EXPECT_LT(sa::RmsDb(Samples(at_zero.Bytes), 0, kFrames * kSoundFramesPerPass), rms - 15);
  for (const char* bad : {"101", "-1", "x", ""})
    EXPECT_EQ(RunStill(1, {"--music", bad}).Result.status, kExitBadArguments) << bad;
}

TEST(SoundMusic, AMissingOrBrokenTuneOrRecipeIsALineEachAndThatMuchSilence) {
  const std::string no_music = RunStill(120, {}).Bytes;
  // The tune broken: one line naming it and the line of the score, no music, the run goes on.
  const StillRun broken = RunStill(120, {"--music", "70"}, [](const fs::path& at) {
    WriteText((at / "meadow.tune").string(), "tempo 140\npart lead tune_lead\nlead C4 H9\n");
  });
  ASSERT_EQ(broken.Result.status, 0);
  EXPECT_EQ(SplitLines(broken.Result.err).size(), 1u) << broken.Result.err;
  EXPECT_NE(broken.Result.err.find("meadow.tune line 3: 'H9' is not a note"), std::string::npos)
      << broken.Result.err;
  EXPECT_TRUE(broken.Bytes == no_music);

  const StillRun missing =
      RunStill(120, {"--music", "70"}, [](const fs::path& at) { fs::remove(at / "meadow.tune"); });
  ASSERT_EQ(missing.Result.status, 0);
  EXPECT_EQ(missing.Result.err, "Tune meadow.tune not found: no music.\n");
  EXPECT_TRUE(missing.Bytes == no_music);

  // One part's recipe gone, another's broken: a line each, the other parts still play.
  const StillRun parts = RunStill(120, {"--music", "70"}, [](const fs::path& at) {
    fs::remove(at / "tune_bass.sfx");
    WriteText((at / "tune_hat.sfx").string(), "wave noise\npitch 9000 9000\nlength 0\n");
  });
  ASSERT_EQ(parts.Result.status, 0);
  const std::vector<std::string> lines = SplitLines(parts.Result.err);
  ASSERT_EQ(lines.size(), 2u) << parts.Result.err;
  EXPECT_NE(lines[0].find("tune_bass.sfx not found: the part bass of meadow.tune is silent"),
            std::string::npos)
      << lines[0];
  EXPECT_NE(lines[1].find("tune_hat.sfx line 3"), std::string::npos) << lines[1];
  EXPECT_FALSE(parts.Bytes == no_music);
}

// The level loader's call: a tune by name, the default one for none, the tune playing left
// alone when asked again; a missing one or a name that is not a file's is a line and silence;
// M mutes it.
TEST(SoundMusic, ALevelNamesItsTuneAndABadNameIsALineAndSilence) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path(), false);
  SoundSettings settings;
  settings.Folder = dir.Path();
  settings.Music = 70;
  std::vector<int16_t> out(2 * kSoundFramesPerPass);
  const auto heard = [&out](SoundMixer& mixer, int passes) {
    bool any = false;
    for (int pass = 0; pass < passes; ++pass) {
      mixer.Mix(out.data(), kSoundFramesPerPass);
      any = any || !AllSilent(out);
    }
    return any;
  };
  ::testing::internal::CaptureStderr();
  {
    GameSounds sounds(settings, {});
    EXPECT_EQ(sounds.TuneName(), kDefaultTune);
    EXPECT_TRUE(heard(sounds.Mixer(), 30));
    const int64_t position = sounds.Mixer().Tune().Position();
    PlayLevelTune("");  // the default again: it plays on
    PlayLevelTune(kDefaultTune);
    EXPECT_EQ(sounds.Mixer().Tune().Position(), position);
    PlayLevelTune("caverns");
    EXPECT_EQ(sounds.TuneName(), "caverns");
    EXPECT_EQ(sounds.Mixer().Tune().Position(), 0);
    EXPECT_TRUE(heard(sounds.Mixer(), 30));
    for (const char* bad : {"no_such_tune", "../meadow", "a tune", "/etc/passwd"}) {
      PlayLevelTune(bad);
      heard(sounds.Mixer(), 15);  // the notes playing fade out, the high-pass settles
      EXPECT_FALSE(heard(sounds.Mixer(), 30)) << bad;
    }
    PlayLevelTune("");
    EXPECT_TRUE(heard(sounds.Mixer(), 30));
    // M mutes the tune with the rest, and it plays on unheard: unmuted, it is further on.
    sounds.ToggleMute();
    heard(sounds.Mixer(), 15);
    EXPECT_FALSE(heard(sounds.Mixer(), 30));
    const int64_t muted_at = sounds.Mixer().Tune().Position();
    sounds.ToggleMute();
    EXPECT_TRUE(heard(sounds.Mixer(), 30));
    EXPECT_GT(sounds.Mixer().Tune().Position(), muted_at);
  }
  PlayLevelTune("caverns");  // without sound: nothing, and no crash
  const std::vector<std::string> lines = SplitLines(::testing::internal::GetCapturedStderr());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Tune no_such_tune.tune not found: no music.");
  for (size_t i = 1; i < 4; ++i)
    EXPECT_NE(lines[i].find("is not a tune's name"), std::string::npos) << lines[i];
  TGameEvents::FForgetListeners();
}

}  // namespace
