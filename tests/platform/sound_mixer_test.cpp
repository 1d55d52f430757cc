// The mixer under the loads the game gives it: a crowd of sounds in one frame, voices stolen
// while loud, muting mid-sound, and the same plays giving the same samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/sound/sound_mixer.h"
#include "platform/sound/wav_file.h"

namespace {

// -1 dBFS of a 16-bit sample.
const int kMostAllowed = static_cast<int>(32768 * std::pow(10.0, -1.0 / 20.0));

SoundRecipe Tone(Waveform wave, double hz, double length, double volume = 1.0) {
  SoundRecipe recipe;
  recipe.Wave = wave;
  recipe.StartHz = recipe.EndHz = hz;
  recipe.Length = length;
  recipe.Attack = 0.002;
  recipe.Release = 0.01;
  recipe.Volume = volume;
  return recipe;
}

std::vector<int16_t> Mix(SoundMixer& mixer, int frames) {
  std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
  mixer.Mix(out.data(), frames);
  return out;
}

int Peak(const std::vector<int16_t>& samples) {
  int peak = 0;
  for (const int16_t s : samples)
    peak = std::max(peak, std::abs(int{s}));
  return peak;
}

// The largest step between neighbouring samples of one channel.
int LargestStep(const std::vector<int16_t>& samples) {
  int step = 0;
  for (size_t i = 2; i < samples.size(); ++i)
    step = std::max(step, std::abs(samples[i] - samples[i - 2]));
  return step;
}

TEST(SoundMixer, ACrowdInOneFrameIsMergedAndNeverPassesMinusOneDecibel) {
  SoundMixer mixer;
  const int loud = mixer.AddSound("loud", Tone(Waveform::kSquare, 220, 0.5));
  const int noise = mixer.AddSound("noise", Tone(Waveform::kNoise, 8000, 0.5));
  for (int i = 0; i < 500; ++i) {
    mixer.Play(loud, 1.0f, (i % 3) - 1.0f);
    mixer.Play(noise, 1.0f, 0.0f);
  }
  // The same sound in the same pass is one voice, however many times it was asked for.
  EXPECT_EQ(mixer.PlayingVoices(), 2);
  const std::vector<int16_t> out = Mix(mixer, 48000);
  EXPECT_LE(Peak(out), kMostAllowed);
  EXPECT_GT(Peak(out), kMostAllowed / 2);  // squeezed, not silenced
}

TEST(SoundMixer, CapsAndPrioritiesDecideWhichSoundsGetAVoice) {
  SoundMixer mixer;
  SoundRecipe capped_recipe = Tone(Waveform::kTriangle, 330, 1.0);
  capped_recipe.Voices = 2;
  const int capped = mixer.AddSound("capped", capped_recipe);
  const int crowd = mixer.AddSound("crowd", Tone(Waveform::kSaw, 150, 1.0));
  SoundRecipe player_recipe = Tone(Waveform::kSquare, 440, 1.0);
  player_recipe.Voices = SoundMixer::kVoices;
  const int player = mixer.AddSound("player", player_recipe);
  for (int pass = 0; pass < 5; ++pass) {
    mixer.Play(capped, 0.5f, 0.0f);
    Mix(mixer, 100);
  }
  EXPECT_EQ(mixer.PlayingVoices(), 2) << "a sound holds no more voices than its recipe allows";
  for (int pass = 0; pass < 30; ++pass) {
    mixer.Play(crowd, 0.2f, 0.0f, SoundPriority::kCrowd);
    Mix(mixer, 100);
  }
  EXPECT_EQ(mixer.PlayingVoices(), 6) << "crowd sounds of one kind are capped at 4 by default";
  // The player's sounds always find a voice, even quiet ones among loud others; the crowd's
  // louder sounds cannot take them back.
  for (int pass = 0; pass < SoundMixer::kVoices; ++pass) {
    mixer.Play(player, 0.1f, 0.0f, SoundPriority::kPlayer);
    mixer.Play(crowd, 1.0f, 0.0f, SoundPriority::kCrowd);
    Mix(mixer, 100);
  }
  EXPECT_EQ(mixer.PlayingVoices(), SoundMixer::kVoices);
  // All voices the player's now: another crowd sound is dropped, and the mix goes on as if
  // it had never been asked for.
  SoundMixer copy = mixer;
  mixer.Play(crowd, 1.0f, 0.0f, SoundPriority::kCrowd);
  EXPECT_EQ(Mix(mixer, 4800), Mix(copy, 4800));
}

TEST(SoundMixer, TheLimiterGlidesAndTheOffsetOfNarrowPulsesIsTakenOut) {
  SoundMixer mixer;
  SoundRecipe pulse = Tone(Waveform::kSquare, 110, 1.5);
  pulse.Duty = 0.125;
  const int sound = mixer.AddSound("pulse", pulse);
  // Silence, then 16 full pulses at once: about six times the ceiling.
  Mix(mixer, 4800);
  for (int i = 0; i < SoundMixer::kVoices; ++i) {
    mixer.Play(sound, 1.0f, 0.0f);
    Mix(mixer, 1);
  }
  const std::vector<int16_t> out = Mix(mixer, 72000);
  EXPECT_LE(Peak(out), kMostAllowed);
  EXPECT_LE(mixer.Limiter().LargestStep(), 0.01f) << "the limiter's gain stepped";
  EXPECT_LT(mixer.Limiter().LowestGain(), 0.5f);
  EXPECT_GT(mixer.PeakIntoLimiter(), 2.0f);
  // A pulse of duty 1/8 sits three quarters of full scale below zero on average; over its
  // second half second the mix is centred.
  double sum = 0;
  for (size_t i = 48000; i < 96000; i += 2)
    sum += out[i];
  EXPECT_LT(std::fabs(sum / 24000) / 32768, 0.005);
}

TEST(SoundMixer, StartsEndsAndStolenVoicesDoNotClick) {
  // A slow triangle moves at most a few units a sample: any step much larger is a click.
  SoundMixer mixer;
  const int hum = mixer.AddSound("hum", Tone(Waveform::kTriangle, 110, 1.0, 0.8));
  std::vector<int16_t> all;
  for (int i = 0; i < 40; ++i) {
    mixer.Play(hum, 0.5f, 0.0f);  // from the 17th on, each takes a playing voice
    const std::vector<int16_t> part = Mix(mixer, 331);
    all.insert(all.end(), part.begin(), part.end());
  }
  const std::vector<int16_t> tail = Mix(mixer, 96000);
  all.insert(all.end(), tail.begin(), tail.end());
  EXPECT_LT(LargestStep(all), 700) << "a voice started, ended or was stolen with a step";
  // After the last voice has ended, silence is exact zeros.
  EXPECT_EQ(Peak(std::vector<int16_t>(all.end() - 2000, all.end())), 0);
  EXPECT_EQ(mixer.PlayingVoices(), 0);
}

TEST(SoundMixer, MutingFadesOutAndTheSamePlaysGiveTheSameSamples) {
  auto run = [](bool mute_midway) {
    SoundMixer mixer;
    const int sound = mixer.AddSound("varied", [] {
      SoundRecipe recipe = Tone(Waveform::kNoise, 3000, 0.3);
      recipe.VaryPitch = 0.3;
      recipe.VaryLength = 0.3;
      return recipe;
    }());
    std::vector<int16_t> all;
    for (int pass = 0; pass < 20; ++pass) {
      if (pass % 4 == 0) mixer.Play(sound, 0.7f, 0.5f);
      if (mute_midway && pass == 10) mixer.SetMuted(true);
      const std::vector<int16_t> part = Mix(mixer, 800);
      all.insert(all.end(), part.begin(), part.end());
    }
    return all;
  };
  const std::vector<int16_t> first = run(false), second = run(false);
  EXPECT_EQ(first, second);
  // Each play draws its own variation: the first two plays do not sound alike.
  EXPECT_NE(std::vector<int16_t>(first.begin(), first.begin() + 6400),
            std::vector<int16_t>(first.begin() + 6400, first.begin() + 12800));
  const std::vector<int16_t> muted = run(true);
  EXPECT_EQ(std::vector<int16_t>(muted.begin(), muted.begin() + 16000),
            std::vector<int16_t>(first.begin(), first.begin() + 16000));
  EXPECT_LT(LargestStep(std::vector<int16_t>(muted.begin() + 15000, muted.end())),
            LargestStep(first) + 1);
  EXPECT_EQ(Peak(std::vector<int16_t>(muted.begin() + 2 * 800 * 16, muted.end())), 0);
}

// Eight plays of one sound, each alone: their levels differ by more than a decibel between the
// softest and the loudest, drawn by the sound's own generator (the same in every run).
TEST(SoundMixer, EachPlayHasItsOwnLevel) {
  auto levels = [] {
    SoundMixer mixer;
    SoundRecipe recipe = Tone(Waveform::kTriangle, 440, 0.1, 0.5);
    recipe.VaryLevel = 0.2;
    const int sound = mixer.AddSound("varied", recipe);
    std::vector<double> rms;
    for (int play = 0; play < 8; ++play) {
      mixer.Play(sound, 1.0f, 0.0f);
      const std::vector<int16_t> out = Mix(mixer, 9600);
      double sum = 0;
      for (const int16_t s : out)
        sum += static_cast<double>(s) * s;
      rms.push_back(20 * std::log10(std::sqrt(sum / static_cast<double>(out.size()))));
    }
    return rms;
  };
  const std::vector<double> first = levels();
  EXPECT_EQ(first, levels());
  const auto [soft, loud] = std::minmax_element(first.begin(), first.end());
  EXPECT_GT(*loud - *soft, 1.0);
  EXPECT_LT(*loud - *soft, 4.0);
}

TEST(SoundMixer, SilentSoundsAndBadArgumentsPlayNothing) {
  SoundMixer mixer;
  const int missing = mixer.AddSound("missing", std::nullopt);
  const int good = mixer.AddSound("good", Tone(Waveform::kSaw, 440, 0.1));
  mixer.Play(missing, 1.0f, 0.0f);
  mixer.Play(-1, 1.0f, 0.0f);
  mixer.Play(99, 1.0f, 0.0f);
  mixer.Play(good, std::nanf(""), 0.0f);
  mixer.Play(good, 0.0f, 0.0f);
  EXPECT_EQ(mixer.PlayingVoices(), 0);
  EXPECT_EQ(Peak(Mix(mixer, 4800)), 0);
  mixer.Play(good, 1.0f, std::nanf(""));
  const std::vector<int16_t> out = Mix(mixer, 4800);
  EXPECT_GT(Peak(out), 0);
  EXPECT_LE(Peak(out), kMostAllowed);
}

TEST(WavFile, HeaderSaysSixteenBitStereoAndTheDataLength) {
  const std::vector<uint8_t> bytes = WavBytes({1, -1, 256, -32768}, 48000);
  ASSERT_EQ(bytes.size(), 44u + 8u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(bytes[4], 44);  // 36 + data
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(bytes[22], 2);  // channels
  EXPECT_EQ(bytes[24] | (bytes[25] << 8), 48000 & 0xffff);
  EXPECT_EQ(bytes[34], 16);    // bits per sample
  EXPECT_EQ(bytes[40], 8);     // data bytes
  EXPECT_EQ(bytes[46], 0xff);  // -1, little-endian
  EXPECT_EQ(bytes[50], 0x00);
  EXPECT_EQ(bytes[51], 0x80);  // -32768
}

}  // namespace
