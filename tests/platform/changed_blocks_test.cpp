// The blocks the drawing notes for the window: every pixel it writes lies in one (checked frame
// by frame in the game's own runs), and no more than it writes, or the window compares the whole
// view again: a sky filled over itself and a repeated frame note nothing.
#include <gtest/gtest.h>

#include "platform/changed_blocks.h"
#include "platform/render/draw.h"
#include "platform/render/draw_journal.h"
#include "support/test_env.h"

namespace {

// The blocks x0..x1-1 by y0..y1-1, and nothing else.
ChangedBlocks Just(int x0, int y0, int x1, int y1) {
  ChangedBlocks blocks;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x)
      blocks.Mark(x, y);
  }
  return blocks;
}

bool Same(const ChangedBlocks& a, const ChangedBlocks& b) {
  for (int y = 0; y < ChangedBlocks::kRows; ++y) {
    for (int x = 0; x < ChangedBlocks::kColumns; ++x) {
      if (a.Has(x, y) != b.Has(x, y)) return false;
    }
  }
  return true;
}

ChangedBlocks FlipChanges() {
  FinishedBackBuffer();
  return TakeBackBufferChanges();
}

class NotedBlocks : public GameTest {};

}  // namespace

// Marked rectangles and the runs found in them, either side of a word's end and over whole
// words.
TEST(ChangedBlocksTest, PixelsMarkTheirBlocksAndRunsAreFoundAcrossWords) {
  ChangedBlocks blocks;
  blocks.MarkPixels(500, 8, 530, 17);  // blocks 62..66, rows 1..2
  EXPECT_TRUE(Same(blocks, Just(62, 1, 67, 3)));
  EXPECT_EQ(blocks.Next(1, 0, true), 62);
  EXPECT_EQ(blocks.Next(1, 62, false), 67);
  EXPECT_EQ(blocks.Next(1, 67, true), ChangedBlocks::kColumns);
  blocks.MarkPixels(0, 0, 1024, 1);  // a whole row: both words full
  EXPECT_EQ(blocks.Next(0, 0, false), ChangedBlocks::kColumns);
  EXPECT_TRUE(Same(ChangedBlocks::All(), [] {
    ChangedBlocks all;
    all.MarkPixels(0, 0, 1024, 512);
    return all;
  }()));
}

TEST_F(NotedBlocks, OnlyTheBlocksTheDrawingWroteAreNoted) {
  SetDrawJournal(false);  // every draw drawn as it comes: the fills themselves are what is seen
  BackBuffer();
  EXPECT_TRUE(Same(FlipChanges(), ChangedBlocks::All())) << "pixels handed out: all of them";
  SetColor(10, 20, 30);
  DrawRect(0, 0, 64, 64);
  EXPECT_TRUE(Same(FlipChanges(), Just(0, 0, 8, 8)));
  DrawRect(0, 0, 64, 64);
  EXPECT_TRUE(Same(FlipChanges(), ChangedBlocks{})) << "the colour already lay there";
  SetColor(40, 50, 60);
  DrawRect(100, 50, 16, 16);  // pixels 100..115 by 50..65
  EXPECT_TRUE(Same(FlipChanges(), Just(12, 6, 15, 9)));
  SetDrawJournal(true);
}
