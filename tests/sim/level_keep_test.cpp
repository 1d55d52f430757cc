// A level file kept as the map pair is, in a run: its edits kept in recovery/ are offered at the
// next start on that level (and only then) and Ctrl+L loads them with their water, which S then
// saves to the level's own file; Ctrl+S asks for the new file's name, refusing a taken or unfit
// one and keeping its keys from the game; Ctrl+Z after an open brings the last level back, the
// file S saves to with it.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/bmp.h"
#include "sim_process.h"
#include "support/test_env.h"
#include "world/level_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCtrl = 17, kL = 76, kO = 79, kS = 83, kY = 89, kZ = 90, kEnter = 13, kBackspace = 8,
              kEscape = 27;

std::string Tap(int frame, int key) {
  return std::to_string(frame) + " key " + std::to_string(key) + " down\n" +
         std::to_string(frame + 1) + " key " + std::to_string(key) + " up\n";
}

std::string Chord(int frame, int key) {
  const std::string f = std::to_string(frame), next = std::to_string(frame + 1);
  return f + " key " + std::to_string(kCtrl) + " down\n" + Tap(frame, key) + next + " key " +
         std::to_string(kCtrl) + " up\n";
}

// Typing `text` from frame F on, a character a frame, as a window sends it: the key, then the
// character.
std::string Typed(int frame, const std::string& text) {
  std::string script;
  for (const char c : text) {
    const int key = c >= 'a' && c <= 'z' ? c - 'a' + 'A' : 0;
    if (key) script += std::to_string(frame) + " key " + std::to_string(key) + " down\n";
    script += std::to_string(frame) + " text " + std::to_string(static_cast<int>(c)) + "\n";
    if (key) script += std::to_string(frame + 1) + " key " + std::to_string(key) + " up\n";
    ++frame;
  }
  return script;
}

std::string Backspaces(int frame, int count) {
  std::string script;
  for (int i = 0; i < count; ++i)
    script += Tap(frame + 2 * i, kBackspace);
  return script;
}

std::vector<std::string> GridLines(const std::string& trace) {
  std::vector<std::string> grids;
  for (const std::string& line : SplitLines(trace))
    if (line.rfind("grid ", 0) == 0) grids.push_back(line);
  return grids;
}

class LevelKeep : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyArtTo(Dir.Path());
    fs::create_directories(Path("levels"));
    const auto bg = ReadFileBytes(Path("BGMap75x54.raw"));
    const auto blocks = ReadFileBytes(Path("BlockMap75x54.raw"));
    Cave.Name = "cave";
    Cave.Backgrounds.assign(bg.begin(), bg.end());
    Cave.Blocks.assign(blocks.begin(), blocks.end());
    Cave.Starts.Player = {300 * PIXEL_UNITS, 200 * PIXEL_UNITS};
    WriteText(Path("levels/cave.tmx"), LevelTmxText(Cave));
    fs::last_write_time(Path("levels/cave.tmx"),
                        fs::file_time_type::clock::now() - std::chrono::seconds(100));
  }
  std::string Path(const std::string& name) const { return (fs::path(Dir.Path()) / name).string(); }
  SimResult Run(const std::string& script, int frames, std::vector<std::string> more = {}) const {
    WriteText(Path("keys.txt"), script);
    std::vector<std::string> args = {
        "--dir",    Dir.Path(),       "--frames", std::to_string(frames),
        "--script", Path("keys.txt"), "--trace",  Path("t.trace")};
    args.insert(args.end(), more.begin(), more.end());
    return RunSimBinary(args, Dir.Path());
  }
  std::vector<uint32_t> Shot(const std::vector<std::string>& level) const {
    std::vector<std::string> more = {"--shot", Path("s.bmp"), "--overlay"};
    more.insert(more.end(), level.begin(), level.end());
    EXPECT_EQ(Run("", 2, more).status, 0);
    const auto image = LoadBmpFile(Path("s.bmp"));
    return image ? image->argb : std::vector<uint32_t>{};
  }
  TLevel Read(const std::string& name) const {
    TLevel level;
    std::string why;
    std::vector<std::string> notes;
    EXPECT_TRUE(ReadLevelFile(Path(name), level, why, notes)) << name << ": " << why;
    return level;
  }
  ScopedWorkDir Dir;
  TLevel Cave;
};

