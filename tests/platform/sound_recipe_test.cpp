// Sound recipes from disk are untrusted: every way a recipe can be wrong is refused with a
// reason, and the recipes the game ships all read.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "frame/game_sounds.h"
#include "platform/sound/recipe_file.h"
#include "platform/sound/sound_recipe.h"
#include "support/test_env.h"

namespace {

const std::string kGood =
    "# a chirp\n"
    "wave square\n"
    "duty 0.25\n"
    "pitch 300 600   # up\n"
    "length 0.2\n"
    "attack 0.01\r\n"
    "release 0.05\n"
    "lowpass 4000\n"
    "vary_pitch 0.1\n"
    "vary_level 0.2\n"
    "voices 3\n";

TEST(SoundRecipe, AGoodRecipeReadsEveryField) {
  SoundRecipe recipe;
  std::string why;
  ASSERT_TRUE(ParseSoundRecipe(kGood, recipe, why)) << why;
  EXPECT_EQ(recipe.Wave, Waveform::kSquare);
  EXPECT_DOUBLE_EQ(recipe.Duty, 0.25);
  EXPECT_DOUBLE_EQ(recipe.StartHz, 300);
  EXPECT_DOUBLE_EQ(recipe.EndHz, 600);
  EXPECT_DOUBLE_EQ(recipe.Length, 0.2);
  EXPECT_DOUBLE_EQ(recipe.Attack, 0.01);
  EXPECT_DOUBLE_EQ(recipe.LowpassHz, 4000);
  EXPECT_DOUBLE_EQ(recipe.VaryPitch, 0.1);
  EXPECT_DOUBLE_EQ(recipe.VaryLevel, 0.2);
  EXPECT_DOUBLE_EQ(recipe.Voices, 3);
  ASSERT_TRUE(ParseSoundRecipe("pitch 100 100\nlength 0.1\n", recipe, why)) << why;
  EXPECT_DOUBLE_EQ(recipe.VaryLevel, 0);
  EXPECT_DOUBLE_EQ(recipe.Voices, 4);
  EXPECT_FALSE(ParseSoundRecipe("pitch 100 100\nlength 0.1\nvoices 0\n", recipe, why));
  EXPECT_FALSE(ParseSoundRecipe("pitch 100 100\nlength 0.1\nvary_level 2\n", recipe, why));
}

TEST(SoundRecipe, AbsurdOrMalformedRecipesAreRefusedWithTheirLine) {
  const struct {
    std::string text;
    std::string says;
  } cases[] = {
      {"", "no pitch"},
      {"# only a comment\n", "no pitch"},
      {"wave square\npitch 300 600\n", "no length"},
      {"wave sine\npitch 300 600\nlength 0.1\n", "line 1"},
      {"wave square\npitch 0 600\nlength 0.1\n", "line 2"},
      {"wave square\npitch 300 -5\nlength 0.1\n", "line 2"},
      {"wave square\npitch 300 24000\nlength 0.1\n", "line 2"},  // Nyquist itself
      {"wave square\npitch nan 600\nlength 0.1\n", "line 2"},
      {"wave square\npitch 300 inf\nlength 0.1\n", "line 2"},
      {"wave square\npitch 300 1e999\nlength 0.1\n", "line 2"},
      {"wave square\npitch 300 600\nlength 7200\n", "line 3"},  // two hours
      {"wave square\npitch 300 600\nlength 0.1\nvolume 3\n", "line 4"},
      {"wave square\npitch 300 600\nlength 0.1\nwobble 3\n", "line 4"},
      {"wave square\npitch 300 600\nlength 0.1\nduty\n", "line 4"},
      {"wave square\npitch 300 600\nlength 0.1\nattack 0.1x\n", "line 4"},
      {"wave square\npitch 300 600\nlength 0.1\nattack 0.08\nrelease 0.08\n", "longer"},
  };
  for (const auto& c : cases) {
    SoundRecipe recipe;
    std::string why;
    EXPECT_FALSE(ParseSoundRecipe(c.text, recipe, why)) << c.text;
    EXPECT_NE(why.find(c.says), std::string::npos) << c.text << " -> " << why;
  }
}

TEST(SoundRecipe, FilesMissingEmptyOrHugeGiveNoSound) {
  ScopedWorkDir dir;
  std::string why;
  EXPECT_FALSE(ReadRecipeFile("missing.sfx", why));
  EXPECT_EQ(why, "not found");
  std::ofstream("empty.sfx").close();
  EXPECT_FALSE(ReadRecipeFile("empty.sfx", why));
  EXPECT_EQ(why, "empty");
  std::ofstream("huge.sfx") << kGood << std::string(kMaxRecipeBytes, '#');
  EXPECT_FALSE(ReadRecipeFile("huge.sfx", why));
  std::filesystem::create_directory("folder.sfx");
  EXPECT_FALSE(ReadRecipeFile("folder.sfx", why));
  std::ofstream("good.sfx") << kGood;
  EXPECT_TRUE(ReadRecipeFile("good.sfx", why)) << why;
}

TEST(SoundRecipe, EveryShippedRecipeReads) {
  for (const std::string& file : GameSounds::RecipeFiles()) {
    std::string why;
    EXPECT_TRUE(ReadRecipeFile(std::string(RAVELON_SOURCE_DIR) + "/assets/sounds/" + file, why))
        << file << ": " << why;
  }
}

}  // namespace
