// The mixer: a fixed number of voices playing the loaded sounds, each placed in the stereo
// field with its own gain, and a tune's notes on voices of their own, summed under a master
// volume, a DC blocker and a look-ahead limiter into 16-bit samples.
//
// Voices go by priority. A sound played again in the same pass as a voice of it that has not
// sounded yet is merged into that voice (a crowd landing together is one landing, a little
// louder); a sound holds at most its recipe's number of voices at once; when every voice is
// taken, the new sound takes the least important one (the quietest, then the oldest, among
// those), or is dropped if every voice is more important than it. A voice given up that way
// fades out over a few milliseconds beside the others, so nothing clicks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sound/dc_blocker.h"
#include "platform/sound/lookahead_limiter.h"
#include "platform/sound/sound_recipe.h"
#include "platform/sound/synth_voice.h"
#include "platform/sound/tune_player.h"

// The samples of one pass of the game's loop, which steps 60 times a second.
constexpr int kSoundFramesPerPass = kSoundRate / 60;

// Who a sound is for, least important first: the crowd of bad guys, the world and the
// editor, the player's own.
enum class SoundPriority : uint8_t { kCrowd, kWorld, kPlayer };

class SoundMixer {
 public:
  static constexpr int kVoices = 16;
  // The limiter's ceiling: -1 dBFS with a little room for rounding.
  static constexpr float kCeiling = 0.8905f;
  // A voice given up fades out over this many samples (3 ms).
  static constexpr int kFadeFrames = 144;

  SoundMixer();

  // A sound by its recipe; without one (missing or refused) it plays as silence. Returns its
  // number for Play. The name seeds the sound's own generator, so its variations come out the
  // same in every run, whatever else plays.
  int AddSound(const std::string& name, std::optional<SoundRecipe> recipe);
  int SoundCount() const { return static_cast<int>(Sounds.size()); }

  // Starts a sound at gain 0..1, pan -1 (left) .. 1 (right), its pitch scaled by `pitch`
  // (0.25..4). Unknown numbers and silent sounds are ignored.
  void Play(int sound, float gain, float pan, SoundPriority priority = SoundPriority::kWorld,
            float pitch = 1.0f);

  // Writes the next frames into `out`, left and right interleaved (2 * frames values).
  void Mix(int16_t* out, int frames);

  void SetVolume(int percent);  // 0..100, clamped
  void SetMuted(bool muted) { Muted = muted; }
  bool IsMuted() const { return Muted; }
  int PlayingVoices() const;

  // The tune under the effects (none until one is started).
  TunePlayer& Tune() { return Music; }
  const TunePlayer& Tune() const { return Music; }

  // What the mix did so far: the limiter's work, and the highest peak that reached it.
  const LookaheadLimiter& Limiter() const { return Limit; }
  float PeakIntoLimiter() const { return PeakIn; }

 private:
  struct Sound {
    std::optional<SoundRecipe> Recipe;
    uint32_t Generator;
  };
  struct Voice {
    SynthVoice Synth;
    uint64_t Started = 0;  // trigger order, to find the oldest
    int SoundNumber = -1;
    SoundPriority Priority = SoundPriority::kWorld;
    float Gain = 0, Pan = 0, Pitch = 1;
    bool Fresh = false;  // started since the last Mix: nothing of it sounded yet
  };

  int VoiceToTake(int sound, SoundPriority priority) const;
  void GiveUp(Voice& voice);
  void StartVoice(Voice& voice, int sound, float gain, float pan, SoundPriority priority,
                  float pitch);
  VoiceVariation NextVariation(Sound& sound);
  void Finish(float* mix, int16_t* out, int frames);
  bool Settled() const;

  std::vector<Sound> Sounds;
  std::array<Voice, kVoices> Voices;
  std::array<SynthVoice, kVoices> Fading;  // voices given up, fading out
  uint64_t Triggers = 0;
  float Volume = 1, Master = 1;
  bool Muted = false;
  float ResidualLeft = 0, ResidualRight = 0;
  DcBlocker BlockLeft, BlockRight;
  LookaheadLimiter Limit;
  TunePlayer Music;
  float PeakIn = 0;
  int16_t LastOutLeft = 0, LastOutRight = 0;
  std::vector<float> Scratch;
};
