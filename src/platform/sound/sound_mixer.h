// The mixer: a fixed number of voices playing the loaded sounds, each placed in the stereo
// field with its own gain, summed under a master volume and a limiter into 16-bit samples.
// Triggered sounds beyond the voices take the place of the quietest playing one (the oldest
// among equals); a voice cut off that way fades its last value out instead of stepping to
// zero, so nothing clicks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sound/sound_recipe.h"
#include "platform/sound/synth_voice.h"

// The samples of one pass of the game's loop, which steps 60 times a second.
constexpr int kSoundFramesPerPass = kSoundRate / 60;

class SoundMixer {
 public:
  static constexpr int kVoices = 16;
  // The limiter's ceiling: -1 dBFS with a little room for rounding.
  static constexpr float kCeiling = 0.8905f;

  // A sound by its recipe; without one (missing or refused) it plays as silence. Returns its
  // number for Play. The name seeds the sound's own generator, so its variations come out the
  // same in every run, whatever else plays.
  int AddSound(const std::string& name, std::optional<SoundRecipe> recipe);
  int SoundCount() const { return static_cast<int>(Sounds.size()); }

  // Starts a sound at gain 0..1, pan -1 (left) .. 1 (right). Unknown numbers and silent
  // sounds are ignored.
  void Play(int sound, float gain, float pan);

  // Writes the next frames into `out`, left and right interleaved (2 * frames values).
  void Mix(int16_t* out, int frames);

  void SetVolume(int percent);  // 0..100, clamped
  void SetMuted(bool muted) { Muted = muted; }
  bool IsMuted() const { return Muted; }
  int PlayingVoices() const;

 private:
  struct Sound {
    std::optional<SoundRecipe> Recipe;
    uint32_t Generator;
  };
  struct Voice {
    SynthVoice Synth;
    uint64_t Started = 0;  // trigger order, to find the oldest
  };

  int VoiceToTake();
  VoiceVariation NextVariation(Sound& sound);
  void Finish(float* mix, int16_t* out, int frames);

  std::vector<Sound> Sounds;
  std::array<Voice, kVoices> Voices;
  uint64_t Triggers = 0;
  float Volume = 1, Master = 1;
  bool Muted = false;
  float ResidualLeft = 0, ResidualRight = 0;
  float LimiterGain = 1;
  std::vector<float> Scratch;
};
