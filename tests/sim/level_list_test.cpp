// The level list in a run: Ctrl+O, the arrows, the wheel, Enter and a click open a level of
// levels/ (which S then saves) or a new empty one (which Ctrl+S names); Escape closes the list
// and the game goes on; a refused file leaves the level as it was; the keys of the list's
// passes do nothing else.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim_process.h"
#include "support/test_env.h"
#include "world/level_file.h"

namespace {

namespace fs = std::filesystem;

std::string Tap(int frame, int key) {
  return std::to_string(frame) + " key " + std::to_string(key) + " down\n" +
         std::to_string(frame + 1) + " key " + std::to_string(key) + " up\n";
}

// Ctrl held around one press of the key, within frame F.
std::string Chord(int frame, int key) {
  const std::string f = std::to_string(frame), next = std::to_string(frame + 1);
  return f + " key 17 down\n" + Tap(frame, key) + next + " key 17 up\n";
}

constexpr int kO = 79, kS = 83, kEnter = 13, kDown = 40, kEscape = 27;

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++n;
  return n;
}

class LevelList : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyArtTo(Dir.Path());
    fs::create_directories(Path("levels"));
    const auto bg = ReadFileBytes(Path("BGMap75x54.raw"));
    const auto blocks = ReadFileBytes(Path("BlockMap75x54.raw"));
    Alpha.Name = "alpha";
    Alpha.Blocks.assign(blocks.begin(), blocks.end());
    Beta = Alpha;
    Beta.Name = "beta";
    Beta.Backgrounds.assign(bg.begin(), bg.end());
    for (int x = 20; x < 30; ++x)
      if (Beta.Blocks[20 * 75 + x] == kNoStyle) Beta.Water[20 * 75 + x] = 12;
    Beta.Starts.Player = {300 * PIXEL_UNITS, 200 * PIXEL_UNITS};
    Beta.Starts.Badguys = {{100 * PIXEL_UNITS, 150 * PIXEL_UNITS}};
    WriteText(Path("levels/a.tmx"), LevelTmxText(Alpha));
    WriteText(Path("levels/b.tmx"), LevelTmxText(Beta));
    WriteText(Path("levels/c.tmx"), "<map><layer name=\"blocks\"/></map>");
    PairBefore = ReadFileBytes(Path("BlockMap75x54.raw"));
  }
  std::string Path(const std::string& name) const { return (fs::path(Dir.Path()) / name).string(); }
  SimResult Run(const std::string& script, int frames) const {
    WriteText(Path("keys.txt"), script);
    return RunSimBinary(
        {"--dir", Dir.Path(), "--script", Path("keys.txt"), "--frames", std::to_string(frames)},
        Dir.Path());
  }
  TLevel Read(const std::string& name) const {
    TLevel level;
    std::string why;
    std::vector<std::string> notes;
    EXPECT_TRUE(ReadLevelFile(Path(name), level, why, notes)) << name << ": " << why;
    return level;
  }
  ScopedWorkDir Dir;
  TLevel Alpha, Beta;
  std::vector<unsigned char> PairBefore;
};

