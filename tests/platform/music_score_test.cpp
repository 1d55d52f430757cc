// The tunes: the shipped scores and their recipes read, every kind of bad score is refused with
// its reason, and a playing tune keeps its time: the same samples whatever the size of the
// passes mixing it, each loop exactly the one before, with no gap or click where it joins.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sound/music_score.h"
#include "platform/sound/recipe_file.h"
#include "platform/sound/score_file.h"
#include "platform/sound/sound_mixer.h"

namespace {

const std::string kAssets = std::string(RAVELON_SOURCE_DIR) + "/assets/";

std::string Refusal(const std::string& text) {
  MusicScore score;
  std::string why;
  EXPECT_FALSE(ParseMusicScore(text, score, why)) << text.substr(0, 80);
  EXPECT_TRUE(score.Parts.empty());
  return why;
}

TEST(MusicScore, EveryShippedTuneReadsWithItsRecipesAndLoopsOnAWholeBar) {
  int tunes = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kAssets + "music")) {
    SCOPED_TRACE(entry.path().filename().string());
    std::string why;
    const std::optional<MusicScore> score = ReadScoreFile(entry.path().string(), why);
    ASSERT_TRUE(score) << why;
    ++tunes;
    EXPECT_GE(score->Parts.size(), 2u);  // a melody and a bass at least
    EXPECT_EQ(std::fmod(score->LoopBeats, 4.0), 0.0);
    for (const ScorePart& part : score->Parts) {
      EXPECT_TRUE(ReadRecipeFile(kAssets + "sounds/" + part.Recipe + ".sfx", why)) << why;
      // A part that ends early would leave a hole before the loop starts again.
      EXPECT_EQ(part.Beats, score->LoopBeats) << part.Name;
    }
  }
  EXPECT_GE(tunes, 1);
}

TEST(MusicScore, NotesRestsHitsLengthsAndSharpsReadAsWritten) {
  EXPECT_DOUBLE_EQ(NoteFrequency("A4"), 440.0);
  EXPECT_NEAR(NoteFrequency("C4"), 261.626, 0.001);
  EXPECT_DOUBLE_EQ(NoteFrequency("C#5"), NoteFrequency("Db5"));
  EXPECT_DOUBLE_EQ(NoteFrequency("A5"), 880.0);
  for (const char* bad : {"H4", "A9", "a4", "A", "A#", "Ax4", "A44", ""})
    EXPECT_EQ(NoteFrequency(bad), 0.0) << bad;

  MusicScore score;
  std::string why;
  ASSERT_TRUE(
      ParseMusicScore("tempo 120 # two beats a second\n"
                      "part lead tone 0.5 -1\n"
                      "part drum kick\n"
                      "lead C#4:1/2 r:1.5 | A4 # a comment\n"
                      "drum x:3/4 x:4\n",
                      score, why))
      << why;
  ASSERT_EQ(score.Parts.size(), 2u);
  const ScorePart& lead = score.Parts[0];
  EXPECT_EQ(lead.Recipe, "tone");
  EXPECT_EQ(lead.Level, 0.5);
  EXPECT_EQ(lead.Pan, -1.0);
  ASSERT_EQ(lead.Notes.size(), 2u);  // the rest is a gap, not a note
  EXPECT_DOUBLE_EQ(lead.Notes[0].Hz, NoteFrequency("C#4"));
  EXPECT_EQ(lead.Notes[0].Beats, 0.5);
  EXPECT_EQ(lead.Notes[1].Beat, 2.0);
  EXPECT_EQ(lead.Beats, 3.0);
  EXPECT_EQ(score.Parts[1].Notes[0].Hz, 0.0);  // a hit
  EXPECT_EQ(score.LoopBeats, 4.75);
}

