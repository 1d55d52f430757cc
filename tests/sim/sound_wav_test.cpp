// ravelon-sim --wav: the run's sound in step with the game. Each event the player would hear
// starts a sound in its own frame, the rest is silence, nothing passes -1 dBFS, the same script
// gives the same bytes, and with the sound on or muted every trace and shot stays the golden one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "frame/game_sounds.h"
#include "runner.h"
#include "sim_process.h"
#include "support/test_env.h"
#include "world/scroller.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFrameValues = 2 * kSoundFramesPerPass;  // a pass's samples, both channels
const int kMostAllowed = static_cast<int>(32768 * std::pow(10.0, -1.0 / 20.0));
// No recipe is longer than 0.35 s, nor varies by more than 15%: 25 frames hold any sound.
constexpr int kLongestSoundFrames = 25;

const std::string kScript =
    std::string(RAVELON_SOURCE_DIR) + "/tests/sim/sound_scripts/jump_break_pour_save.txt";

std::vector<int16_t> WavSamples(const std::string& path) {
  const std::string bytes = ReadText(path);
  EXPECT_GE(bytes.size(), 44u);
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0) return {};
  std::vector<int16_t> samples((bytes.size() - 44) / 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    const auto lo = static_cast<uint8_t>(bytes[44 + 2 * i]);
    const auto hi = static_cast<uint8_t>(bytes[45 + 2 * i]);
    samples[i] = static_cast<int16_t>(lo | (hi << 8));
  }
  return samples;
}

int PeakOfFrame(const std::vector<int16_t>& samples, int frame) {
  int peak = 0;
  for (int i = (frame - 1) * kFrameValues; i < frame * kFrameValues; ++i)
    peak = std::max(peak, std::abs(int{samples[static_cast<size_t>(i)]}));
  return peak;
}

struct HeardEvent {
  int pass;
  GameEvent kind;
};

// The events of a run that play a sound, by the pass that delivered them, as the sound itself
// judges them with the views of that moment.
std::vector<HeardEvent> ListenToRun(const RunOptions& options) {
  std::vector<HeardEvent> heard;
  int pass = 0;
  TGameEvents::FListen([&](std::span<const GameEventRecord> events) {
    ++pass;
    const ViewsNow views;
    for (const GameEventRecord& event : events)
      if (EventHearing(event, views.Left, views.Right).Gain > 0)
        heard.push_back({pass, event.Kind});
  });
  EXPECT_EQ(RunSimulation(options), 0);
  TGameEvents::FForgetListeners();
  return heard;
}

TEST(SoundWav, EachHeardEventSoundsInItsFrameSilenceElsewhereAndTheSameBytesEveryRun) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path(), false);
  RunOptions options;
  options.dir = dir.Path();
  options.frames = FramesOf(ReadText(kScript));
  options.script = kScript;
  options.wav = (fs::path(dir.Path()) / "in_process.wav").string();
  const std::vector<HeardEvent> heard = ListenToRun(options);
  const std::vector<int16_t> samples = WavSamples(options.wav);
  ASSERT_EQ(samples.size(), static_cast<size_t>(options.frames) * kFrameValues);

  // The script does what it says: each of these is heard at least once.
  for (const GameEvent kind :
       {GameEvent::kJump, GameEvent::kLanding, GameEvent::kHeadBump, GameEvent::kBrickCracked,
        GameEvent::kBrickBroken, GameEvent::kBlockPainted, GameEvent::kWaterPoured,
        GameEvent::kSaveDone}) {
    EXPECT_TRUE(std::any_of(heard.begin(), heard.end(),
                            [kind](const HeardEvent& e) { return e.kind == kind; }))
        << "no event of kind " << static_cast<int>(kind) << " was heard";
  }
  std::vector<bool> may_sound(static_cast<size_t>(options.frames) + 1, false);
  for (const HeardEvent& event : heard) {
    const int next = std::min(event.pass + 1, options.frames);
    EXPECT_GT(std::max(PeakOfFrame(samples, event.pass), PeakOfFrame(samples, next)), 0)
        << "no sound within a frame of the event of kind " << static_cast<int>(event.kind)
        << " in frame " << event.pass;
    for (int f = event.pass; f <= std::min(event.pass + kLongestSoundFrames, options.frames); ++f)
      may_sound[static_cast<size_t>(f)] = true;
  }
  int silent_frames = 0;
  for (int frame = 1; frame <= options.frames; ++frame) {
    EXPECT_LE(PeakOfFrame(samples, frame), kMostAllowed) << "frame " << frame;
    if (may_sound[static_cast<size_t>(frame)]) continue;
    EXPECT_EQ(PeakOfFrame(samples, frame), 0) << "sound in frame " << frame << " with no event";
    ++silent_frames;
  }
  // The check above checked something: the frames before the first event, between the events
  // and after the water poured stops flowing.
  EXPECT_GT(silent_frames, 80);

  // The program, twice, each in a fresh folder (the script saves): the same bytes as each
  // other and as the run in this process.
  std::string first;
  for (int run = 0; run < 2; ++run) {
    ScopedWorkDir fresh;
    CopyArtTo(fresh.Path(), false);
    const std::string wav = (fs::path(fresh.Path()) / "run.wav").string();
    const SimResult result = RunSimBinary({"--dir", fresh.Path(), "--script", kScript, "--frames",
                                           std::to_string(options.frames), "--wav", wav},
                                          fresh.Path());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string bytes = ReadText(wav);
    if (run == 0) first = bytes;
    EXPECT_EQ(bytes, first) << "run " << run;
  }
  EXPECT_EQ(first, ReadText(options.wav));
}

