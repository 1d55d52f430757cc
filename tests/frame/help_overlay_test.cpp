// The help through the main loop on the headless backend: F1 stops the game and shows the
// help, F1 or Escape hides it, and the keys and buttons of a help pass (Escape, S, Tab, a
// stroke, a pick, a pause) change nothing, then or later. The picture shown stays the same.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/free_camera.h"
#include "frame/edit_switches.h"
#include "frame/help_overlay.h"
#include "frame/main_program.h"
#include "platform/commands.h"
#include "platform/input.h"
#include "platform/render/overlay_scene.h"
#include "record/trace.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;
using Kind = ScriptedEvent::Kind;

// Keeps a hash of the picture each flip shows.
class PictureBackend : public HeadlessBackend {
 public:
  void Present(const uint32_t* pixels, int width, int height, int sync) override {
    uint64_t hash = 1469598103934665603ull;
    for (int i = 0; i < width * height; ++i)
      hash = (hash ^ pixels[i]) * 1099511628211ull;
    Shown = hash;
    HeadlessBackend::Present(pixels, width, height, sync);
  }
  uint64_t Shown = 0;
};

ScriptedEvent Key(int frame, int key, bool down) {
  return {frame, down ? Kind::KeyDown : Kind::KeyUp, key};
}
ScriptedEvent Button(int frame, int button, bool down) {
  return {frame, down ? Kind::ButtonDown : Kind::ButtonUp, button};
}
ScriptedEvent Pointer(int frame, int x, int y) {
  return {frame, Kind::MouseMove, x, y};
}
// A key pressed and let go in one pass.
void Tap(std::vector<ScriptedEvent>& script, int frame, int key) {
  script.push_back(Key(frame, key, true));
  script.push_back(Key(frame, key, false));
}

class HelpOverlayTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    // The art without the level: a save would write the map files, which none of these
    // runs may do.
    for (const auto& entry : fs::directory_iterator(RAVELON_ART_DIR))
      if (entry.path().extension() != ".raw")
        fs::copy_file(entry.path(), fs::path(Dir.Path()) / entry.path().filename());
    SetBackend(&Pictures);
    Pictures.OnEndOfPass = [this](int pass) {
      Passes.push_back({StateNow(), Pictures.Shown, THelp::FShown()});
      return pass < Frames;
    };
  }
  void Run(std::vector<ScriptedEvent> script, int frames) {
    Frames = frames;
    Pictures.Passes = 0;
    Pictures.SetScript(std::move(script));
    RunRavelon();
  }
  static std::string StateNow() {
    return TraceFrame(0) + "styles " + std::to_string(EditorBlockStyle) + " " +
           std::to_string(EditorBGStyle) + " switches " + std::to_string(FreeCameraOn) +
           std::to_string(WorldHeld) + std::to_string(PanelShown) + " quit " +
           std::to_string(QuitFlag) + " tick " + std::to_string(FrameTick);
  }
  bool MapSaved() const { return fs::exists(fs::path(Dir.Path()) / "BlockMap75x54.raw"); }
  // Passes are numbered from 1.
  struct Pass {
    std::string State;
    uint64_t Picture;
    bool Help;
  };
  const Pass& At(int pass) const { return Passes.at(pass - 1); }
  // The game and its picture stood still from `first` to `last`, as they were at `first - 1`.
  void ExpectStill(int first, int last) const {
    for (int pass = first; pass <= last; ++pass) {
      EXPECT_EQ(At(pass).State, At(first - 1).State) << "pass " << pass;
      EXPECT_EQ(At(pass).Picture, At(first - 1).Picture) << "pass " << pass;
    }
  }

  ScopedWorkDir Dir;
  PictureBackend Pictures;
  std::vector<Pass> Passes;
  int Frames = 0;
};

TEST_F(HelpOverlayTest, F1StopsTheGameUntilF1OrEscapeHidesItAndEscapeThenDoesNotQuit) {
  std::vector<ScriptedEvent> script;
  Tap(script, 3, kKeyF1);
  Tap(script, 6, kKeyF1);  // hides
  Tap(script, 9, kKeyF1);
  Tap(script, 11, kKeyEscape);  // hides, no quit
  Tap(script, 14, kKeyEscape);  // quits
  Run(script, 30);
  ASSERT_EQ(Passes.size(), 14u);  // the second Escape ended the game, the first did not
  for (int pass = 1; pass <= 14; ++pass)
    EXPECT_EQ(At(pass).Help, (pass >= 3 && pass <= 5) || (pass >= 9 && pass <= 10)) << pass;
  ExpectStill(3, 6);
  ExpectStill(9, 11);
  EXPECT_NE(At(7).State, At(6).State);  // the game goes on after the help
  EXPECT_EQ(QuitFlag, 1);
}

