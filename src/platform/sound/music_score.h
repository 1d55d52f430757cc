// A tune written as text: a tempo, a few parts each played by a sound recipe, and the notes of
// each part. The tune loops: it starts again as soon as its longest part ends. A word starting
// with # starts a comment.
//
//   # a bright tune
//   tempo 140                      beats a minute, 40..300
//   part lead tune_lead 0.8 -0.2   a part: its name, the recipe it plays (tune_lead.sfx), its
//                                  level 0..1 and its place -1 (left) .. 1 (right), both
//                                  optional (1 and 0)
//   part bass tune_bass
//   lead E5:1/2 G5:1/2 C6 | r:2    notes added to a part, one line or many
//   bass C3:2 G2:2
//
// A note is a letter A..G, an optional # (sharp) or b (flat) and an octave 0..8 (A4 is 440 Hz),
// or r for a rest, or x for a hit (the recipe played as it is, at its own pitch and length, as
// a drum is). After a colon comes its length in beats, 1/64 to 32: a whole number, a decimal or
// a fraction (1/2, 3/4, 1.5); without one it lasts one beat. A | is only for the eye (a bar
// line). A recipe's pitch slide is kept, started from the note; its envelope shapes each note,
// its length is not used (a note lasts as written), and a noise recipe plays as a hit whatever
// the note.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct ScoreNote {
  double Beat = 0;   // when it starts, in beats from the tune's start
  double Beats = 1;  // how long it lasts
  double Hz = 0;     // 0: a hit
};

struct ScorePart {
  std::string Name;
  std::string Recipe;  // the recipe's name, without its extension
  double Level = 1;
  double Pan = 0;
  std::vector<ScoreNote> Notes;  // in order, rests left out
  double Beats = 0;              // the part's length, rests included
};

struct MusicScore {
  double Tempo = 120;
  std::vector<ScorePart> Parts;
  double LoopBeats = 0;  // the longest part's length: where the tune starts again
};

// The limits of a tune; anything past them is refused rather than played half.
constexpr double kSlowestTempo = 40;
constexpr double kFastestTempo = 300;
constexpr size_t kMostScoreParts = 8;
constexpr size_t kMostScoreNotes = 4096;  // notes and rests together
constexpr double kShortestNoteBeats = 1.0 / 64;
constexpr double kLongestNoteBeats = 32;
constexpr double kLongestTuneBeats = 1024;
constexpr size_t kMaxScoreBytes = 256 * 1024;

// Reads a score. False with a one-line reason (naming the line where there is one) for anything
// unknown, out of range or empty; the score is then left unusable.
bool ParseMusicScore(std::string_view text, MusicScore& score, std::string& why);

// The frequency of a note's name ("A4", "C#5", "Bb2"); 0 when it is not one.
double NoteFrequency(std::string_view name);
