#include <gtest/gtest.h>

#include "frame/main_program.h"
#include "platform/random.h"
#include "support/test_env.h"

namespace {

class MainLoopTest : public GameTest {};

TEST_F(MainLoopTest, StartUpPrintsTheWorldConstantsThenTheDefaultState) {
  ScopedWorkDir dir;
  Backend.OnEndOfPass = [](int) { return false; };
  RunRavelon(false);
  ASSERT_GE(Console().size(), 22u);
  EXPECT_EQ(Console()[0], "---");
  EXPECT_EQ(Console()[1], "PIXEL_SHIFT:\t\t16");
  EXPECT_EQ(Console()[20], "---");
  EXPECT_EQ(Console()[21], "TMain default state.");
}

TEST(RandomTest, SeedFiveGivesTheDocumentedSequence) {
  SeedRandom(5);
  EXPECT_EQ(RandomStep(), 241355);
  EXPECT_EQ(RandomStep(), 913028970);
  EXPECT_EQ(RandomStep(), 14523489);
  EXPECT_EQ(RandomStep(), 983668597);
  SeedRandom(5);
  EXPECT_DOUBLE_EQ(RandomUnit(), 0.0004495583522988733);
  EXPECT_DOUBLE_EQ(RandomUnit(), 0.02705211067367741);
  EXPECT_DOUBLE_EQ(RandomUnit(), 0.3591140418782489);
}

}  // namespace
