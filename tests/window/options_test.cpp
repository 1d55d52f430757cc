// The game's command line: no options, each option, bad values and malformed lines, and the
// help text.
#include <gtest/gtest.h>

#include <filesystem>

#include "frame/game_options.h"

namespace {

OptionsOutcome Parse(std::vector<std::string> args, GameOptions& options) {
  return ParseGameOptions(args, options);
}

}  // namespace

TEST(GameOptionsTest, NoOptionsOpenTheWindowAsAlways) {
  GameOptions options;
  EXPECT_TRUE(Parse({}, options).ok);
  EXPECT_EQ(options.scale, 1);
  EXPECT_FALSE(options.fullscreen);
  EXPECT_FALSE(options.fit);
  EXPECT_FALSE(options.plain_draw);
  EXPECT_FALSE(options.help);
}

TEST(GameOptionsTest, ScaleFullscreenAndHelpAreRead) {
  GameOptions options;
  EXPECT_TRUE(Parse({"--scale", "3", "--fullscreen"}, options).ok);
  EXPECT_EQ(options.scale, 3);
  EXPECT_TRUE(options.fullscreen);
  EXPECT_TRUE(Parse({"--plain-draw", "--fit"}, options).ok);
  EXPECT_TRUE(options.plain_draw);
  EXPECT_TRUE(options.fit);
  EXPECT_FALSE(Parse({"--fit=1"}, options).ok);
  EXPECT_TRUE(Parse({"--scale=8", "--help"}, options).ok);
  EXPECT_EQ(options.scale, 8);
  EXPECT_TRUE(options.help);
}

TEST(GameOptionsTest, RecordAndTraceTakeAFileName) {
  GameOptions options;
  EXPECT_TRUE(Parse({"--record", "odd.rep", "--trace=live.trace"}, options).ok);
  EXPECT_EQ(options.record, "odd.rep");
  EXPECT_EQ(options.trace, "live.trace");
  EXPECT_EQ(Parse({"--record"}, options).error, "--record needs a value: --record FILE");
  EXPECT_FALSE(Parse({"--trace="}, options).ok);
}

// Two outputs at one name would leave only one of them whole: refused before anything starts.
TEST(GameOptionsTest, RecordAndTraceNamingOneFileAreRefused) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--record", "x", "--trace", "x"},
        std::vector<std::string>{"--record=./x", "--trace",
                                 (std::filesystem::current_path() / "x").string()}}) {
    GameOptions options;
    const OptionsOutcome outcome = Parse(args, options);
    EXPECT_FALSE(outcome.ok) << args[0];
    EXPECT_NE(outcome.error.find("name the same file"), std::string::npos) << outcome.error;
  }
}

TEST(GameOptionsTest, BadScalesAreRefusedWithTheValueNamed) {
  for (const std::string bad : {"0", "99", "x", "", "-1", "2.5", "3x", "9"}) {
    GameOptions options;
    const OptionsOutcome outcome = Parse({"--scale", bad}, options);
    EXPECT_FALSE(outcome.ok) << bad;
    EXPECT_NE(outcome.error.find("\"" + bad + "\""), std::string::npos) << outcome.error;
    EXPECT_EQ(options.scale, 1) << "a refused value must not stick: " << bad;
  }
}

TEST(GameOptionsTest, MalformedCommandLinesGiveOneLineEach) {
  const std::vector<std::vector<std::string>> bad = {
      {"--scale"}, {"--sclae", "2"}, {"-scale", "2"}, {"level.raw"}, {"--fullscreen=yes"}, {"--"}};
  for (const auto& args : bad) {
    GameOptions options;
    const OptionsOutcome outcome = Parse(args, options);
    EXPECT_FALSE(outcome.ok) << args[0];
    EXPECT_FALSE(outcome.error.empty());
    EXPECT_EQ(outcome.error.find('\n'), std::string::npos) << outcome.error;
  }
}

TEST(GameOptionsTest, HelpListsEveryOption) {
  const std::string help = GameOptionsHelp();
  for (const char* name :
       {"--scale N", "--fullscreen", "--record FILE", "--trace FILE", "--plain-draw", "--help"})
    EXPECT_NE(help.find(name), std::string::npos) << name;
  EXPECT_EQ(help.back(), '\n');
}

TEST(GameOptionsTest, MuteAndVolumeAreReadAndBadVolumesRefused) {
  GameOptions options;
  EXPECT_TRUE(Parse({}, options).ok);
  EXPECT_FALSE(options.muted);
  EXPECT_EQ(options.volume, 100);
  EXPECT_TRUE(Parse({"--mute", "--volume=0"}, options).ok);
  EXPECT_TRUE(options.muted);
  EXPECT_EQ(options.volume, 0);
  EXPECT_FALSE(Parse({"--mute=yes"}, options).ok);
  for (const std::string bad : {"101", "-1", "x", "", "50%", "1e2"}) {
    GameOptions fresh;
    const OptionsOutcome outcome = Parse({"--volume", bad}, fresh);
    EXPECT_FALSE(outcome.ok) << bad;
    EXPECT_NE(outcome.error.find("\"" + bad + "\""), std::string::npos) << outcome.error;
    EXPECT_EQ(fresh.volume, 100) << "a refused value must not stick: " << bad;
  }
  EXPECT_NE(GameOptionsHelp().find("--volume N"), std::string::npos);
}
