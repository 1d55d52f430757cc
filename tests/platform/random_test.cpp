// The random generator: the first steps and units after the game's seeds, degenerate seeds,
// and the half-open range either way round.
#include <gtest/gtest.h>

#include "platform/random.h"

TEST(Random, SeedFiveStepsAndUnits) {
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

TEST(Random, SeedOfTheDummyMap) {
  SeedRandom(7777);
  EXPECT_EQ(RandomUnit(), 0.6992436288999613);
  EXPECT_EQ(RandomUnit(), 0.8768462109834496);
  EXPECT_EQ(RandomUnit(), 0.16597687355743318);
}

TEST(Random, DegenerateSeedsFallBackTo4660) {
  for (int32_t seed : {0, 0x7FFFFFFF, -1, INT32_MIN}) {
    SeedRandom(seed);
    EXPECT_EQ(RandomSeedState, 4660) << seed;
  }
  SeedRandom(-5);  // top bit cleared
  EXPECT_EQ(RandomSeedState, 0x7FFFFFFB);
}

TEST(Random, RangeIsHalfOpenEitherWay) {
  SeedRandom(5);
  EXPECT_EQ(RandomRange(5, 5), 5.0);
  SeedRandom(123);
  for (int i = 0; i < 10000; ++i) {
    const double a = RandomRange(12, 0), b = RandomRange(1, 0), c = RandomRange(-3, 4);
    ASSERT_TRUE(a >= 0 && a < 12);
    ASSERT_TRUE(b >= 0 && b < 1);
    ASSERT_TRUE(c >= -3 && c < 4);
  }
  // Each value takes exactly two steps.
  SeedRandom(9);
  RandomRange(0, 1);
  const int32_t afterOne = RandomSeedState;
  SeedRandom(9);
  RandomStep();
  RandomStep();
  EXPECT_EQ(RandomSeedState, afterOne);
}

// The step computed without a division must give the same sequence as Schrage's method, the
// way every recorded trace was made: from the edges of the seed range and from long runs.
TEST(Random, StepMatchesSchragesMethodBitForBit) {
  const auto schrage = [](int32_t seed) {
    int32_t next = (seed % 44488) * 48271 - (seed / 44488) * 3399;
    return next < 0 ? next + 0x7FFFFFFF : next;
  };
  for (int32_t start : {1, 2, 44487, 44488, 44489, 4660, 0x7FFFFFFE, 0x7FFFFFFD, 0x40000000}) {
    SeedRandom(start);
    int32_t expected = start;
    for (int i = 0; i < 100000; ++i) {
      expected = schrage(expected);
      ASSERT_EQ(RandomStep(), expected) << "from " << start << ", step " << i;
    }
  }
}

// The whole-number comparison must answer as the double one for every chance the game uses, and
// at the very edge: a chance equal to a drawn value is not above it, the next multiple up is.
TEST(Random, UnitBelowAnswersAsTheDoubleComparison) {
  constexpr UnitChance kCuts[] = {Chance(0.5),   Chance(0.3f), Chance(0.1f), Chance(0.02f),
                                  Chance(0.01f), Chance(0.0),  Chance(1.0)};
  constexpr double kValues[] = {0.5, 0.3f, 0.1f, 0.02f, 0.01f, 0.0, 1.0};
  for (int32_t seed : {1, 5, 4660, 7777, 0x7FFFFFFE}) {
    SeedRandom(seed);
    for (int i = 0; i < 20000; ++i) {
      const int32_t state = RandomSeedState;
      const double u = RandomUnit();
      const int32_t after = RandomSeedState;
      for (size_t k = 0; k < std::size(kCuts); ++k) {
        RandomSeedState = state;
        ASSERT_EQ(RandomUnitBelow(kCuts[k]), u < kValues[k]) << seed << " " << i << " " << k;
        ASSERT_EQ(RandomSeedState, after);  // the same two steps
      }
      // The drawn value itself as the chance, and one step of 2^-53 above it.
      const UnitChance at{static_cast<uint64_t>(u * 9007199254740992.0)};
      RandomSeedState = state;
      ASSERT_FALSE(RandomUnitBelow(at));
      RandomSeedState = state;
      ASSERT_TRUE(RandomUnitBelow(UnitChance{at.scaled + 1}));
      RandomSeedState = after;
    }
  }
}
