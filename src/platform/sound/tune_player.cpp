// The score's notes on the sample clock: which note starts when, on which voice, how loud.
#include "platform/sound/tune_player.h"

#include <algorithm>
#include <cmath>

#include "platform/sound/sound_random.h"

namespace {

// A note taken off (a tune stopped or changed) fades over 3 ms.
constexpr int kFadeFrames = 144;

// The recipe as one note plays it: from the note's pitch, sliding as the recipe slides, for the
// note's length. A hit, and any noise, plays the recipe as it is.
SoundRecipe NoteRecipe(const SoundRecipe& recipe, const ScoreNote& note, double seconds) {
  if (note.Hz <= 0 || recipe.Wave == Waveform::kNoise) return recipe;
  SoundRecipe played = recipe;
  played.StartHz = note.Hz;
  played.EndHz = note.Hz * recipe.EndHz / recipe.StartHz;
  played.Length = seconds;
  // A short note keeps its attack and release in the same proportion.
  if (played.Attack + played.Release > seconds) {
    const double share = seconds / (played.Attack + played.Release);
    played.Attack *= share;
    played.Release *= share;
  }
  return played;
}

}  // namespace

void TunePlayer::FadeAll() {
  for (SynthVoice& voice : Voices)
    voice.FadeOut(kFadeFrames);
}

void TunePlayer::Start(const MusicScore& score, std::vector<std::optional<SoundRecipe>> recipes) {
  FadeAll();
  Events.clear();
  Recipes = std::move(recipes);
  Recipes.resize(score.Parts.size());
  PartLeft.assign(score.Parts.size(), 0.0f);
  PartRight.assign(score.Parts.size(), 0.0f);
  PartNoise.assign(score.Parts.size(), 1);
  for (size_t p = 0; p < score.Parts.size(); ++p) {
    const ScorePart& part = score.Parts[p];
    const double angle = (part.Pan + 1.0) * 0.25 * 3.14159265358979;
    PartLeft[p] = static_cast<float>(part.Level * std::cos(angle));
    PartRight[p] = static_cast<float>(part.Level * std::sin(angle));
    PartNoise[p] = NameSeed(part.Name);
    if (!Recipes[p]) continue;
    for (const ScoreNote& note : part.Notes)
      Events.push_back(Event{note.Beat, static_cast<int>(p), note});
  }
  // Parts in the score's order where notes start together: the same mix in every run.
  std::stable_sort(Events.begin(), Events.end(),
                   [](const Event& a, const Event& b) { return a.Beat < b.Beat; });
  SamplesPerBeat = 60.0 * kSoundRate / score.Tempo;
  LoopBeats = score.LoopBeats;
  Next = 0;
  Loop = 0;
  Now = 0;
}

void TunePlayer::Stop() {
  FadeAll();
  Events.clear();
}

bool TunePlayer::Sounding() const {
  return HasTune() || std::any_of(Voices.begin(), Voices.end(),
                                  [](const SynthVoice& voice) { return voice.Playing(); });
}

int64_t TunePlayer::StartSample(const Event& event, int64_t loop) const {
  return std::llround((static_cast<double>(loop) * LoopBeats + event.Beat) * SamplesPerBeat);
}

// On a free voice; with none free (more notes at once than voices) the note is not played, so
// no sounding note is ever cut.
void TunePlayer::StartNote(const Event& event) {
  const auto free = std::find_if(Voices.begin(), Voices.end(),
                                 [](const SynthVoice& voice) { return !voice.Playing(); });
  if (free == Voices.end() || !Recipes[event.Part]) return;
  const SoundRecipe recipe =
      NoteRecipe(*Recipes[event.Part], event.Note, event.Note.Beats * SamplesPerBeat / kSoundRate);
  VoiceVariation variation;
  variation.NoiseSeed = NextRandom(PartNoise[event.Part]);
  free->Start(recipe, variation, PartLeft[event.Part] * Level, PartRight[event.Part] * Level);
}

void TunePlayer::RenderVoices(float* mix, int frames) {
  for (SynthVoice& voice : Voices)
    if (voice.Playing()) voice.Render(mix, frames);
}

void TunePlayer::Render(float* mix, int frames) {
  int done = 0;
  while (done < frames) {
    int64_t chunk = frames - done;
    if (!Events.empty()) {
      const int64_t due = StartSample(Events[Next], Loop);
      if (due <= Now) {
        StartNote(Events[Next]);
        if (++Next == Events.size()) {
          Next = 0;
          ++Loop;
        }
        continue;
      }
      chunk = std::min(chunk, due - Now);
    }
    RenderVoices(mix + 2 * done, static_cast<int>(chunk));
    done += static_cast<int>(chunk);
    Now += chunk;
  }
}
