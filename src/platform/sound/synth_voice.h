// One playing sound: the recipe's oscillator, pitch slide, envelope and low-pass, rendered
// sample by sample into a stereo mix. A voice knows nothing of what it sounds for.
#pragma once

#include <cstdint>

#include "platform/sound/sound_recipe.h"

// What varies from one play of a sound to the next, drawn by the sound's own generator.
struct VoiceVariation {
  double PitchFactor = 1;
  double LengthFactor = 1;
  double LevelFactor = 1;
  uint32_t NoiseSeed = 1;
};

class SynthVoice {
 public:
  void Start(const SoundRecipe& recipe, const VoiceVariation& variation, float gain_left,
             float gain_right);
  // Adds `frames` stereo frames (left, right interleaved) into `mix`; ends itself after its
  // release. Returns false once the voice is silent.
  bool Render(float* mix, int frames);
  void Stop() { Active = false; }
  // Ends the voice over the next `frames` samples from where it is, instead of at once.
  void FadeOut(int frames);
  // Changes the voice's gains; only for a voice that has not rendered a sample yet.
  void SetGains(float gain_left, float gain_right);

  bool Playing() const { return Active; }
  // The level it plays at now (envelope times its louder side), to choose one to give up.
  float Loudness() const;
  // The last sample it added, left and right: a stolen voice's step is smoothed away from it.
  float LastLeft() const { return Last * GainLeft; }
  float LastRight() const { return Last * GainRight; }

 private:
  float Envelope(int64_t sample) const;
  float Shape(int64_t sample) const;
  float NoiseValue();
  float Oscillator();

  bool Active = false;
  Waveform Wave = Waveform::kSquare;
  float Duty = 0.5f;
  double Phase = 0;
  double Step = 0;        // phase advance per sample, now
  double StepFactor = 1;  // how the step changes each sample: the slide, exponential
  int64_t Position = 0;
  int64_t Length = 0, AttackEnd = 0, DecayEnd = 0, ReleaseStart = 0;
  float Sustain = 1, ReleaseLevel = 1;
  float Filter = 0, FilterCoefficient = 1;
  float Held = 0;  // the noise's current value
  uint32_t Noise = 1;
  float Volume = 0;
  float GainLeft = 0, GainRight = 0;
  float Last = 0;
  int FadeLeft = 0, FadeLength = 0;  // samples of the fade-out left, of how many; 0: none
};
