// A tune playing: the notes of a score started on the exact sample their beat falls on, each
// note a voice of its part's recipe, looped for as long as the tune plays. The notes go into
// the mix beside the effects' voices, under their own level, and take none of the effects'
// voices. The loop is counted in beats from the tune's start, so no rounding builds up from
// one loop to the next and the loop's first note follows its last without a gap.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/sound/music_score.h"
#include "platform/sound/sound_recipe.h"
#include "platform/sound/synth_voice.h"

class TunePlayer {
 public:
  static constexpr int kVoices = 12;

  // Plays the score from its start; `recipes` holds one recipe a part, in the score's order
  // (a part without one is silent). The notes of a tune playing before fade out.
  void Start(const MusicScore& score, std::vector<std::optional<SoundRecipe>> recipes);
  // No more notes; those sounding fade out.
  void Stop();
  // The tune's level, 0..1, applied to the notes started from now on.
  void SetLevel(float level) { Level = level; }

  // A tune is playing, or a note of one is still heard.
  bool Sounding() const;
  bool HasTune() const { return !Events.empty(); }
  // Adds `frames` stereo frames (left, right interleaved) into `mix`.
  void Render(float* mix, int frames);
  // Sample frames since the tune started, and how many times it has started again.
  int64_t Position() const { return Now; }
  int64_t Loops() const { return Loop; }

 private:
  struct Event {
    double Beat;
    int Part;
    ScoreNote Note;
  };
  int64_t StartSample(const Event& event, int64_t loop) const;
  void StartNote(const Event& event);
  void RenderVoices(float* mix, int frames);
  void FadeAll();

  std::vector<Event> Events;  // every part's notes, by their start
  std::vector<std::optional<SoundRecipe>> Recipes;
  std::vector<float> PartLeft, PartRight;
  std::vector<uint32_t> PartNoise;
  double SamplesPerBeat = 0, LoopBeats = 0;
  size_t Next = 0;  // the next event to start
  int64_t Loop = 0, Now = 0;
  float Level = 1;
  std::array<SynthVoice, kVoices> Voices;
};
