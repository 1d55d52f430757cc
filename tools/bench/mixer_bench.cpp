// The sound's cost per pass: the mixer rendering one pass's 800 frames with all 16 voices
// playing (every waveform, slides and low-passes), the voices kept busy as they end; and the
// same with a tune of four parts under them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "frame/game_sounds.h"
#include "platform/sound/music_score.h"
#include "platform/sound/sound_mixer.h"

namespace {

SoundMixer BusyMixer(std::vector<int>& sounds) {
  SoundMixer mixer;
  const Waveform waves[] = {Waveform::kSquare, Waveform::kTriangle, Waveform::kSaw,
                            Waveform::kNoise};
  for (int i = 0; i < SoundMixer::kVoices; ++i) {
    SoundRecipe recipe;
    recipe.Wave = waves[i % 4];
    recipe.Duty = 0.25;
    recipe.StartHz = 200 + 100 * i;
    recipe.EndHz = 800 + 50 * i;
    recipe.Length = kLongestSound;
    recipe.Decay = 0.1;
    recipe.Sustain = 0.6;
    recipe.LowpassHz = 3000;
    recipe.VaryPitch = 0.1;
    sounds.push_back(mixer.AddSound("bench" + std::to_string(i), recipe));
  }
  return mixer;
}

void BM_MixPass16Voices(benchmark::State& state) {
  std::vector<int> sounds;
  SoundMixer mixer = BusyMixer(sounds);
  std::vector<int16_t> out(2 * kSoundFramesPerPass);
  for (auto _ : state) {
    while (mixer.PlayingVoices() < SoundMixer::kVoices)
      mixer.Play(sounds[static_cast<size_t>(mixer.PlayingVoices())], 0.5f, 0.0f);
    mixer.Mix(out.data(), kSoundFramesPerPass);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_MixPass16Voices)->Name("Sound/MixPass16Voices")->Unit(benchmark::kMicrosecond);

// Eighth notes in every part, two of them hits of noise: as busy as a tune gets.
constexpr const char* kBusyTune =
    "tempo 160\npart lead lead 0.8\npart bass bass\npart hat hat 0.5\npart kick kick\n"
    "lead C5:1/2 E5:1/2 G5:1/2 C6:1/2 B5:1/2 G5:1/2 E5:1/2 D5:1/2\n"
    "bass C3:1/2 C2:1/2 G2:1/2 G3:1/2 A2:1/2 A3:1/2 F2:1/2 F3:1/2\n"
    "hat x:1/2 x:1/2 x:1/2 x:1/2 x:1/2 x:1/2 x:1/2 x:1/2\nkick x:1 x:1 x:1 x:1\n";

void BM_MixPass16VoicesAndATune(benchmark::State& state) {
  std::vector<int> sounds;
  SoundMixer mixer = BusyMixer(sounds);
  MusicScore score;
  std::string why;
  ParseMusicScore(kBusyTune, score, why);
  SoundRecipe tone;
  tone.StartHz = tone.EndHz = 440;
  tone.Length = 0.2;
  tone.Decay = 0.1;
  tone.Sustain = 0.6;
  tone.LowpassHz = 2600;
  SoundRecipe hit = tone;
  hit.Wave = Waveform::kNoise;
  hit.Length = 0.05;
  mixer.Tune().Start(score, {tone, tone, hit, hit});
  std::vector<int16_t> out(2 * kSoundFramesPerPass);
  for (auto _ : state) {
    while (mixer.PlayingVoices() < SoundMixer::kVoices)
      mixer.Play(sounds[static_cast<size_t>(mixer.PlayingVoices())], 0.5f, 0.0f);
    mixer.Mix(out.data(), kSoundFramesPerPass);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_MixPass16VoicesAndATune)
    ->Name("Sound/MixPass16VoicesAndATune")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