TEST_F(LevelList, OpensTheChosenLevelWhichSThenSavesByKeysOrByAClick) {
  // Ctrl+O, Down, Enter: the second file. An S while the list is up saves nothing.
  const SimResult keys =
      Run(Chord(2, kO) + Tap(4, kDown) + Tap(5, kS) + Tap(6, kEnter) + Tap(9, kS), 12);
  ASSERT_EQ(keys.status, 0) << keys.err;
  EXPECT_NE(keys.out.find("Loading level levels/b.tmx.\r\n"), std::string::npos) << keys.out;
  EXPECT_EQ(Count(keys.out, "Saving"), 1u) << keys.out;
  EXPECT_NE(keys.out.find("Saving level levels/b.tmx.\r\n"), std::string::npos) << keys.out;
  EXPECT_EQ(keys.out.find("Saving maps."), std::string::npos);
  const TLevel saved = Read("levels/b.tmx");
  EXPECT_EQ(saved.Name, "beta");
  EXPECT_EQ(saved.Blocks, Beta.Blocks);
  EXPECT_EQ(saved.Backgrounds, Beta.Backgrounds);
  EXPECT_EQ(saved.Starts, Beta.Starts);  // the actors made at the level's starts
  EXPECT_NE(saved.Water, std::vector<uint8_t>(kMapFileBytes, 0));
  EXPECT_EQ(ReadText(Path("levels/a.tmx")), LevelTmxText(Alpha));
  EXPECT_EQ(ReadFileBytes(Path("BlockMap75x54.raw")), PairBefore);

  // A click on the first row (over the left view) opens a.tmx; the button held on after it
  // paints nothing there, so S saves alpha as it was.
  const std::string click = "1 mouse 300 62\n" + Chord(2, kO) + "4 button 1 down\n" +
                            "8 mouse 310 70\n" + "10 button 1 up\n" + Tap(12, kS);
  const SimResult clicked = Run(click, 15);
  ASSERT_EQ(clicked.status, 0) << clicked.err;
  EXPECT_NE(clicked.out.find("Saving level levels/a.tmx.\r\n"), std::string::npos) << clicked.out;
  const TLevel kept = Read("levels/a.tmx");
  EXPECT_EQ(kept.Blocks, Alpha.Blocks);
  EXPECT_EQ(kept.Backgrounds, Alpha.Backgrounds);
}

TEST_F(LevelList, EscapeClosesARefusedFileChangesNothingAndANewLevelGetsAFreeName) {
  // Escape closes the list without quitting: the S after it saves the map files as ever.
  const SimResult closed = Run(Chord(2, kO) + Tap(4, kEscape) + Tap(7, kS), 10);
  ASSERT_EQ(closed.status, 0) << closed.err;
  EXPECT_NE(closed.out.find("Saving maps."), std::string::npos) << closed.out;
  EXPECT_EQ(ReadFileBytes(Path("BlockMap75x54.raw")), PairBefore);

  // The third file is refused: the map files stay the level, S saves them unchanged.
  const SimResult refused =
      Run(Chord(2, kO) + Tap(4, kDown) + Tap(5, kDown) + Tap(6, kEnter) + Tap(9, kS), 12);
  ASSERT_EQ(refused.status, 0) << refused.err;
  EXPECT_NE(refused.out.find("Level levels/c.tmx refused: "), std::string::npos) << refused.out;
  EXPECT_NE(refused.out.find("Saving maps."), std::string::npos) << refused.out;
  EXPECT_EQ(ReadFileBytes(Path("BlockMap75x54.raw")), PairBefore);

  // The wheel down to the last entry, the new empty level: unnamed until Ctrl+S and Enter make
  // it levels/level-1 (the name the prompt offers), which the S after saves again.
  const SimResult fresh = Run(Chord(2, kO) + "4 wheel 0 -20\n" + Tap(5, kEnter) + Chord(8, kS) +
                                  Tap(10, kEnter) + Tap(13, kS),
                              16);
  ASSERT_EQ(fresh.status, 0) << fresh.err;
  EXPECT_EQ(Count(fresh.out, "Saving level levels/level-1.tmx.\r\n"), 2u) << fresh.out;
  EXPECT_EQ(fresh.out.find("Saving maps."), std::string::npos);
  const TLevel made = Read("levels/level-1.tmx");
  EXPECT_EQ(made.Name, "level-1");
  EXPECT_EQ(made.Backgrounds, std::vector<uint8_t>(kMapFileBytes, kNoStyle));
  EXPECT_EQ(made.Water, std::vector<uint8_t>(kMapFileBytes, 0));
  EXPECT_EQ(made.Starts, DefaultLevelStarts());
  size_t blocks = 0;
  for (const uint8_t style : made.Blocks)
    blocks += style != kNoStyle;
  EXPECT_EQ(blocks, 2u * 75 + 2u * 52);  // the border ring only
  EXPECT_EQ(ReadFileBytes(Path("BlockMap75x54.raw")), PairBefore);
}

}  // namespace
