// The picker's mapping from a mouse position over the right view to a style and a mode, and its
// edges.
#include <climits>

#include "editor/editor_layout.h"
#include "editor_fixture.h"

namespace {
class PickerTest : public EditorTest {
 protected:
  // Clicks once at (x, y) from a known selection; true when the selection changed.
  bool ClickChanges(int x, int y) {
    EditorBlockStyle = 77;
    EditorBGStyle = 88;
    EditorMode = kEditorBackgroundMode;
    Mouse(x, y);
    Hold(1);
    Frame();
    Release(1);
    return EditorBlockStyle != 77 || EditorBGStyle != 88 || EditorMode != kEditorBackgroundMode;
  }
};
}  // namespace

TEST_F(PickerTest, BootNumbersTheTilesInReadingOrder) {
  EXPECT_EQ(EditorTileGrid[0][0], 0);
  EXPECT_EQ(EditorTileGrid[5][3], 101);
  EXPECT_EQ(EditorTileGrid[31][7], 255);
}

TEST_F(PickerTest, TruncationTowardZeroWidensTheFirstColumnAndRow) {
  for (int x = 401; x <= 408; ++x)
    EXPECT_FALSE(ClickChanges(x, 20)) << x;
  for (int x = 409; x <= 415; ++x) {
    for (int y = 9; y <= 15; ++y) {
      ASSERT_TRUE(ClickChanges(x, y)) << x << "," << y;
      EXPECT_EQ(EditorBlockStyle, 0);
      EXPECT_EQ(EditorMode, kEditorBlockMode);
    }
  }
}

TEST_F(PickerTest, TopHalfPicksBlocksBottomHalfBackgrounds) {
  ASSERT_TRUE(ClickChanges(416 + 5 * 8, 16 + 3 * 8));
  EXPECT_EQ(EditorBlockStyle, 101);
  EXPECT_EQ(EditorMode, kEditorBlockMode);
  EXPECT_EQ(EditorBGStyle, 88);
  ASSERT_TRUE(ClickChanges(671, 143));  // column 31, row 15
  EXPECT_EQ(EditorBGStyle, 255);
  EXPECT_EQ(EditorMode, kEditorBackgroundMode);
  EXPECT_EQ(EditorBlockStyle, 77);
}

TEST_F(PickerTest, PastTheLastRowOrColumnNothingChanges) {
  EXPECT_FALSE(ClickChanges(500, 144));
  EXPECT_FALSE(ClickChanges(672, 20));
  EXPECT_FALSE(ClickChanges(700, 200));
}

// A backend may report any int for the mouse; the far ends must neither overflow the place
// computation nor land on a tile.
TEST_F(PickerTest, AMouseAtTheEndsOfTheIntRangePicksNothing) {
  for (const int far : {INT_MIN, INT_MIN + 1, INT_MAX}) {
    EXPECT_FALSE(ClickChanges(far, 20)) << far;
    EXPECT_FALSE(ClickChanges(500, far)) << far;
  }
  EXPECT_LT(PickerPlaceAt(INT_MIN, INT_MIN).column, 0);
  EXPECT_LT(PickerPlaceAt(INT_MIN, INT_MIN).row, 0);
  EXPECT_GE(PickerPlaceAt(INT_MAX, INT_MAX).column, kPickerColumns);
}

TEST_F(PickerTest, NoButtonNoPickAndTheRightButtonPicksToo) {
  Mouse(420, 20);
  EditorBlockStyle = 77;
  Frame();
  EXPECT_EQ(EditorBlockStyle, 77);
  Hold(2);
  Frame();
  EXPECT_EQ(EditorBlockStyle, 0);
}

TEST_F(PickerTest, ClicksOverThePickerLeaveTheMapAlone) {
  Scrollers[0]->CameraCornerX = 0;
  InputKeyDown(kKeyF);
  Mouse(420, 20);  // over map cell (26, 1) if the view reached that far
  Hold(1);
  Frame();
  EXPECT_EQ(SolidGrid[26][1], kSolidNothing);
}
