// A stroke tells its listeners of each cell it paints, erases or waters once, however many
// frames the mouse rests there: a click per cell, never a buzz per frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/editor_fixture.h"
#include "shared/game_events.h"

namespace {

class StrokeEventsTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    TGameEvents::FClear();
    EditorMode = 1;
    EditorBlockStyle = 3;  // a solid family: a new tile is picked every frame the cell is held
  }
  static void Step() {
    TEditor::FFrameStart();
    TEditor::FInput();
  }
  static int Count(GameEvent kind) {
    const auto events = TGameEvents::FPending();
    return static_cast<int>(std::count_if(events.begin(), events.end(),
                                          [kind](const auto& e) { return e.Kind == kind; }));
  }
};

TEST_F(StrokeEventsTest, EachCellIsReportedOncePerStrokeAtItsCentre) {
  MouseOverCell(5, 7);
  Hold(1);
  for (int i = 0; i < 10; ++i)
    Step();
  ASSERT_EQ(Count(GameEvent::kBlockPainted), 1);
  const GameEventRecord first = TGameEvents::FPending()[0];
  EXPECT_EQ(first.X, 5 * TILE_UNITS + TILE_UNITS / 2);
  EXPECT_EQ(first.Y, 7 * TILE_UNITS + TILE_UNITS / 2);
  MouseOverCell(6, 7);
  Step();
  MouseOverCell(5, 7);  // back over a cell this stroke has painted
  Step();
  EXPECT_EQ(Count(GameEvent::kBlockPainted), 2);
  Release(1);
  Step();

  // A new stroke: erasing is reported once, and erasing nothing is not reported at all.
  Hold(2);
  for (int i = 0; i < 5; ++i)
    Step();
  MouseOverCell(9, 9);
  Step();
  EXPECT_EQ(Count(GameEvent::kBlockErased), 1);
  Release(2);
  Step();

  // Water held over one cell pours every frame, but is heard once.
  InputKeyDown(kKeyF);
  for (int i = 0; i < 5; ++i)
    Step();
  InputKeyUp(kKeyF);
  EXPECT_EQ(Count(GameEvent::kWaterPoured), 1);
}

}  // namespace
