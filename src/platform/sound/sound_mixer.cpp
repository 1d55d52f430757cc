// Voices by priority, merging and caps, the fades of voices given up, the master volume's
// glide, the DC blocker and the limiter.
#include "platform/sound/sound_mixer.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "platform/sound/sound_random.h"

namespace {

// Per-sample factors at 48 kHz: a cut voice's last value fades in about 2 ms, the master volume
// glides in about 5 ms (muting never clicks).
constexpr float kResidualFade = 0.9896f;
constexpr float kMasterGlide = 0.0042f;
// Below this a fading value is silence, so a quiet stretch is exact zeros.
constexpr float kInaudible = 1e-6f;

// -1..1
double Spread(uint32_t& state) {
  return static_cast<double>(NextRandom(state)) / 2147483647.5 - 1.0;
}

float Glide(float value, float target, float rate) {
  const float next = value + (target - value) * rate;
  return std::fabs(next - target) < kInaudible ? target : next;
}

// Equal-power panning: a sound crossing the view keeps its loudness.
void PanGains(float gain, float pan, float& left, float& right) {
  const float angle = (pan + 1.0f) * 0.25f * 3.14159265f;
  left = gain * std::cos(angle);
  right = gain * std::sin(angle);
}

// To 16 bits, clamped against rounding. The limiter brings a loud peak exactly to the ceiling,
// and the flat top of a smooth peak may round to the ceiling twice in a row: the second goes
// one step under, so the mix never sits at its ceiling (which reads as clipping).
int16_t Quantize(float value, int16_t& last) {
  const auto ceiling = static_cast<int16_t>(std::lround(SoundMixer::kCeiling * 32767.0f));
  auto sample = static_cast<int16_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
  sample = std::clamp<int16_t>(sample, static_cast<int16_t>(-ceiling), ceiling);
  if (sample == last && (sample == ceiling || sample == -ceiling))
    sample = static_cast<int16_t>(sample > 0 ? sample - 1 : sample + 1);
  last = sample;
  return sample;
}

}  // namespace

SoundMixer::SoundMixer() : Limit(kCeiling) {}

int SoundMixer::AddSound(const std::string& name, std::optional<SoundRecipe> recipe) {
  Sounds.push_back(Sound{std::move(recipe), NameSeed(name)});
  return static_cast<int>(Sounds.size()) - 1;
}

VoiceVariation SoundMixer::NextVariation(Sound& sound) {
  VoiceVariation variation;
  variation.PitchFactor = 1.0 + sound.Recipe->VaryPitch * Spread(sound.Generator);
  variation.LengthFactor = 1.0 + sound.Recipe->VaryLength * Spread(sound.Generator);
  variation.NoiseSeed = NextRandom(sound.Generator);
  // Drawn last, and only where the recipe asks, so a sound without it varies as it always did.
  if (sound.Recipe->VaryLevel > 0)
    variation.LevelFactor = 1.0 + sound.Recipe->VaryLevel * Spread(sound.Generator);
  return variation;
}

// The voice a new sound goes to: a free one while the sound is under its cap; otherwise the
// least important of those it may take (its own voices once at its cap, any voice else): the
// lowest priority, then the quietest, then the oldest. -1 when that one matters more than the
// new sound.
int SoundMixer::VoiceToTake(int sound, SoundPriority priority) const {
  const int cap = static_cast<int>(Sounds[sound].Recipe->Voices);
  int own = 0;
  for (const Voice& voice : Voices)
    if (voice.Synth.Playing() && voice.SoundNumber == sound) ++own;
  const bool capped = own >= cap;
  int best = -1;
  for (int i = 0; i < kVoices; ++i) {
    const Voice& voice = Voices[i];
    if (!voice.Synth.Playing()) {
      if (!capped) return i;
      continue;
    }
    if (capped && voice.SoundNumber != sound) continue;
    if (best < 0) {
      best = i;
      continue;
    }
    const Voice& chosen = Voices[best];
    if (std::make_tuple(voice.Priority, voice.Synth.Loudness(), voice.Started) <
        std::make_tuple(chosen.Priority, chosen.Synth.Loudness(), chosen.Started)) {
      best = i;
    }
  }
  if (best >= 0 && Voices[best].Priority > priority) return -1;
  return best;
}

// The voice goes on among the fading ones and ends in a few milliseconds. With all of those
// busy, the quietest of them is cut, its last value fading out alone.
void SoundMixer::GiveUp(Voice& voice) {
  if (!voice.Synth.Playing()) return;
  int slot = 0;
  for (int i = 0; i < kVoices; ++i) {
    if (!Fading[i].Playing()) {
      slot = i;
      break;
    }
    if (Fading[i].Loudness() < Fading[slot].Loudness()) slot = i;
  }
  if (Fading[slot].Playing()) {
    ResidualLeft += Fading[slot].LastLeft();
    ResidualRight += Fading[slot].LastRight();
  }
  Fading[slot] = voice.Synth;
  Fading[slot].FadeOut(kFadeFrames);
  voice.Synth.Stop();
}

