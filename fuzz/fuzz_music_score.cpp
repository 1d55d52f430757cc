// libFuzzer target: a tune's score read from arbitrary text. A refusal must say why in one
// line; an accepted score must keep to the limits, and playing it (a square for every part)
// through the mixer for longer than a loop must stay under the limiter's ceiling.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sound/music_score.h"
#include "platform/sound/sound_mixer.h"

namespace {

bool WithinLimits(const MusicScore& score) {
  if (score.Tempo < kSlowestTempo || score.Tempo > kFastestTempo) return false;
  if (score.Parts.empty() || score.Parts.size() > kMostScoreParts) return false;
  if (!(score.LoopBeats > 0) || score.LoopBeats > kLongestTuneBeats) return false;
  size_t notes = 0;
  for (const ScorePart& part : score.Parts) {
    notes += part.Notes.size();
    if (part.Beats > score.LoopBeats || part.Level < 0 || part.Level > 1) return false;
    for (const ScoreNote& note : part.Notes) {
      if (note.Beats < kShortestNoteBeats || note.Beats > kLongestNoteBeats) return false;
      if (note.Beat < 0 || note.Beat + note.Beats > part.Beats + 1e-9) return false;
      if (note.Hz < 0 || note.Hz > 10000) return false;
    }
  }
  return notes <= kMostScoreNotes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxScoreBytes) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  MusicScore score;
  std::string why;
  if (!ParseMusicScore(text, score, why)) {
    if (why.empty() || why.find('\n') != std::string::npos) std::abort();
    return 0;
  }
  if (!WithinLimits(score)) std::abort();
  SoundRecipe square;
  square.StartHz = square.EndHz = 440;
  square.Length = 0.2;
  square.Volume = 1;
  SoundMixer mixer;
  mixer.Tune().Start(score, std::vector<std::optional<SoundRecipe>>(score.Parts.size(), square));
  // Two seconds: past the loop of a short tune; a long one is checked at its start.
  std::vector<int16_t> out(2 * kSoundFramesPerPass);
  const int most = static_cast<int>(SoundMixer::kCeiling * 32767.0f) + 1;
  for (int pass = 0; pass < 120; ++pass) {
    mixer.Mix(out.data(), kSoundFramesPerPass);
    for (const int16_t s : out)
      if (std::abs(int{s}) > most) std::abort();
  }
  return 0;
}