TEST(MusicScore, BadScoresAreRefusedWithTheirReason) {
  const std::string head = "tempo 120\npart lead tone\n";
  struct Case {
    std::string text, reason;
  };
  std::string ten_thousand = head + "lead";
  for (int i = 0; i < 10000; ++i)
    ten_thousand += " x:1/64";
  const Case cases[] = {
      {head + "lead C4 H4\n", "line 3: 'H4' is not a note"},
      {"tempo 0\n", "line 1: tempo needs one number from 40 to 300"},
      {"tempo 100000\n", "tempo needs"},
      {"tempo nan\n", "tempo needs"},
      {"part lead tone\nlead C4\n", "no tempo line"},
      {head, "no notes: a loop of no length"},
      {"tempo 120\n", "no notes"},
      {ten_thousand, "more than 4096 notes"},
      {head + "lead C4:0\n", "the length of 'C4:0'"},
      {head + "lead C4:1/0\n", "the length of"},
      {head + "lead C4:-1\n", "the length of"},
      {head + "lead C4:99\n", "the length of"},
      {head + "lead C4:1/128\n", "the length of"},
      {head + "bass C4\n", "'bass' is neither tempo, part nor"},
      {head + "part lead tone\n", "is taken"},
      {head + "part bass ../../etc/passwd\n", "the recipe's name"},
      {head + "part bass tone 2\n", "level is from 0 to 1"},
      {head + "part bass tone 1 -3\n", "place is from -1"},
      {head + "part bass\n", "part needs a name, a recipe"},
      {"tempo 120\npart a t\npart b t\npart c t\npart d t\npart e t\npart f t\npart g t\n"
       "part h t\npart i t\n",
       "line 10: more than 8 parts"},
      {head + std::string(40, ' ') + "lead" + std::string(200, 'C') + "\n", "line 3"},
  };
  for (const Case& c : cases) {
    const std::string why = Refusal(c.text);
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << "one line: " << why;
    EXPECT_LT(why.size(), 160u) << why;
  }
  // A part may not run past the longest tune there is.
  std::string long_part = head + "lead";
  for (int i = 0; i < 40; ++i)
    long_part += " C4:32";
  EXPECT_NE(Refusal(long_part).find("longer than 1024 beats"), std::string::npos);
}

SoundRecipe Instrument(Waveform wave) {
  SoundRecipe recipe;
  recipe.Wave = wave;
  recipe.StartHz = recipe.EndHz = 440;
  recipe.Length = 0.1;
  recipe.Attack = 0.004;
  recipe.Decay = 0.05;
  recipe.Sustain = 0.6;
  recipe.Release = 0.03;
  recipe.Volume = 0.5;
  return recipe;
}

// One bar of a melody over a bass and a noise hat.
MusicScore TestTune(int tempo = 137) {
  MusicScore score;
  std::string why;
  EXPECT_TRUE(
      ParseMusicScore("tempo " + std::to_string(tempo) +
                          "\npart lead lead 0.8 -0.5\npart bass bass\n"
                          "part hat hat 0.5\n"
                          "lead C5:1/2 E5:1/2 G5:1 C6:1/3 B5:2/3 G5:1\n"
                          "bass C3:2 G2:2\nhat r:1/2 x:1/2 r:1/2 x:1/2 r:1/2 x:1/2 r:1/2 x:1/2\n",
                      score, why))
      << why;
  return score;
}

std::vector<std::optional<SoundRecipe>> TestInstruments() {
  return {Instrument(Waveform::kSquare), Instrument(Waveform::kTriangle),
          Instrument(Waveform::kNoise)};
}

std::vector<float> Play(TunePlayer& player, int frames, int chunk) {
  std::vector<float> mix(static_cast<size_t>(frames) * 2, 0.0f);
  for (int at = 0; at < frames; at += chunk)
    player.Render(mix.data() + 2 * at, std::min(chunk, frames - at));
  return mix;
}

