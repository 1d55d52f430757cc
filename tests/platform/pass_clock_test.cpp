// The web page's pass clock: 60 passes a second from callbacks at any refresh rate, jitter
// taken up, and no racing or freezing when the clock jumps.
#include "platform/pass_clock.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Calls the clock `hertz` times a second for a minute, each call up to `jitter` milliseconds
// off its refresh (a fixed pattern), and counts the passes run.
int PassesInAMinute(double hertz, double jitter = 0) {
  PassClock clock;
  int passes = 0;
  const int64_t calls = static_cast<int64_t>(60 * hertz);
  for (int64_t call = 0; call < calls; ++call) {
    const double wobble = jitter * ((call * 7919) % 11 - 5) / 5.0;
    passes += clock.Due(5000 + call * 1000 / hertz + wobble);
  }
  return passes;
}

}  // namespace

TEST(PassClockTest, SixtyPassesASecondAtEveryRefreshRate) {
  for (double hertz : {50.0, 59.94, 60.0, 75.0, 120.0, 144.0, 165.0, 240.0, 700.0})
    EXPECT_NEAR(PassesInAMinute(hertz), 3600, 2) << hertz;
  // Callbacks a millisecond or two off their refresh still give one pass each at 60 hertz.
  EXPECT_NEAR(PassesInAMinute(60, 2), 3600, 2);
}

TEST(PassClockTest, EachCallbackAtSixtyHertzRunsExactlyOnePass) {
  PassClock clock;
  for (int call = 0; call < 600; ++call)
    ASSERT_EQ(clock.Due(call * 1000.0 / 60 + (call % 2 ? 1.5 : -1.5)), 1) << call;
}

TEST(PassClockTest, AJumpForwardCatchesUpAFewPassesOnly) {
  PassClock clock;
  EXPECT_EQ(clock.Due(1000), 1);
  EXPECT_EQ(clock.Due(1000 + 5 * 60 * 1000), PassClock::kCatchUpAtMost);  // five minutes asleep
  // Then on as before, from where the clock now stands.
  EXPECT_EQ(clock.Due(1000 + 5 * 60 * 1000 + 1000.0 / 60), 1);
}

TEST(PassClockTest, AClockSetBackNeitherFreezesNorRaces) {
  PassClock clock;
  for (int call = 0; call < 100; ++call)
    clock.Due(100000 + call * 1000.0 / 60);
  int passes = 0;
  for (int call = 0; call < 60; ++call)
    passes += clock.Due(500 + call * 1000.0 / 60);
  EXPECT_NEAR(passes, 60, 1);
}
