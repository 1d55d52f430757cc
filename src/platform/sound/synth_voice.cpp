// The oscillators (square with duty, triangle, saw, sample-and-hold noise), the exponential
// pitch slide, the envelope and a one-pole low-pass.
#include "platform/sound/synth_voice.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Shorter ramps than these click however quiet the sound.
constexpr double kShortestAttack = 0.001;
constexpr double kShortestRelease = 0.002;

int64_t Samples(double seconds) {
  return static_cast<int64_t>(std::llround(seconds * kSoundRate));
}

uint32_t NextNoise(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

// A slide may carry a varied pitch past Nyquist; it is held just below it.
double SafeHz(double hz) {
  return std::clamp(hz, 1.0, kNyquistHz * 0.95);
}

}  // namespace

void SynthVoice::Start(const SoundRecipe& recipe, const VoiceVariation& variation, float gain_left,
                       float gain_right) {
  const double length = recipe.Length * variation.LengthFactor;
  const double scale = length / recipe.Length;  // the envelope's times stretch with the length
  Length = std::max<int64_t>(Samples(length), 1);
  const int64_t attack = Samples(std::max(recipe.Attack * scale, kShortestAttack));
  const int64_t release = Samples(std::max(recipe.Release * scale, kShortestRelease));
  AttackEnd = std::min(attack, Length);
  DecayEnd = std::min(AttackEnd + Samples(recipe.Decay * scale), Length);
  ReleaseStart = std::max<int64_t>(Length - release, 0);
  Sustain = static_cast<float>(recipe.Sustain);
  ReleaseLevel = Shape(ReleaseStart);
  const double start_hz = SafeHz(recipe.StartHz * variation.PitchFactor);
  const double end_hz = SafeHz(recipe.EndHz * variation.PitchFactor);
  Step = start_hz / kSoundRate;
  StepFactor = std::pow(end_hz / start_hz, 1.0 / static_cast<double>(Length));
  Wave = recipe.Wave;
  Duty = static_cast<float>(recipe.Duty);
  Phase = 0;
  Position = 0;
  Filter = 0;
  FilterCoefficient = recipe.LowpassHz > 0
                          ? static_cast<float>(1.0 - std::exp(-2.0 * std::numbers::pi *
                                                              recipe.LowpassHz / kSoundRate))
                          : 1.0f;
  Noise = variation.NoiseSeed != 0 ? variation.NoiseSeed : 1;
  Held = NoiseValue();
  Volume = static_cast<float>(std::min(1.0, recipe.Volume * variation.LevelFactor));
  SetGains(gain_left, gain_right);
  Last = 0;
  FadeLeft = FadeLength = 0;
  Active = true;
}

void SynthVoice::SetGains(float gain_left, float gain_right) {
  GainLeft = gain_left * Volume;
  GainRight = gain_right * Volume;
}

void SynthVoice::FadeOut(int frames) {
  if (!Active) return;
  const int64_t left = Length - Position;
  if (frames <= 0 || left <= frames) return;         // its own release ends it sooner
  if (FadeLength > 0 && FadeLeft <= frames) return;  // fading out faster already
  FadeLeft = FadeLength = frames;
}

float SynthVoice::Envelope(int64_t sample) const {
  float level = Shape(sample);
  if (sample >= ReleaseStart) {
    const int64_t release = Length - ReleaseStart;
    level = release > 0 ? ReleaseLevel * static_cast<float>(Length - sample) / release : 0;
  }
  if (FadeLength > 0) level *= static_cast<float>(FadeLeft) / static_cast<float>(FadeLength);
  return level;
}

// Attack, decay and sustain, as if the release never came.
float SynthVoice::Shape(int64_t sample) const {
  if (sample < AttackEnd) return static_cast<float>(sample) / static_cast<float>(AttackEnd);
  if (sample < DecayEnd) {
    const float through =
        static_cast<float>(sample - AttackEnd) / static_cast<float>(DecayEnd - AttackEnd);
    return 1.0f - (1.0f - Sustain) * through;
  }
  return Sustain;
}

float SynthVoice::Oscillator() {
  const auto phase = static_cast<float>(Phase);
  switch (Wave) {
    case Waveform::kSquare:
      return phase < Duty ? 1.0f : -1.0f;
    case Waveform::kTriangle:
      return phase < 0.5f ? 4.0f * phase - 1.0f : 3.0f - 4.0f * phase;
    case Waveform::kSaw:
      return 2.0f * phase - 1.0f;
    case Waveform::kNoise:
      return Held;
  }
  return 0;
}

bool SynthVoice::Render(float* mix, int frames) {
  for (int i = 0; i < frames && Active; ++i) {
    const float raw = Oscillator();
    Filter += FilterCoefficient * (raw - Filter);
    Last = Filter * Envelope(Position);
    mix[2 * i] += Last * GainLeft;
    mix[2 * i + 1] += Last * GainRight;
    Phase += Step;
    Step *= StepFactor;
    if (Phase >= 1.0) {
      Phase -= std::floor(Phase);
      if (Wave == Waveform::kNoise) {
        Held = NoiseValue();
      }
    }
    if (FadeLength > 0 && --FadeLeft <= 0) Position = Length;
    if (++Position >= Length) {
      Active = false;
      Last = 0;
    }
  }
  return Active;
}

// -1..1 from the voice's own noise generator.
float SynthVoice::NoiseValue() {
  return static_cast<float>(NextNoise(Noise) >> 8) / static_cast<float>(1 << 23) - 1.0f;
}

float SynthVoice::Loudness() const {
  if (!Active) return 0;
  return Envelope(Position) * std::max(GainLeft, GainRight);
}
