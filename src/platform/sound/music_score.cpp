// The score's text: "tempo", "part" and note lines, a word starting with '#' starts a comment.
#include "platform/sound/music_score.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/sound/text_words.h"

namespace {

// A comment starts with a word that starts with '#': the sharp inside "C#5" is a note's.
std::string_view WithoutComment(std::string_view line) {
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
      return line.substr(0, i);
  }
  return line;
}

// "2", "1.5" or "3/4": a length from the shortest to the longest a note may last.
bool Beats(std::string_view word, double& beats) {
  const size_t slash = word.find('/');
  double value = 0;
  if (slash == std::string_view::npos) {
    if (!Number(word, value)) return false;
  } else {
    double over = 0, under = 0;
    if (!Number(word.substr(0, slash), over) || !Number(word.substr(slash + 1), under) ||
        !(under >= 1)) {
      return false;
    }
    value = over / under;
  }
  if (!(value >= kShortestNoteBeats && value <= kLongestNoteBeats)) return false;
  beats = value;
  return true;
}

bool GoodName(std::string_view name) {
  if (name.empty() || name.size() > 40) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
  });
}

std::string Quoted(std::string_view word) {
  // A word from an untrusted file is shown short, so one line stays one line.
  return "'" + std::string(word.substr(0, 24)) + (word.size() > 24 ? "...'" : "'");
}

struct Reader {
  MusicScore& Score;
  size_t Notes = 0;
  bool HasTempo = false;

  bool Tempo(const std::vector<std::string_view>& words, std::string& why) {
    double tempo = 0;
    if (words.size() != 2 || !Number(words[1], tempo) || tempo < kSlowestTempo ||
        tempo > kFastestTempo) {
      why = "tempo needs one number from " + std::to_string(int(kSlowestTempo)) + " to " +
            std::to_string(int(kFastestTempo)) + " (beats a minute)";
      return false;
    }
    Score.Tempo = tempo;
    HasTempo = true;
    return true;
  }

  ScorePart* Find(std::string_view name) {
    for (ScorePart& part : Score.Parts)
      if (part.Name == name) return &part;
    return nullptr;
  }

  bool Part(const std::vector<std::string_view>& words, std::string& why) {
    if (words.size() < 3 || words.size() > 5) {
      why = "part needs a name, a recipe, and may have a level and a place";
      return false;
    }
    if (!GoodName(words[1]) || words[1] == "tempo" || words[1] == "part" || Find(words[1])) {
      why = "the part's name " + Quoted(words[1]) +
            " is taken or not letters, digits, _ and - (40 at most)";
      return false;
    }
    if (!GoodName(words[2])) {
      why = "the recipe's name " + Quoted(words[2]) + " is not letters, digits, _ and -";
      return false;
    }
    if (Score.Parts.size() >= kMostScoreParts) {
      why = "more than " + std::to_string(kMostScoreParts) + " parts";
      return false;
    }
    ScorePart part;
    part.Name = std::string(words[1]);
    part.Recipe = std::string(words[2]);
    if (words.size() > 3 && !(Number(words[3], part.Level) && part.Level >= 0 && part.Level <= 1)) {
      why = "a part's level is from 0 to 1";
      return false;
    }
    if (words.size() > 4 && !(Number(words[4], part.Pan) && part.Pan >= -1 && part.Pan <= 1)) {
      why = "a part's place is from -1 (left) to 1 (right)";
      return false;
    }
    Score.Parts.push_back(std::move(part));
    return true;
  }

  bool Note(ScorePart& part, std::string_view word, std::string& why) {
    if (++Notes > kMostScoreNotes) {
      why = "more than " + std::to_string(kMostScoreNotes) + " notes";
      return false;
    }
    const size_t colon = word.find(':');
    const std::string_view name = word.substr(0, colon);
    ScoreNote note;
    note.Beat = part.Beats;
    if (colon != std::string_view::npos && !Beats(word.substr(colon + 1), note.Beats)) {
      why = "the length of " + Quoted(word) + " is not a number of beats from 1/64 to " +
            std::to_string(int(kLongestNoteBeats));
      return false;
    }
    const bool rest = name == "r", hit = name == "x";
    if (!rest && !hit) {
      note.Hz = NoteFrequency(name);
      if (note.Hz <= 0) {
        why = Quoted(name) + " is not a note (C4, F#3, Bb5, r for a rest, x for a hit)";
        return false;
      }
    }
    part.Beats += note.Beats;
    if (part.Beats > kLongestTuneBeats) {
      why = "the part " + part.Name + " is longer than " + std::to_string(int(kLongestTuneBeats)) +
            " beats";
      return false;
    }
    if (!rest) part.Notes.push_back(note);
    return true;
  }

  bool Line(const std::vector<std::string_view>& words, std::string& why) {
    if (words[0] == "tempo") return Tempo(words, why);
    if (words[0] == "part") return Part(words, why);
    ScorePart* part = Find(words[0]);
    if (!part) {
      why = Quoted(words[0]) + " is neither tempo, part nor the name of a part";
      return false;
    }
    for (size_t i = 1; i < words.size(); ++i) {
      if (words[i] == "|") continue;
      if (!Note(*part, words[i], why)) return false;
    }
    return true;
  }
};

}  // namespace

double NoteFrequency(std::string_view name) {
  static constexpr int kSemitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
  if (name.size() < 2 || name.size() > 3 || name[0] < 'A' || name[0] > 'G') return 0;
  int semitone = kSemitones[name[0] - 'A'];
  size_t at = 1;
  if (name.size() == 3) {
    if (name[1] == '#')
      ++semitone;
    else if (name[1] == 'b')
      --semitone;
    else
      return 0;
    at = 2;
  }
  if (name[at] < '0' || name[at] > '8') return 0;
  const int octave = name[at] - '0';
  const int from_a4 = (octave - 4) * 12 + semitone - 9;
  return 440.0 * std::pow(2.0, from_a4 / 12.0);
}

bool ParseMusicScore(std::string_view text, MusicScore& score, std::string& why) {
  score = MusicScore{};
  Reader reader{score};
  const bool read = TakeWordLines(
      text, WithoutComment,
      [&reader](const std::vector<std::string_view>& words, std::string& reason) {
        return reader.Line(words, reason);
      },
      why);
  if (!read) {
    score = MusicScore{};
    return false;
  }
  for (const ScorePart& part : score.Parts)
    score.LoopBeats = std::max(score.LoopBeats, part.Beats);
  if (!reader.HasTempo || score.LoopBeats <= 0) {
    why = !reader.HasTempo ? "no tempo line" : "no notes: a loop of no length";
    score = MusicScore{};
    return false;
  }
  return true;
}
