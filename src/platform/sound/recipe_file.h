// A recipe read from its file. Files from disk are untrusted: a missing, empty, oversized or
// malformed recipe gives no sound and a reason to tell, and never stops the others.
#pragma once

#include <optional>
#include <string>

#include "platform/sound/sound_recipe.h"

// A recipe is a dozen short lines; anything much bigger is not one.
constexpr size_t kMaxRecipeBytes = 4096;

std::optional<SoundRecipe> ReadRecipeFile(const std::string& path, std::string& why);
