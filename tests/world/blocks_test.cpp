// Blocks: creation, the bump timelines of bricks and containers, the actor cap, the list walk
// that lets an element remove itself, and where and which frame a block draws.
#include <algorithm>

#include "frame/main_program.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"
#include "world_fixture.h"

namespace {

class Blocks : public WorldTest {
 protected:
  static std::shared_ptr<TBlock> Place(int x, int y, int style) {
    TMap::FCreateBlock(x, y, style);
    return BlockGrid[x][y];
  }
  static void Updates(int n) {
    for (int i = 0; i < n; ++i)
      TBlock::FUpdate();
  }
  static bool Listed(const TBlock* block) {
    return std::any_of(ActiveBlocks.begin(), ActiveBlocks.end(),
                       [block](const auto& b) { return b.get() == block; });
  }
};

TEST_F(Blocks, CreateRefusesEmptyStylesAndClampsOddOnes) {
  EXPECT_EQ(TBlockBrick::FCreate(-1, 1, 1), nullptr);
  EXPECT_EQ(TBlockContainer::FCreate(255, 1, 1), nullptr);
  EXPECT_EQ(TBlock::FCreate(23, 1, 1), nullptr);
  EXPECT_EQ(TBlock::Count, 0);
  EXPECT_EQ(TBlockSolid::FCreate(-2, 1, 1)->Style, 15);
  EXPECT_EQ(TBlockSolid::FCreate(256, 1, 1)->Style, 15);
  EXPECT_EQ(TBlockSolid::FCreate(254, 1, 1)->Style, 254);
  EXPECT_EQ(TBlock::Count, 3);
}

TEST_F(Blocks, BootEmptiesTheActiveList) {
  Place(5, 5, 18)->MBump(1);
  ASSERT_EQ(ActiveBlocks.size(), 1u);
  TBlock::FBoot();
  EXPECT_TRUE(ActiveBlocks.empty());
}

TEST_F(Blocks, SolidBlocksIgnoreBumps) {
  auto solid = Place(5, 5, 23);
  TMap::FHitCell(5, 5, 1);
  EXPECT_TRUE(ActiveBlocks.empty());
  EXPECT_EQ(solid->Angle, kNoDirection);
}

TEST_F(Blocks, BrickBreaksAtItsFourthUpdateAndFinishesOffTheMap) {
  std::weak_ptr<TBlock> brick = Place(5, 5, 19);
  TMap::FHitCell(5, 5, 3);  // any direction animates upward
  TMap::FHitCell(5, 5, 1);
  ASSERT_EQ(ActiveBlocks.size(), 1u);
  EXPECT_EQ(brick.lock()->Angle, 1);
  EXPECT_EQ(brick.lock()->Counter, 8);
  Updates(3);
  EXPECT_EQ(TMap::FBlockStyleAtCell(5, 5), 19);
  Updates(1);
  EXPECT_EQ(BlockGrid[5][5], nullptr);
  EXPECT_EQ(SolidGrid[5][5], 0);
  EXPECT_EQ(FillGrid[5][5], 0);
  ASSERT_FALSE(brick.expired());  // held by the active list alone
  EXPECT_EQ(brick.lock()->Counter, 4);
  Updates(4);
  EXPECT_EQ(brick.lock()->Counter, 0);
  EXPECT_EQ(ActiveBlocks.size(), 1u);
  Updates(1);
  EXPECT_TRUE(ActiveBlocks.empty());
  EXPECT_TRUE(brick.expired());
}

TEST_F(Blocks, BrickStillAnimatingAfterAClearEmptiesItsCellInTheNewMap) {
  Place(6, 6, 18)->MBump(1);
  TMap::FClear();
  Place(6, 6, 23);
  Updates(4);
  EXPECT_EQ(BlockGrid[6][6], nullptr);
}

TEST_F(Blocks, ContainerReleasesOneBadGuyPerBumpAtItsPeak) {
  auto container = Place(7, 30, 21);
  container->MBump(1);
  Updates(3);
  EXPECT_EQ(ActorCount, 0);
  Updates(1);
  ASSERT_EQ(ActorCount, 1);
  ASSERT_EQ(ActorLists[kBadguyList].size(), 1u);
  EXPECT_EQ(ActorLists[kBadguyList][0]->XPos, 7 * kCell + 524288);
  EXPECT_EQ(ActorLists[kBadguyList][0]->YPos, 30 * kCell - 131072);
  EXPECT_EQ(ActorLists[kBadguyList][0]->User, kUserBadguy);
  Updates(4);
  container->MBump(1);  // still animating: ignored
  Updates(1);
  EXPECT_TRUE(ActiveBlocks.empty());
  EXPECT_EQ(container->Angle, kNoDirection);
  EXPECT_EQ(BlockGrid[7][30], container);
  container->MBump(1);
  Updates(4);
  EXPECT_EQ(ActorCount, 2);
}

TEST_F(Blocks, ContainerInRowZeroReleasesAboveTheMap) {
  Place(0, 0, 53)->MBump(1);
  Updates(4);
  ASSERT_EQ(ActorLists[kBadguyList].size(), 1u);
  EXPECT_EQ(ActorLists[kBadguyList][0]->YPos, -131072);
  EXPECT_EQ(ActorLists[kBadguyList][0]->XPos, 524288);
}

TEST_F(Blocks, ActorCapAt500) {
  auto container = Place(7, 30, 21);
  ActorCount = 499;
  container->MBump(1);
  Updates(4);
  EXPECT_EQ(ActorCount, 500);
  EXPECT_TRUE(ConsoleHas("Arbitrary Actor cap reached (500)."));
  ClearConsole();
  Updates(5);
  container->MBump(1);
  Updates(9);
  EXPECT_EQ(ActorCount, 500);
  EXPECT_EQ(ActorLists[kBadguyList].size(), 1u);
  EXPECT_TRUE(Console().empty());
  EXPECT_TRUE(ActiveBlocks.empty());
}

TEST_F(Blocks, AFinishingBlockDoesNotCostTheNextOneItsUpdate) {
  auto first = Place(2, 2, 18);
  auto second = Place(3, 2, 21);
  auto third = Place(4, 2, 50);
  first->MBump(1);
  Updates(1);
  second->MBump(1);
  third->MBump(1);
  Updates(8);  // the last of these removes the first block mid-walk
  EXPECT_FALSE(Listed(first.get()));
  EXPECT_EQ(second->Counter, 0);
  EXPECT_EQ(third->Counter, 0);
  Updates(1);
  EXPECT_TRUE(ActiveBlocks.empty());
  EXPECT_EQ(ActorCount, 1);
}

// Frame n of this sheet is a 16x16 square of colour n + 1, so a pixel tells the frame.
class BlockDrawing : public Blocks {
 protected:
  void SetUp() override {
    Blocks::SetUp();
    auto sheet = std::make_shared<TImage>();
    sheet->width = sheet->height = 16;
    sheet->frames.resize(256);
    for (int n = 0; n < 256; ++n)
      sheet->frames[n] = ImageFrame{std::vector<uint32_t>(256, 0xFF000000u | (n + 1)), true};
    TileSet0 = sheet;
    ResetDrawState();
  }
  // The frame drawn and its top-left corner, searched in a 64x64 area cleared beforehand.
  struct Drawn {
    int Frame = -1, X = -1, Y = -1;
  };
  static Drawn DrawAt(TBlock& block, int px, int py) {
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        BackBuffer()[y * kBackBufferWidth + x] = 0;
    block.MDraw(px, py);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        if (uint32_t c = BackBuffer()[y * kBackBufferWidth + x])
          return {static_cast<int>(c) - 1, x, y};
    return {};
  }
};

TEST_F(BlockDrawing, SolidAndRestingBlocksDrawTheirStyle) {
  auto solid = Place(1, 1, 40);
  auto container = Place(2, 1, 53);
  Drawn d = DrawAt(*solid, 20, 20);
  EXPECT_EQ(d.Frame, 40);
  EXPECT_EQ(d.X, 20);
  EXPECT_EQ(d.Y, 20);
  EXPECT_EQ(DrawAt(*container, 20, 20).Frame, 53);
}

TEST_F(BlockDrawing, BumpedBlocksRiseAndFall) {
  auto brick = Place(1, 1, 20);
  auto container = Place(2, 1, 21);
  brick->MBump(1);
  container->MBump(1);
  const int rise[] = {0, 1, 2, 3, 4, 3, 2, 1, 0};
  for (int step = 0; step < 9; ++step) {
    const Drawn c = DrawAt(*container, 20, 20);
    EXPECT_EQ(c.Frame, 22);
    EXPECT_EQ(c.Y, 20 - rise[step]) << "update " << step;
    if (step < 4) {
      EXPECT_EQ(DrawAt(*brick, 20, 20).Y, 20 - rise[step]);
    }
    Updates(1);
  }
}

TEST_F(BlockDrawing, BumpDirectionsShiftTheBlock) {
  auto brick = Place(1, 1, 18);
  brick->Counter = 6;  // d = 2
  brick->Angle = 2;
  EXPECT_EQ(DrawAt(*brick, 20, 20).X, 22);
  brick->Angle = 3;
  EXPECT_EQ(DrawAt(*brick, 20, 20).Y, 22);
  brick->Angle = 4;
  EXPECT_EQ(DrawAt(*brick, 20, 20).X, 18);
  brick->Angle = 5;
  EXPECT_EQ(DrawAt(*brick, 20, 20).Frame, -1);
}

}  // namespace
