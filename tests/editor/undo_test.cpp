// The undo history as the editor feeds it: what a step is, animating blocks across an undo,
// the memory bound over thousands of strokes, no allocation while nothing is painted, and the
// eyedropper's edge cases.
#include <filesystem>

#include "actors/actor.h"
#include "allocation_counter.h"
#include "editor/undo_history.h"
#include "editor_fixture.h"
#include "world/block.h"

namespace {

class UndoTest : public EditorTest {
 protected:
  static void Frame() {
    TEditor::FFrameStart();
    TEditor::FInput();
  }
  // One click of a button over a cell: a stroke of one painted frame, closed by the next.
  static void Click(int button, int cx, int cy) {
    MouseOverCell(cx, cy);
    Hold(button);
    Frame();
    Release(button);
    Frame();
  }
  static void Ctrl(int key) {
    InputKeyDown(kKeyCtrl);
    InputKeyDown(key);
    Frame();
    InputKeyUp(key);
    InputKeyUp(kKeyCtrl);
  }
  static void BlockMode(int style) {
    EditorMode = kEditorBlockMode;
    EditorBlockStyle = style;
  }
};

TEST_F(UndoTest, AStrokeThatChangesNothingIsNoStepAndANewStepClearsRedo) {
  BlockMode(20);
  Click(2, 5, 5);  // erasing an empty cell
  EXPECT_EQ(TUndoHistory::FUndoSteps(), 0u);
  EXPECT_FALSE(TUndoHistory::FUnsavedEdits());
  Click(1, 5, 5);
  Click(1, 6, 5);
  Ctrl(kKeyZ);
  EXPECT_EQ(TUndoHistory::FRedoSteps(), 1u);
  Click(1, 7, 5);
  EXPECT_EQ(TUndoHistory::FRedoSteps(), 0u);
  EXPECT_EQ(TUndoHistory::FUndoSteps(), 2u);
  Ctrl(kKeyY);  // nothing to redo: nothing happens
  EXPECT_EQ(TMap::FBlockStyleAtCell(7, 5), 20);
  Ctrl(kKeyZ);
  Ctrl(kKeyZ);
  Ctrl(kKeyZ);  // nothing left to undo
  EXPECT_EQ(TMap::FBlockStyleAtCell(5, 5), 255);
  EXPECT_EQ(TUndoHistory::FRedoSteps(), 2u);
}

// A block whose cell an undo rewrites starts at rest, and the one it replaces stops animating,
// so nothing breaks or releases a bad guy into a cell that no longer holds it. Blocks the undo
// leaves alone animate on as if nothing had happened.
TEST_F(UndoTest, AnimatingBlocksAcrossAnUndo) {
  TMap::FCreateBlock(5, 5, 20);
  TMap::FCreateBlock(7, 5, 21);
  TMap::FCreateBlock(9, 5, 20);
  for (int x : {5, 7, 9})
    BlockGrid[x][5]->MBump(1);
  TBlock::FUpdate();
  BlockMode(3);
  MouseOverCell(5, 5);
  Hold(2);
  Frame();
  MouseOverCell(7, 5);
  Frame();
  Release(2);
  Frame();
  ASSERT_EQ(BlockGrid[5][5], nullptr);
  const TBlock* untouched = BlockGrid[9][5].get();
  const int32_t count = TBlock::Count;
  const int32_t actors = ActorCount;
  Ctrl(kKeyZ);
  EXPECT_EQ(TBlock::Count, count);
  ASSERT_NE(BlockGrid[5][5], nullptr);
  EXPECT_EQ(BlockGrid[5][5]->Angle, 0);
  EXPECT_EQ(BlockGrid[9][5].get(), untouched);
  EXPECT_EQ(ActiveBlocks.size(), 1u);
  for (int i = 0; i < 12; ++i)
    TBlock::FUpdate();
  EXPECT_EQ(TMap::FBlockStyleAtCell(5, 5), 20);
  EXPECT_EQ(TMap::FBlockStyleAtCell(7, 5), 21);
  EXPECT_EQ(BlockGrid[9][5], nullptr);  // broke as it would have
  EXPECT_EQ(ActorCount, actors);
  EXPECT_TRUE(ActiveBlocks.empty());
}

TEST_F(UndoTest, TenThousandStrokesStayWithinTheBound) {
  BlockMode(20);
  for (int i = 0; i < 10000; ++i)
    Click(i % 2 ? 2 : 1, 2 + (i / 2) % 20, 2 + (i / 40) % 14);
  const size_t steps = TUndoHistory::FUndoSteps();
  EXPECT_GE(steps, 200u);
  EXPECT_LE(TUndoHistory::FBytesHeld(), TUndoHistory::kMaxBytes);
  std::cerr << "10000 strokes: " << steps << " steps kept in " << TUndoHistory::FBytesHeld()
            << " bytes\n";
  size_t undone = 0;
  while (TUndoHistory::FUndo())
    ++undone;
  EXPECT_EQ(undone, steps);
}

TEST_F(UndoTest, NothingIsAllocatedOnFramesThatPaintNothing) {
  BlockMode(20);
  Click(1, 5, 5);
  Click(1, 6, 5);  // the spare step exists from here on
  MouseOverCell(7, 5);
  Hold(1);
  Frame();
  Release(1);
  const long before = AllocationCount();
  Frame();  // closes the stroke
  for (int i = 0; i < 100; ++i) {
    MouseOverCell(i % 30, 5);
    Frame();
  }
  EXPECT_EQ(AllocationCount() - before, 0);
  EXPECT_EQ(TUndoHistory::FUndoSteps(), 3u);
}

// A quick tap can release Ctrl before the pass that sees the letter (xdotool does, 12 ms apart):
// a modifier down at any moment since the last pass still makes the chord.
TEST_F(UndoTest, AChordTappedQuickerThanAFrameCounts) {
  BlockMode(20);
  Click(1, 5, 5);
  const auto pass = [] {
    InputBeginPass();
    Frame();
  };
  InputKeyDown(kKeyCtrl);
  pass();
  InputKeyDown(kKeyZ);
  InputKeyUp(kKeyCtrl);
  pass();
  EXPECT_EQ(TMap::FBlockStyleAtCell(5, 5), 255);
  InputKeyUp(kKeyZ);
  InputKeyDown(kKeyCtrl);
  InputKeyDown(kKeyShift);
  InputKeyDown(kKeyZ);
  InputKeyUp(kKeyZ);
  InputKeyUp(kKeyShift);
  InputKeyUp(kKeyCtrl);
  pass();
  EXPECT_EQ(TMap::FBlockStyleAtCell(5, 5), 20);
  InputKeyDown(kKeyZ);  // Ctrl up since the pass before: a plain Z does nothing
  pass();
  EXPECT_EQ(TMap::FBlockStyleAtCell(5, 5), 20);
}

TEST_F(UndoTest, AnUndoInTheFrameOfASaveIsSaved) {
  ScopedWorkDir dir;
  BlockMode(20);
  Click(1, 5, 5);
  InputKeyDown(kKeyCtrl);
  InputKeyDown(kKeyZ);
  InputKeyDown(kKeyS);
  Frame();
  EXPECT_FALSE(TUndoHistory::FUnsavedEdits());
  EXPECT_EQ(ReadFileBytes("BlockMap75x54.raw")[5 * 75 + 5], 255);
}

TEST_F(UndoTest, ALoadIsAStepOfItsOwn) {
  ScopedWorkDir dir;
  WriteFileBytes("BGMap75x54.raw", std::vector<unsigned char>(4050, 3));
  WriteFileBytes("BlockMap75x54.raw", std::vector<unsigned char>(4050, 255));
  BlockMode(20);
  Click(1, 5, 5);
  PressKey(kKeyL);
  EXPECT_EQ(BGGrid[5][5], 3);
  Ctrl(kKeyZ);
  EXPECT_EQ(BGGrid[5][5], 255);
  EXPECT_EQ(TMap::FBlockStyleAtCell(5, 5), 20);
}

TEST_F(UndoTest, TheEyedropperPicksOnlyFromCellsOfTheMap) {
  TMap::FCreateBlock(0, 0, 44);  // the border ring may be read, never painted
  TMap::FBGSet(3, 3, 9);
  const auto pick = [](int mx, int my) {
    Mouse(mx, my);
    Hold(3);
    Frame();
    Release(3);
  };
  pick(8, 8);
  EXPECT_EQ(EditorBlockStyle, 44);
  EXPECT_EQ(EditorMode, kEditorBlockMode);
  pick(3 * 16 + 8, 3 * 16 + 8);
  EXPECT_EQ(EditorBGStyle, 9);
  EXPECT_EQ(EditorMode, kEditorBackgroundMode);
  for (auto [mx, my] : {std::pair{5 * 16, 5 * 16}, {-40, 8}, {8, 100000}, {405, 20}, {600, 20}}) {
    pick(mx, my);
    EXPECT_EQ(EditorBlockStyle, 44);
    EXPECT_EQ(EditorBGStyle, 9);
    EXPECT_EQ(EditorMode, kEditorBackgroundMode);
  }
  EXPECT_EQ(TUndoHistory::FUndoSteps(), 0u);
}

}  // namespace
