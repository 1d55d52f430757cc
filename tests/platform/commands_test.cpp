// The table of commands: one row per name, codes that cannot be mistaken for one another where
// they act together, the codes the game has always used, the questions the input code asks,
// and the README's controls table agreeing with it.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "frame/help_overlay.h"
#include "platform/commands.h"
#include "platform/input.h"
#include "platform/render/font.h"

namespace {

constexpr int kLastCommand = static_cast<int>(Command::kFitPicture);

using Binding = std::tuple<CommandInput, int, int>;  // input, code, modifiers

Binding BindingOf(const CommandInfo& info) {
  return {info.Input, info.Code, info.Modifiers};
}

bool Reads(const CommandInfo& info) {
  return info.Input == CommandInput::kKey || info.Input == CommandInput::kMouseButton;
}

TEST(CommandsTest, EveryNameHasOneRowAndEveryModeAHeading) {
  std::map<int, int> rows;
  for (const CommandInfo& info : AllCommands())
    ++rows[static_cast<int>(info.Name)];
  for (int name = 0; name <= kLastCommand; ++name) {
    EXPECT_EQ(rows[name], 1) << name;
    EXPECT_EQ(static_cast<int>(CommandOf(static_cast<Command>(name)).Name), name);
  }
  EXPECT_EQ(rows.size(), static_cast<size_t>(kLastCommand + 1));
  for (int mode = 0; mode < kCommandModeCount; ++mode)
    EXPECT_STRNE(ModeHeading(static_cast<CommandMode>(mode)), "") << mode;
  for (const CommandInfo& info : AllCommands()) {
    EXPECT_STRNE(info.Key, "");
    EXPECT_STRNE(info.Does, "");
    EXPECT_STRNE(info.Help, "");
    EXPECT_STRNE(info.Readme, "");
  }
}

TEST(CommandsTest, NoTwoCommandsShareAnInputWhereTheyActTogether) {
  // Within a mode every binding is unique.
  std::set<std::pair<CommandMode, Binding>> seen;
  for (const CommandInfo& info : AllCommands()) {
    if (!Reads(info)) continue;
    EXPECT_TRUE(seen.insert({info.Mode, BindingOf(info)}).second) << info.Key;
  }
  // Playing, the mouse, the map's keys, the switches and F1 all act in the same pass.
  const std::set<CommandMode> together = {CommandMode::kPlay, CommandMode::kLeftView,
                                          CommandMode::kAnyTime, CommandMode::kSwitches};
  std::map<Binding, const CommandInfo*> live;
  for (const CommandInfo& info : AllCommands()) {
    if (!Reads(info) || !together.count(info.Mode)) continue;
    // The left view's and the picker's buttons are the same buttons in different places.
    EXPECT_TRUE(live.emplace(BindingOf(info), &info).second) << info.Key;
  }
  EXPECT_FALSE(live.count(BindingOf(CommandOf(Command::kHelp))));
  // The free camera takes only the player's arrows; nothing else it reads is taken.
  for (const CommandInfo& info : AllCommands()) {
    if (info.Mode != CommandMode::kFreeCamera || info.Input != CommandInput::kKey) continue;
    const auto other = live.find(BindingOf(info));
    if (other != live.end()) {
      EXPECT_EQ(other->second->Mode, CommandMode::kPlay) << info.Key;
    }
  }
}

TEST(CommandsTest, TheKeysKeepTheCodesTheGameHasAlwaysRead) {
  const std::pair<Command, int> codes[] = {
      {Command::kQuit, 27},
      {Command::kPause, 32},
      {Command::kRunLeft, 37},
      {Command::kClimbUp, 38},
      {Command::kRunRight, 39},
      {Command::kDuck, 40},
      {Command::kJump, 66},
      {Command::kRefresh, 69},
      {Command::kPour, 70},
      {Command::kLoad, 76},
      {Command::kAButton, 78},
      {Command::kRestart, 82},
      {Command::kSave, 83},
      {Command::kFreeCamera, 9},
      {Command::kHoldWorld, 80},
      {Command::kPanel, 72},
      {Command::kPlayFromPointer, 84},
      {Command::kMute, 77},
      {Command::kUndo, 90},
      {Command::kRedo, 89},
      {Command::kRedoShifted, 90},
      {Command::kLoadRecovery, 76},
      {Command::kScrollFaster, 16},
      {Command::kHelp, 112},
      {Command::kHideHelp, 27},
      {Command::kPaint, 1},
      {Command::kErase, 2},
      {Command::kEyedropper, 3},
      {Command::kPickWithLeft, 1},
      {Command::kPickWithRight, 2},
  };
  for (const auto& [name, code] : codes)
    EXPECT_EQ(CodeOf(name), code) << CommandOf(name).Key;
  EXPECT_EQ(CommandOf(Command::kUndo).Modifiers, kWithCtrl);
  EXPECT_EQ(CommandOf(Command::kRedoShifted).Modifiers, kWithCtrl | kWithShift);
  EXPECT_EQ(CommandOf(Command::kLoadRecovery).Modifiers, kWithCtrl);
}

TEST(CommandsTest, QuestionsReadTheKeysButtonsAndModifiersOfTheirRow) {
  InputReset();
  InputKeyDown(kKeyZ);
  InputKeyUp(kKeyZ);
  InputKeyDown(kKeyZ);
  EXPECT_TRUE(CommandHeld(Command::kUndo));
  EXPECT_EQ(CommandPresses(Command::kRedoShifted), 2);  // the letter's presses, shared
  EXPECT_EQ(CommandPresses(Command::kUndo), 0);
  EXPECT_FALSE(ModifiersHeldDuringPass(Command::kUndo));
  EXPECT_TRUE(ModifiersHeldDuringPass(Command::kSave));  // no modifier asked
  InputKeyDown(kKeyCtrl);
  EXPECT_TRUE(ModifiersHeldDuringPass(Command::kUndo));
  EXPECT_FALSE(ModifiersHeldDuringPass(Command::kRedoShifted));
  InputKeyDown(kKeyShift);
  EXPECT_TRUE(ModifiersHeldDuringPass(Command::kRedoShifted));

  InputMouseButton(kMouseMiddle, true);
  EXPECT_TRUE(CommandHeld(Command::kEyedropper));
  EXPECT_FALSE(CommandHeld(Command::kPaint));
  EXPECT_TRUE(CommandHeld(Command::kOverviewSteer));  // any button
  InputMouseButton(kMouseMiddle, false);
  EXPECT_FALSE(CommandHeld(Command::kOverviewSteer));
  EXPECT_FALSE(CommandHeld(Command::kWheelScroll));
  EXPECT_FALSE(CommandHeld(Command::kShowPicker));

  // Forgetting the presses leaves what is held alone.
  InputKeyDown(kKeyS);
  InputKeyDown(kKeyF1);
  ForgetCommandPresses();
  EXPECT_EQ(CommandPresses(Command::kSave), 0);
  EXPECT_EQ(CommandPresses(Command::kHelp), 0);
  EXPECT_TRUE(CommandHeld(Command::kSave));
  InputReset();
}

TEST(CommandsTest, ThePageGivesTheGameOnlyItsOwnKeysAndCtrlChords) {
  for (const int key :
       {int{kKeyZ}, int{kKeyY}, int{kKeyL}, int{kKeyS}, int{kKeyO}, int{kKeyShift}, int{kKeyCtrl}})
    EXPECT_TRUE(PageGivesChordToGame(key)) << key;
  for (const int key : {int{kKeyR}, int{'W'}, int{'T'}, 0})
    EXPECT_FALSE(PageGivesChordToGame(key)) << key;
  // Without a chord: every key the table reads, and none it does not (F5, F10, Page Down).
  for (const CommandInfo& info : AllCommands()) {
    if (info.Input == CommandInput::kKey) {
      EXPECT_TRUE(PageGivesKeyToGame(info.Code)) << info.Key;
    }
  }
  for (const int key : {116, 121, 34, 0})
    EXPECT_FALSE(PageGivesKeyToGame(key)) << key;
  EXPECT_TRUE(IsPourKey('F'));
  EXPECT_FALSE(IsPourKey('G'));
}

TEST(CommandsTest, NeighboursWithTheSameHelpShareALine) {
  const auto camera = HelpLinesOf(CommandMode::kFreeCamera);
  ASSERT_FALSE(camera.empty());
  EXPECT_EQ(camera[0].Key, "Left/Right/Up/Down");
  const auto files = HelpLinesOf(CommandMode::kAnyTime);
  bool redo = false;
  for (const HelpLine& line : files)
    redo = redo || line.Key == "Ctrl+Y/Ctrl+Shift+Z";
  EXPECT_TRUE(redo);
}

TEST(CommandsTest, TheHelpShowsEveryLineInsideItsPanel) {
  // Two pages: the one of play and the one of build mode; every group is on one of them.
  std::set<int> paged;
  for (const bool building : {false, true}) {
    OverlayScene scene;
    THelp::FLayOutPage(scene, building);
    const OverlayBox panel = THelp::FPanel();
    ASSERT_EQ(scene.Boxes.size(), 1u);
    EXPECT_EQ(scene.Boxes[0], panel);
    std::set<std::string> shown;
    for (const OverlayText& text : scene.Texts) {
      shown.insert(text.Text);
      EXPECT_GE(text.X, panel.X) << text.Text;
      EXPECT_GE(text.Y, panel.Y) << text.Text;
      EXPECT_LE(text.Y + kGlyphHeight, panel.Y + panel.Height) << text.Text;
      EXPECT_LE(text.X + kGlyphWidth * static_cast<int>(text.Text.size()), panel.X + panel.Width)
          << text.Text;
    }
    // No line runs into the next column: a column is a third of the panel.
    for (const CommandMode mode : THelp::FPageModes(building)) {
      paged.insert(static_cast<int>(mode));
      EXPECT_TRUE(shown.count(ModeHeading(mode))) << static_cast<int>(mode);
      for (const HelpLine& line : HelpLinesOf(mode)) {
        EXPECT_TRUE(shown.count(line.Key)) << line.Key;
        EXPECT_TRUE(shown.count(line.Help)) << line.Help;
        EXPECT_LE(kGlyphWidth * (2 + line.Key.size() + line.Help.size()),
                  static_cast<size_t>(panel.Width / 3))
            << line.Key;
      }
    }
  }
  EXPECT_EQ(paged.size(), static_cast<size_t>(kCommandModeCount));
}

// The README's controls table: the key column of every row between "## Controls" and the next
// blank line after the table.
std::vector<std::string> ReadmeControlRows() {
  std::ifstream in(std::string(RAVELON_SOURCE_DIR) + "/README.md");
  std::vector<std::string> rows;
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (line == "## Controls") {
      inside = true;
      continue;
    }
    if (!inside) continue;
    if (line.rfind("| ", 0) != 0) {
      if (!rows.empty()) break;
      continue;
    }
    const size_t end = line.find(" |", 2);
    const std::string key = line.substr(2, end - 2);
    if (key != "Key" && key.find("---") == std::string::npos) rows.push_back(key);
  }
  return rows;
}

TEST(CommandsTest, TheReadmeControlsTableNamesEveryCommandAndNothingElse) {
  const std::vector<std::string> rows = ReadmeControlRows();
  ASSERT_GT(rows.size(), 10u) << "README.md has no controls table";
  std::set<std::string> documented;
  for (const CommandInfo& info : AllCommands())
    documented.insert(info.Readme);
  const std::set<std::string> readme(rows.begin(), rows.end());
  EXPECT_EQ(readme.size(), rows.size()) << "a row appears twice";
  for (const std::string& row : readme)
    EXPECT_TRUE(documented.count(row)) << "README row without a command: " << row;
  for (const std::string& row : documented)
    EXPECT_TRUE(readme.count(row)) << "command missing from the README: " << row;
}

}  // namespace