TEST_F(HelpOverlayTest, F1InThePassOfEscapeSAndTabTogglesTheHelpAndNothingElse) {
  std::vector<ScriptedEvent> script;
  for (const int key : {int{kKeyEscape}, int{kKeyF1}, int{kKeyS}, int{kKeyTab}})
    Tap(script, 3, key);
  for (const int key : {int{kKeyS}, int{kKeyTab}, int{kKeyP}, int{kKeyH}, int{kKeyR}})
    Tap(script, 4, key);  // pressed while the help shows: never acted on
  for (const int key : {int{kKeyF1}, int{kKeyEscape}, int{kKeyS}})
    Tap(script, 6, key);  // F1 hides it; Escape and S of that pass do nothing
  Run(script, 12);
  ASSERT_EQ(Passes.size(), 12u);
  EXPECT_TRUE(At(3).Help);
  EXPECT_FALSE(At(6).Help);
  ExpectStill(3, 6);
  EXPECT_FALSE(MapSaved());
  EXPECT_FALSE(FreeCameraOn);
  EXPECT_FALSE(WorldHeld);
  EXPECT_TRUE(PanelShown);
  EXPECT_EQ(QuitFlag, 0);
}

TEST_F(HelpOverlayTest, F1DuringAStrokePaintsNothingWhileTheHelpShows) {
  std::vector<ScriptedEvent> script = {Pointer(2, 150, 120), Button(2, kMouseLeft, true)};
  Tap(script, 4, kKeyF1);
  script.push_back(Pointer(5, 250, 150));
  script.push_back(Button(5, kMouseRight, true));
  script.push_back(Key(6, kKeyF, true));
  script.push_back(Pointer(6, 300, 100));
  Tap(script, 7, kKeyF1);
  script.push_back(Button(7, kMouseLeft, false));
  script.push_back(Button(7, kMouseRight, false));
  script.push_back(Key(7, kKeyF, false));
  Run(script, 10);
  ExpectStill(4, 7);
  // Nothing held after the help: the map stays as the stroke left it before F1.
  const auto grid = [](const std::string& state) { return state.substr(state.find("grid ")); };
  EXPECT_EQ(grid(At(10).State).substr(0, 60), grid(At(3).State).substr(0, 60));
}

TEST_F(HelpOverlayTest, F1WithThePickerOpenPicksNothing) {
  // The pointer over the sheet's block style 35, a press in the same pass as F1.
  std::vector<ScriptedEvent> script = {Pointer(2, 444, 26)};
  Tap(script, 3, kKeyF1);
  script.push_back(Button(3, kMouseLeft, true));
  script.push_back(Button(5, kMouseLeft, false));
  Tap(script, 6, kKeyEscape);
  Run(script, 8);
  ASSERT_NE(At(2).State.find("styles 0 "), std::string::npos);
  ExpectStill(3, 6);
  EXPECT_EQ(EditorBlockStyle, 0);

  // Without F1 the same press picks the style.
  Passes.clear();
  Run({Pointer(2, 444, 26), Button(3, kMouseLeft, true), Button(5, kMouseLeft, false)}, 4);
  EXPECT_EQ(EditorBlockStyle, 35);
}

TEST_F(HelpOverlayTest, F1AfterThePauseShowsTheHelpAndTheSpaceOfItsPassWaitsNot) {
  std::vector<ScriptedEvent> script;
  Tap(script, 3, kKeySpace);
  Tap(script, 4, kKeyF1);  // pressed during the 3 s: seen by the next pass
  Tap(script, 4, kKeySpace);
  Tap(script, 7, kKeyF1);
  Run(script, 9);
  EXPECT_EQ(Pictures.Sleeps, 1);
  EXPECT_TRUE(At(4).Help);
  ExpectStill(4, 7);
}

TEST_F(HelpOverlayTest, TwoPressesOfF1InOnePassLeaveTheHelpAsItWasButTakeThePass) {
  std::vector<ScriptedEvent> script;
  Tap(script, 3, kKeyF1);
  Tap(script, 3, kKeyF1);
  Tap(script, 3, kKeyS);
  Run(script, 6);
  for (const Pass& pass : Passes)
    EXPECT_FALSE(pass.Help);
  ExpectStill(3, 3);
  EXPECT_NE(At(4).State, At(3).State);
  EXPECT_FALSE(MapSaved());
}

TEST_F(HelpOverlayTest, TheOverlayShowsTheHelpAloneWhileItIsUp) {
  std::vector<ScriptedEvent> script = {Pointer(2, 444, 26)};  // the picker's marks
  Tap(script, 3, kKeyF1);
  Run(script, 4);
  const OverlayScene& scene = CurrentOverlayScene();
  ASSERT_FALSE(scene.Boxes.empty());
  EXPECT_EQ(scene.Boxes[0], THelp::FPanel());
  EXPECT_EQ(scene.Boxes.size(), 1u);
  size_t lines = 0;
  for (const CommandMode mode : THelp::FPageModes(false))
    lines += 1 + 2 * HelpLinesOf(mode).size();
  EXPECT_EQ(scene.Texts.size(), lines);
}

}  // namespace