// Every golden script played with the sound on and M pressed in its second frame (after a
// recording's focus change in its first, which would clear the key): the trace is the
// golden one, the shot the one a run without sound takes, and the muted sound is silence.
TEST(SoundWav, GoldenTracesAndShotsHoldWithSoundOnAndMuted) {
  for (const std::string& name : GoldenScriptNames()) {
    SCOPED_TRACE(name);
    const std::string text = ReadText(GoldenScriptPath(name));
    const int frames = FramesOf(text);
    std::string shots[2], trace;
    for (int with_sound = 0; with_sound < 2; ++with_sound) {
      ScopedWorkDir dir;
      CopyArtTo(dir.Path(), OnDefaultLevel(text));
      CopyRecordedMaps(text, dir.Path());
      const fs::path at(dir.Path());
      WriteText((at / "script.txt").string(),
                with_sound ? text + "\n2 key 77 down\n3 key 77 up\n" : text);
      std::vector<std::string> args = {"--dir",    dir.Path(),
                                       "--script", (at / "script.txt").string(),
                                       "--frames", std::to_string(frames),
                                       "--shot",   (at / "shot.bmp").string(),
                                       "--trace",  (at / "run.trace").string()};
      if (with_sound) args.insert(args.end(), {"--wav", (at / "run.wav").string()});
      const SimResult result = RunSimBinary(args, dir.Path());
      ASSERT_EQ(result.status, 0) << result.err;
      shots[with_sound] = ReadText((at / "shot.bmp").string());
      if (!with_sound) continue;
      trace = ReadText((at / "run.trace").string());
      const std::vector<int16_t> samples = WavSamples((at / "run.wav").string());
      ASSERT_EQ(samples.size(), static_cast<size_t>(frames) * kFrameValues);
      for (int frame = 9; frame <= frames; ++frame)
        ASSERT_EQ(PeakOfFrame(samples, frame), 0) << "muted, yet sound in frame " << frame;
    }
    const std::string golden =
        ReadText(std::string(RAVELON_SOURCE_DIR) + "/tests/sim/golden/" + name + ".trace");
    EXPECT_TRUE(trace == golden) << "the trace with sound differs from the golden one";
    EXPECT_FALSE(shots[0].empty());
    EXPECT_TRUE(shots[0] == shots[1]) << "the shot with sound differs from the one without";
  }
}

// A broken recipe and a missing one: a line each on standard error, the others still play.
TEST(SoundWav, BadRecipesAreSilentWithALineEachAndTheOthersPlay) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path(), false);
  const fs::path at(dir.Path());
  WriteText((at / "land.sfx").string(), "wave square\npitch 0 440\nlength 0.1\n");
  fs::remove(at / "head_bump.sfx");
  const std::string script = GoldenScriptPath("run_jump");
  const SimResult result =
      RunSimBinary({"--dir", dir.Path(), "--script", script, "--frames",
                    std::to_string(FramesOf(ReadText(script))), "--wav", (at / "run.wav").string()},
                   dir.Path());
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> lines = SplitLines(result.err);
  ASSERT_EQ(lines.size(), 2u) << result.err;
  EXPECT_NE(result.err.find("land.sfx line 2"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("head_bump.sfx not found"), std::string::npos) << result.err;
  const std::vector<int16_t> samples = WavSamples((at / "run.wav").string());
  EXPECT_TRUE(std::any_of(samples.begin(), samples.end(), [](int16_t s) { return s != 0; }))
      << "the jumps are not heard";
}

}  // namespace
