// The trace: the FNV-1a hash, the grids hashed row by row, the lines of one frame in their
// order, and the player's line left out while there is no player actor.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "actors/actor.h"
#include "actors/profile.h"
#include "frame/main_program.h"
#include "platform/random.h"
#include "record/trace.h"
#include "support/test_env.h"
#include "world/block.h"
#include "world/map.h"
#include "world/scroller.h"

namespace {

std::vector<std::string> TraceLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

TEST(TraceHashTest, FnvOneAOf64Bits) {
  EXPECT_EQ(Fnv1a64(nullptr, 0), 14695981039346656037ull);
  const uint8_t a = 'a';
  EXPECT_EQ(HashHex(Fnv1a64(&a, 1)), "af63dc4c8601ec8c");
  const std::vector<uint8_t> zeros(kGridBytes, 0), full(kGridBytes, 255);
  EXPECT_EQ(HashHex(Fnv1a64(zeros.data(), zeros.size())), "96acf65e27fdf62d");
  EXPECT_EQ(HashHex(Fnv1a64(full.data(), full.size())), "0500f49b331f4753");
  EXPECT_EQ(HashHex(0x1), "0000000000000001");
}

class TraceTest : public GameTest {};

TEST_F(TraceTest, GridsAreHashedRowByRow) {
  SolidGrid[1][0] = 7;  // column 1 of row 0: the second byte
  SolidGrid[0][1] = 9;  // column 0 of row 1: byte 75
  uint8_t bytes[kGridBytes];
  GridRowMajor(SolidGrid, bytes);
  EXPECT_EQ(bytes[1], 7);
  EXPECT_EQ(bytes[75], 9);
  EXPECT_EQ(bytes[54], 0);
}

TEST_F(TraceTest, EmptyBlockCellsHashAs255AndBlocksAsTheirStyle) {
  uint8_t bytes[kGridBytes];
  BlockStylesRowMajor(bytes);
  EXPECT_EQ(HashHex(Fnv1a64(bytes, kGridBytes)), "0500f49b331f4753");
  BlockGrid[74][53] = std::make_shared<TBlockSolid>();
  BlockGrid[74][53]->Style = 44;
  BlockStylesRowMajor(bytes);
  EXPECT_EQ(bytes[kGridBytes - 1], 44);
  EXPECT_EQ(bytes[0], 255);
}

TEST_F(TraceTest, OneFrameInTheDocumentedOrder) {
  BootSubsystems();
  auto player = std::make_shared<TActor>();
  player->XPos = 6291456;
  player->YPos = -5;
  player->XVel = 3;
  player->YVel = -131072;
  player->Grounded = 1;
  player->Hugged = 2;
  player->ForceDuck = 3;
  player->Pose = 4;
  player->HoldPose = 5;
  player->LastFacing = kRight;
  player->VPad = kDown;
  player->Hpad = kLeft;
  player->AButton = 1;
  player->BButton = 1;
  Profiles[kPlayerProfile]->Actor = player;
  auto badguy = std::make_shared<TActor>();
  badguy->XPos = 10;
  ActorLists[kBadguyList].push_back(badguy);
  ActorLists[kBadguyList].push_back(std::make_shared<TActor>());
  Scrollers[1]->CameraXPos = 11;
  Scrollers[1]->CameraYPos = 12;
  Scrollers[1]->CameraCornerX = -13;
  Scrollers[1]->CameraCornerY = 14;
  ActorCount = 3;
  TBlock::Count = 483;
  SeedRandom(5);
  const std::string text = TraceFrame(12);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(text.find('\r'), std::string::npos);
  const auto lines = TraceLines(text);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "frame 12");
  EXPECT_EQ(lines[1], "actor 0 6291456 -5 3 -131072 1 2 3 4 5 2 3 4 1 1");
  EXPECT_EQ(lines[2], "actor 1 10 0 0 0 0 0 0 0 0 0 0 0 0 0");
  EXPECT_EQ(lines[3], "actor 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
  EXPECT_EQ(lines[4].rfind("camera 0 ", 0), 0u);
  EXPECT_EQ(lines[5], "camera 1 11 12 -13 14");
  EXPECT_EQ(lines[6].size(), std::string("grid ").size() + 4 * 16 + 3);
  EXPECT_EQ(lines[6].rfind("grid ", 0), 0u);
  EXPECT_EQ(lines[7], "count 3 483 0");
  EXPECT_EQ(lines[8], "seed 5");
}

TEST_F(TraceTest, NoPlayerActorLeavesOutItsLineButKeepsTheBadGuysNumbers) {
  BootSubsystems();
  Profiles[kPlayerProfile]->Actor = nullptr;
  ActorLists[kBadguyList].push_back(std::make_shared<TActor>());
  const auto lines = TraceLines(TraceFrame(1));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1].rfind("actor 1 ", 0), 0u);
  for (const auto& line : lines)
    EXPECT_NE(line.rfind("actor 0 ", 0), 0u) << line;
}

}  // namespace
