// The tunes: a level's tune by its name, read with the recipes of its parts from the sound's
// folder, and started under the effects.
#include <algorithm>
#include <optional>
#include <vector>

#include "frame/game_sounds.h"
#include "platform/console.h"
#include "platform/sound/recipe_file.h"
#include "platform/sound/score_file.h"
#include "shared/play_files.h"

namespace {

// At 100 the tune's loudest part sits well under a jump: the music accompanies, the effects
// are heard.
constexpr float kLoudestMusic = 0.5f;
constexpr size_t kLongestTuneName = 40;

// A name from a level file: letters, digits, _ and -, so it can only ever name a file of the
// sound's own folder.
bool TuneNameIsFileName(const std::string& name) {
  return !name.empty() && name.size() <= kLongestTuneName &&
         std::all_of(name.begin(), name.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '_' || c == '-';
         });
}

std::string InFolder(const std::string& folder, const std::string& file) {
  if (folder.empty()) return file;
  return folder.back() == '/' ? folder + file : folder + "/" + file;
}

}  // namespace

void GameSounds::PlayTune(const std::string& name) {
  if (Music <= 0) return;
  const std::string wanted = name.empty() ? std::string(kDefaultTune) : name;
  if (wanted == Tune) return;
  Tune = wanted;
  if (!TuneNameIsFileName(wanted)) {
    PrintNote("The level's tune '" + wanted.substr(0, kLongestTuneName) +
              "' is not a tune's name (letters, digits, _ and -): no music.");
    Mix.Tune().Stop();
    return;
  }
  const std::string file = wanted + kMusicScoreExtension;
  std::string why;
  const std::optional<MusicScore> score = ReadScoreFile(InFolder(Folder, file), why);
  if (!score) {
    PrintNote("Tune " + file + " " + why + ": no music.");
    Mix.Tune().Stop();
    return;
  }
  std::vector<std::optional<SoundRecipe>> recipes;
  for (const ScorePart& part : score->Parts) {
    const std::string recipe_file = part.Recipe + kSoundRecipeExtension;
    recipes.push_back(ReadRecipeFile(InFolder(Folder, recipe_file), why));
    if (!recipes.back()) {
      PrintNote("Sound " + recipe_file + " " + why + ": the part " + part.Name + " of " + file +
                " is silent.");
    }
  }
  Mix.Tune().SetLevel(kLoudestMusic * static_cast<float>(Music) / 100.0f);
  Mix.Tune().Start(*score, std::move(recipes));
}
