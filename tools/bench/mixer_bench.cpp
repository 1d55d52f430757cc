// The sound's cost per pass: the mixer rendering one pass's 800 frames with all 16 voices
// playing (every waveform, slides and low-passes), the voices kept busy as they end.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "frame/game_sounds.h"
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

}  // namespace