TEST_F(LevelKeep, KeptEditsOfALevelAreOfferedOnItLoadedByCtrlLAndSavedToItsFile) {
  const std::vector<std::string> on_cave = {"--level", "levels/cave.tmx"};
  const auto plain_cave = Shot(on_cave);
  const auto plain_pair = Shot({});
  // Water poured, then Escape: the level, water and all, is kept in recovery/.
  const SimResult first = Run("1 mouse 100 100\n" + Tap(2, 'F') + Tap(5, kEscape), 9, on_cave);
  ASSERT_EQ(first.status, 0) << first.err;
  ASSERT_NE(first.err.find("Unsaved map edits kept in recovery/"), std::string::npos) << first.err;
  const std::vector<std::string> poured = GridLines(ReadText(Path("t.trace")));
  // Offered on the level, never on the map files, whose own recovery there is none of.
  EXPECT_NE(Shot(on_cave), plain_cave);
  EXPECT_EQ(Shot({}), plain_pair);

  // Ctrl+L, then S: the kept water is in the level's file; the map files are untouched.
  const auto pair_before = ReadFileBytes(Path("BlockMap75x54.raw"));
  const SimResult loaded = Run(Chord(2, kL) + Tap(5, kS), 7, on_cave);
  ASSERT_EQ(loaded.status, 0) << loaded.err;
  EXPECT_NE(loaded.out.find("Loading recovered edits recovery/"), std::string::npos) << loaded.out;
  EXPECT_NE(loaded.out.find("Saving level " + Path("levels/cave.tmx") + "."), std::string::npos)
      << loaded.out;
  EXPECT_EQ(loaded.out.find("Saving maps."), std::string::npos);
  const TLevel saved = Read("levels/cave.tmx");
  EXPECT_NE(saved.Water, Cave.Water);
  EXPECT_EQ(saved.Starts, Cave.Starts);
  EXPECT_EQ(ReadFileBytes(Path("BlockMap75x54.raw")), pair_before);
  // Saved: nothing left to offer (the picture is the one without recovery/ at all).
  const auto after_save = Shot(on_cave);
  fs::rename(Path("recovery"), Path("kept"));
  EXPECT_EQ(after_save, Shot(on_cave));
  fs::rename(Path("kept"), Path("recovery"));

  // A damaged copy: one line, the level as it was.
  for (const auto& entry : fs::directory_iterator(Path("recovery")))
    if (entry.path().extension() == ".tmx") WriteText(entry.path().string(), "<map");
  const SimResult refused = Run(Chord(2, kL), 6, on_cave);
  ASSERT_EQ(refused.status, 0) << refused.err;
  EXPECT_NE(refused.out.find(" is refused: "), std::string::npos) << refused.out;
  const std::vector<std::string> grids = GridLines(ReadText(Path("t.trace")));
  ASSERT_FALSE(grids.empty());
  EXPECT_EQ(grids.front(), grids.back());
  EXPECT_FALSE(poured.empty());
}

TEST_F(LevelKeep, CtrlSSavesUnderATypedNameAndRefusesATakenOrUnfitOne) {
  const auto pair_before = ReadFileBytes(Path("BlockMap75x54.raw"));
  // "level-1" erased, "slx" typed (S and L, which save and load in play), then in one pass a
  // Backspace and "o" (the x goes, not the o), then "pe.tmx": the level is levels/slope.tmx and
  // the keys did nothing else.
  const SimResult named = Run(Chord(2, kS) + Backspaces(4, 7) + Typed(20, "slx") +
                                  Tap(23, kBackspace) + Typed(23, "ope.tmx") + Tap(31, kEnter),
                              34);
  ASSERT_EQ(named.status, 0) << named.err;
  EXPECT_NE(named.out.find("Saving level levels/slope.tmx.\r\n"), std::string::npos) << named.out;
  EXPECT_EQ(named.out.find("Saving maps."), std::string::npos) << named.out;
  EXPECT_EQ(named.out.find("Loading maps."), named.out.rfind("Loading maps."));  // start-up's only
  EXPECT_EQ(Read("levels/slope.tmx").Name, "slope");
  EXPECT_EQ(ReadFileBytes(Path("BlockMap75x54.raw")), pair_before);

  // A taken name and one with a '/': said, nothing written; Escape gives up. Then Ctrl+S and
  // Enter take the first free level-N.
  const std::string cave_before = ReadText(Path("levels/cave.tmx"));
  const SimResult refused =
      Run(Chord(2, kS) + Backspaces(4, 7) + Typed(20, "cave") + Tap(25, kEnter) + Typed(27, "/x") +
              Tap(30, kEnter) + Tap(32, kEscape) + Chord(36, kS) + Tap(39, kEnter),
          42);
  ASSERT_EQ(refused.status, 0) << refused.err;
  EXPECT_NE(refused.out.find("Level name refused: levels/cave.tmx is there already."),
            std::string::npos)
      << refused.out;
  EXPECT_NE(refused.out.find("Level name refused: the name has a '/'"), std::string::npos)
      << refused.out;
  EXPECT_NE(refused.out.find("No new level file: the name was not given."), std::string::npos);
  EXPECT_NE(refused.out.find("Saving level levels/level-1.tmx."), std::string::npos) << refused.out;
  EXPECT_EQ(ReadText(Path("levels/cave.tmx")), cave_before);
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Path("levels")))
    ++files;
  EXPECT_EQ(files, 3u);  // cave, slope, level-1
}

TEST_F(LevelKeep, CtrlZAfterAnOpenBringsBackTheLastLevelAndTheFileSSavesTo) {
  // On the map files: Ctrl+O, Enter opens levels/cave.tmx (the player starts elsewhere), Ctrl+Z
  // brings the map files' level back, and S saves the map files.
  const std::string open = Chord(2, kO) + Tap(4, kEnter);
  const SimResult undone = Run(open + Chord(8, kZ) + Tap(11, kS), 13);
  ASSERT_EQ(undone.status, 0) << undone.err;
  EXPECT_NE(undone.out.find("Loading level levels/cave.tmx."), std::string::npos) << undone.out;
  EXPECT_NE(undone.out.find("Saving maps."), std::string::npos) << undone.out;
  EXPECT_EQ(undone.out.find("Saving level"), std::string::npos) << undone.out;
  // Ctrl+Y puts the level back: S saves its file again.
  const SimResult redone = Run(open + Chord(8, kZ) + Chord(10, kY) + Tap(13, kS), 15);
  ASSERT_EQ(redone.status, 0) << redone.err;
  EXPECT_NE(redone.out.find("Saving level levels/cave.tmx."), std::string::npos) << redone.out;
  EXPECT_EQ(redone.out.find("Saving maps."), std::string::npos) << redone.out;
}

}  // namespace