TEST(TunePlayer, KeepsItsTimeWhateverThePassesAndEachLoopIsTheLastOneAgain) {
  // At 137 beats a minute no beat is a whole number of samples: each note's start is rounded.
  const MusicScore score = TestTune();
  const double loop_frames = score.LoopBeats * 60.0 * 48000 / score.Tempo;
  const int frames = static_cast<int>(3 * loop_frames) + 100;
  TunePlayer whole, by_passes, by_odd_pieces;
  whole.Start(score, TestInstruments());
  by_passes.Start(score, TestInstruments());
  by_odd_pieces.Start(score, TestInstruments());
  const std::vector<float> reference = Play(whole, frames, frames);
  EXPECT_EQ(Play(by_passes, frames, 800), reference);
  EXPECT_EQ(Play(by_odd_pieces, frames, 37), reference);
  EXPECT_EQ(whole.Loops(), 3);

  // The second and third loops sound as the first (the hat's noise aside, which goes on
  // drawing: the first two parts alone here), at a tempo where a loop is a whole number of
  // samples.
  MusicScore tonal = TestTune(120);
  tonal.Parts.pop_back();
  const double loop_samples = tonal.LoopBeats * 60.0 * 48000 / tonal.Tempo;
  TunePlayer player;
  player.Start(tonal, TestInstruments());
  const std::vector<float> tune = Play(player, static_cast<int>(3 * loop_samples) + 100, 800);
  for (int loop = 1; loop < 3; ++loop) {
    const auto at = static_cast<size_t>(std::llround(loop * loop_samples));
    const auto span = static_cast<size_t>(loop_samples);
    float worst = 0;
    for (size_t i = 0; i < 2 * span; ++i)
      worst = std::max(worst, std::fabs(tune[2 * at + i] - tune[i]));
    EXPECT_EQ(worst, 0.0f) << "loop " << loop;
  }
  // No silence where the loop joins: the last note runs up to the join, the first starts on it.
  const auto join = static_cast<size_t>(std::llround(loop_samples));
  const auto largest_step = [&tune](size_t from, size_t to) {
    float step = 0;
    for (size_t i = from; i < to; ++i)
      step = std::max(step, std::fabs(tune[2 * i] - tune[2 * i - 2]));
    return step;
  };
  float around = 0;
  for (size_t i = join - 480; i < join + 480; ++i)
    around = std::max(around, std::fabs(tune[2 * i]));
  EXPECT_GT(around, 0.05f);
  // The join steps no more than the square's own edges do within the loop: no click on top.
  EXPECT_LE(largest_step(join - 480, join + 480), largest_step(1, join - 480));
}

TEST(TunePlayer, StoppedOrChangedItFadesAndAPartWithoutARecipeIsSilent) {
  const MusicScore score = TestTune();
  TunePlayer player;
  player.Start(score, {std::nullopt, Instrument(Waveform::kTriangle), std::nullopt});
  std::vector<float> mix = Play(player, 24000, 800);
  EXPECT_TRUE(std::any_of(mix.begin(), mix.end(), [](float v) { return v != 0; }));
  player.Stop();
  mix = Play(player, 4800, 800);
  float step = 0;
  for (size_t i = 2; i < mix.size(); ++i)
    step = std::max(step, std::fabs(mix[i] - mix[i - 2]));
  EXPECT_LT(step, 0.05f) << "a stopped tune fades out";
  EXPECT_FALSE(player.Sounding());
  EXPECT_TRUE(std::all_of(mix.end() - 100, mix.end(), [](float v) { return v == 0; }));

  // With no recipe for any part there is nothing to play, and nothing is ever started.
  player.Start(score, {});
  EXPECT_FALSE(player.HasTune());
  mix = Play(player, 48000, 800);
  EXPECT_TRUE(std::all_of(mix.begin(), mix.end(), [](float v) { return v == 0; }));

  // In the mixer the tune goes under the limiter with the rest, and a mixer without one is
  // silent as before.
  SoundMixer mixer;
  mixer.Tune().SetLevel(1.0f);
  mixer.Tune().Start(score, TestInstruments());
  std::vector<int16_t> out(96000);
  mixer.Mix(out.data(), 48000);
  EXPECT_TRUE(std::any_of(out.begin(), out.end(), [](int16_t v) { return v != 0; }));
  EXPECT_LE(*std::max_element(out.begin(), out.end()), 29204);
}

}  // namespace