void SoundMixer::StartVoice(Voice& voice, int sound, float gain, float pan, SoundPriority priority,
                            float pitch) {
  float left = 0, right = 0;
  PanGains(gain, pan, left, right);
  VoiceVariation variation = NextVariation(Sounds[sound]);
  variation.PitchFactor *= pitch;
  voice.Synth.Start(*Sounds[sound].Recipe, variation, left, right);
  voice.Started = ++Triggers;
  voice.SoundNumber = sound;
  voice.Priority = priority;
  voice.Gain = gain;
  voice.Pan = pan;
  voice.Pitch = pitch;
  voice.Fresh = true;
}

void SoundMixer::Play(int sound, float gain, float pan, SoundPriority priority, float pitch) {
  if (sound < 0 || sound >= SoundCount() || !Sounds[sound].Recipe) return;
  if (!(gain > 0)) return;  // silent, or not a number
  gain = std::min(gain, 1.0f);
  // A pan that is not a number would poison the whole mix from here on: it plays centred.
  pan = std::isfinite(pan) ? std::clamp(pan, -1.0f, 1.0f) : 0.0f;
  pitch = std::isfinite(pitch) ? std::clamp(pitch, 0.25f, 4.0f) : 1.0f;
  // The same sound, for the same kind of listener, started since the last mix: one voice, as
  // loud as the two together and placed between them.
  for (Voice& voice : Voices) {
    if (!voice.Fresh || !voice.Synth.Playing() || voice.SoundNumber != sound ||
        voice.Priority != priority || voice.Pitch != pitch) {
      continue;
    }
    const float together = std::min(1.0f, std::sqrt(voice.Gain * voice.Gain + gain * gain));
    voice.Pan = (voice.Pan * voice.Gain + pan * gain) / (voice.Gain + gain);
    voice.Gain = together;
    float left = 0, right = 0;
    PanGains(voice.Gain, voice.Pan, left, right);
    voice.Synth.SetGains(left, right);
    return;
  }
  const int taken = VoiceToTake(sound, priority);
  if (taken < 0) return;
  GiveUp(Voices[taken]);
  StartVoice(Voices[taken], sound, gain, pan, priority, pitch);
}

void SoundMixer::SetVolume(int percent) {
  Volume = static_cast<float>(std::clamp(percent, 0, 100)) / 100.0f;
}

int SoundMixer::PlayingVoices() const {
  return static_cast<int>(std::count_if(Voices.begin(), Voices.end(),
                                        [](const Voice& v) { return v.Synth.Playing(); }));
}

bool SoundMixer::Settled() const {
  const auto silent = [](const SynthVoice& v) { return !v.Playing(); };
  return PlayingVoices() == 0 && !Music.Sounding() &&
         std::all_of(Fading.begin(), Fading.end(), silent) && ResidualLeft == 0.0f &&
         ResidualRight == 0.0f && Master == (Muted ? 0.0f : Volume) && BlockLeft.Settled() &&
         BlockRight.Settled() && Limit.Settled();
}

void SoundMixer::Mix(int16_t* out, int frames) {
  // Settled silence (most of a game's passes): Finish would give zeros and change nothing.
  if (Settled()) {
    std::fill(out, out + static_cast<size_t>(frames) * 2, int16_t{0});
    return;
  }
  Scratch.assign(static_cast<size_t>(frames) * 2, 0.0f);
  for (Voice& voice : Voices) {
    voice.Fresh = false;
    if (voice.Synth.Playing()) voice.Synth.Render(Scratch.data(), frames);
  }
  for (SynthVoice& fading : Fading)
    if (fading.Playing()) fading.Render(Scratch.data(), frames);
  if (Music.Sounding()) Music.Render(Scratch.data(), frames);
  Finish(Scratch.data(), out, frames);
}

// The cut voices' fading values, the DC blocker, the master volume, then the limiter. The
// final clamp only guards against rounding.
void SoundMixer::Finish(float* mix, int16_t* out, int frames) {
  const float target = Muted ? 0.0f : Volume;
  for (int i = 0; i < frames; ++i) {
    Master = Glide(Master, target, kMasterGlide);
    float left = BlockLeft.Filter(mix[2 * i] + ResidualLeft) * Master;
    float right = BlockRight.Filter(mix[2 * i + 1] + ResidualRight) * Master;
    ResidualLeft = std::fabs(ResidualLeft) < kInaudible ? 0.0f : ResidualLeft * kResidualFade;
    ResidualRight = std::fabs(ResidualRight) < kInaudible ? 0.0f : ResidualRight * kResidualFade;
    PeakIn = std::max(PeakIn, std::max(std::fabs(left), std::fabs(right)));
    Limit.Process(left, right);
    out[2 * i] = Quantize(left, LastOutLeft);
    out[2 * i + 1] = Quantize(right, LastOutRight);
  }
}
