#include "platform/sound/recipe_file.h"

#include <cstdint>
#include <vector>

#include "platform/files.h"

std::optional<SoundRecipe> ReadRecipeFile(const std::string& path, std::string& why) {
  if (FileLength(path) < 0) {
    why = "not found";
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, kMaxRecipeBytes)) {
    why = "unreadable, or larger than " + std::to_string(kMaxRecipeBytes) + " bytes";
    return std::nullopt;
  }
  if (bytes.empty()) {
    why = "empty";
    return std::nullopt;
  }
  const std::string text(bytes.begin(), bytes.end());
  SoundRecipe recipe;
  if (!ParseSoundRecipe(text, recipe, why)) return std::nullopt;
  return recipe;
}
