// Voices, stealing, the master volume's glide, the declick of stolen voices and the limiter.
#include "platform/sound/sound_mixer.h"

#include <algorithm>
#include <cmath>

namespace {

// Per-sample factors at 48 kHz: a stolen voice's last value fades in about 2 ms, the master
// volume glides in about 5 ms (muting never clicks), the limiter recovers in about 50 ms.
constexpr float kResidualFade = 0.9896f;
constexpr float kMasterGlide = 0.0042f;
constexpr float kLimiterRecovery = 0.00042f;
// Below this a fading value is silence, so a quiet stretch is exact zeros.
constexpr float kInaudible = 1e-6f;

uint32_t NameSeed(const std::string& name) {
  uint32_t hash = 2166136261u;
  for (const char c : name)
    hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
  return hash != 0 ? hash : 1;
}

uint32_t NextRandom(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

// -1..1
double Spread(uint32_t& state) {
  return static_cast<double>(NextRandom(state)) / 2147483647.5 - 1.0;
}

float Glide(float value, float target, float rate) {
  const float next = value + (target - value) * rate;
  return std::fabs(next - target) < kInaudible ? target : next;
}

}  // namespace

int SoundMixer::AddSound(const std::string& name, std::optional<SoundRecipe> recipe) {
  Sounds.push_back(Sound{std::move(recipe), NameSeed(name)});
  return static_cast<int>(Sounds.size()) - 1;
}

VoiceVariation SoundMixer::NextVariation(Sound& sound) {
  VoiceVariation variation;
  variation.PitchFactor = 1.0 + sound.Recipe->VaryPitch * Spread(sound.Generator);
  variation.LengthFactor = 1.0 + sound.Recipe->VaryLength * Spread(sound.Generator);
  variation.NoiseSeed = NextRandom(sound.Generator);
  return variation;
}

int SoundMixer::VoiceToTake() {
  int best = 0;
  for (int i = 0; i < kVoices; ++i) {
    const Voice& voice = Voices[i];
    if (!voice.Synth.Playing()) return i;
    const Voice& chosen = Voices[best];
    const float loudness = voice.Synth.Loudness(), chosen_loudness = chosen.Synth.Loudness();
    if (loudness < chosen_loudness ||
        (loudness == chosen_loudness && voice.Started < chosen.Started)) {
      best = i;
    }
  }
  return best;
}

void SoundMixer::Play(int sound, float gain, float pan) {
  if (sound < 0 || sound >= SoundCount() || !Sounds[sound].Recipe) return;
  if (!(gain > 0)) return;  // silent, or not a number
  gain = std::min(gain, 1.0f);
  // A pan that is not a number would poison the whole mix from here on: it plays centred.
  pan = std::isfinite(pan) ? std::clamp(pan, -1.0f, 1.0f) : 0.0f;
  Voice& voice = Voices[VoiceToTake()];
  if (voice.Synth.Playing()) {
    ResidualLeft += voice.Synth.LastLeft();
    ResidualRight += voice.Synth.LastRight();
  }
  // Equal-power panning: a sound crossing the view keeps its loudness.
  const float angle = (pan + 1.0f) * 0.25f * 3.14159265f;
  voice.Synth.Start(*Sounds[sound].Recipe, NextVariation(Sounds[sound]), gain * std::cos(angle),
                    gain * std::sin(angle));
  voice.Started = ++Triggers;
}

void SoundMixer::SetVolume(int percent) {
  Volume = static_cast<float>(std::clamp(percent, 0, 100)) / 100.0f;
}

int SoundMixer::PlayingVoices() const {
  return static_cast<int>(std::count_if(Voices.begin(), Voices.end(),
                                        [](const Voice& v) { return v.Synth.Playing(); }));
}

void SoundMixer::Mix(int16_t* out, int frames) {
  // Settled silence (most of a game's passes): Finish would give zeros and change nothing.
  if (PlayingVoices() == 0 && ResidualLeft == 0.0f && ResidualRight == 0.0f &&
      Master == (Muted ? 0.0f : Volume) && LimiterGain == 1.0f) {
    std::fill(out, out + static_cast<size_t>(frames) * 2, int16_t{0});
    return;
  }
  Scratch.assign(static_cast<size_t>(frames) * 2, 0.0f);
  for (Voice& voice : Voices) {
    if (voice.Synth.Playing()) voice.Synth.Render(Scratch.data(), frames);
  }
  Finish(Scratch.data(), out, frames);
}

// Master volume, the stolen voices' fading values, then the limiter: its gain drops at once to
// what keeps a peak under the ceiling and climbs back slowly, so a crowd of sounds is squeezed,
// never clipped. The final clamp only guards against rounding.
void SoundMixer::Finish(float* mix, int16_t* out, int frames) {
  const float target = Muted ? 0.0f : Volume;
  for (int i = 0; i < frames; ++i) {
    Master = Glide(Master, target, kMasterGlide);
    float left = (mix[2 * i] + ResidualLeft) * Master;
    float right = (mix[2 * i + 1] + ResidualRight) * Master;
    ResidualLeft = std::fabs(ResidualLeft) < kInaudible ? 0.0f : ResidualLeft * kResidualFade;
    ResidualRight = std::fabs(ResidualRight) < kInaudible ? 0.0f : ResidualRight * kResidualFade;
    const float peak = std::max(std::fabs(left), std::fabs(right));
    if (peak * LimiterGain > kCeiling) {
      LimiterGain = kCeiling / peak;
    } else {
      LimiterGain = Glide(LimiterGain, 1.0f, kLimiterRecovery);
    }
    left = std::clamp(left * LimiterGain, -kCeiling, kCeiling);
    right = std::clamp(right * LimiterGain, -kCeiling, kCeiling);
    out[2 * i] = static_cast<int16_t>(std::lround(left * 32767.0f));
    out[2 * i + 1] = static_cast<int16_t>(std::lround(right * 32767.0f));
  }
}
