// The recipe's text: one "key values" line per setting, '#' starts a comment.
#include "platform/sound/sound_recipe.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "platform/sound/text_words.h"

namespace {

bool Within(double value, double low, double high) {
  return value >= low && value <= high;
}

bool ParseWave(std::string_view word, Waveform& wave) {
  if (word == "square")
    wave = Waveform::kSquare;
  else if (word == "triangle")
    wave = Waveform::kTriangle;
  else if (word == "saw")
    wave = Waveform::kSaw;
  else if (word == "noise")
    wave = Waveform::kNoise;
  else
    return false;
  return true;
}

// One setting: the key, its numbers, and where they go with their allowed range.
bool ApplySetting(const std::vector<std::string_view>& words, SoundRecipe& recipe, bool& has_pitch,
                  bool& has_length, std::string& why) {
  const std::string_view key = words[0];
  if (key == "wave") {
    if (words.size() == 2 && ParseWave(words[1], recipe.Wave)) return true;
    why = "wave is square, triangle, saw or noise";
    return false;
  }
  std::vector<double> values;
  for (size_t i = 1; i < words.size(); ++i) {
    double value = 0;
    if (!Number(words[i], value)) {
      why = std::string(key) + " needs finite numbers, not '" + std::string(words[i]) + "'";
      return false;
    }
    values.push_back(value);
  }
  struct Field {
    std::string_view name;
    double* into;
    double low, high;
  };
  const Field fields[] = {
      {"duty", &recipe.Duty, 0.01, 0.99},
      {"length", &recipe.Length, 0.005, kLongestSound},
      {"attack", &recipe.Attack, 0, kLongestSound},
      {"decay", &recipe.Decay, 0, kLongestSound},
      {"sustain", &recipe.Sustain, 0, 1},
      {"release", &recipe.Release, 0, kLongestSound},
      {"lowpass", &recipe.LowpassHz, 20, kNyquistHz},
      {"volume", &recipe.Volume, 0, 1},
      {"vary_pitch", &recipe.VaryPitch, 0, 0.5},
      {"vary_length", &recipe.VaryLength, 0, 0.5},
      {"vary_level", &recipe.VaryLevel, 0, 0.5},
      {"voices", &recipe.Voices, 1, 16},
  };
  if (key == "pitch") {
    // Zero, negative or at Nyquist and above would alias into noise or stand still.
    if (values.size() == 2 && values[0] > 0 && values[0] < kNyquistHz && values[1] > 0 &&
        values[1] < kNyquistHz) {
      recipe.StartHz = values[0];
      recipe.EndHz = values[1];
      has_pitch = true;
      return true;
    }
    why =
        "pitch needs two frequencies above 0 and below " + std::to_string(int(kNyquistHz)) + " Hz";
    return false;
  }
  for (const Field& field : fields) {
    if (key != field.name) continue;
    if (values.size() == 1 && Within(values[0], field.low, field.high)) {
      *field.into = values[0];
      if (key == "length") has_length = true;
      return true;
    }
    why = std::string(key) + " needs one number from " + std::to_string(field.low) + " to " +
          std::to_string(field.high);
    return false;
  }
  why = "unknown setting '" + std::string(key) + "'";
  return false;
}

}  // namespace

bool ParseSoundRecipe(std::string_view text, SoundRecipe& recipe, std::string& why) {
  recipe = SoundRecipe{};
  bool has_pitch = false, has_length = false;
  const auto uncomment = [](std::string_view line) {
    const size_t hash = line.find('#');
    return hash == std::string_view::npos ? line : line.substr(0, hash);
  };
  const bool read = TakeWordLines(
      text, uncomment,
      [&](const std::vector<std::string_view>& words, std::string& reason) {
        return ApplySetting(words, recipe, has_pitch, has_length, reason);
      },
      why);
  if (!read) return false;
  if (!has_pitch || !has_length) {
    why = has_pitch ? "no length line" : "no pitch line";
    return false;
  }
  if (recipe.Attack + recipe.Release > recipe.Length) {
    why = "attack and release together are longer than the sound";
    return false;
  }
  return true;
}
