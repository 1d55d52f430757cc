// The benchmark's figures: the summaries it prints per phase, and a timed run that reaches the
// state of the real loop while it times each part of the pass.
#include <gtest/gtest.h>

#include "sim_process.h"
#include "support/test_env.h"
#include "timing.h"

TEST(TimingSummary, MedianNinetiethPercentileAndTheWorstPass) {
  // Passes 1..10 take 10, 20, .. except pass 7, the slowest.
  std::vector<double> values = {10, 20, 30, 40, 50, 60, 700, 80, 90, 100};
  const TimingSummary s = Summarise(values);
  EXPECT_EQ(s.median, 55);
  EXPECT_EQ(s.p90, 100);  // nine passes of ten take at most this
  EXPECT_EQ(s.max, 700);
  EXPECT_EQ(s.worst_pass, 7);
  EXPECT_EQ(Summarise({5}).p90, 5);
  EXPECT_EQ(Summarise({}).worst_pass, 0);
}

class TimingRun : public GameTest {};

// Every 7th pass runs the water step: its figures are those passes', named by their numbers.
TEST_F(TimingRun, PhasesAddUpAndTheWaterStepIsEverySeventhPass) {
  ScopedWorkDir dir;
  CopyArtTo(dir.Path());
  const FrameTimings t = TimeFrames({}, 15, StartState::FullWater);
  ASSERT_EQ(t.frame.size(), 15u);
  EXPECT_EQ(t.water_step_passes, (std::vector<int>{1, 8, 15}));
  for (size_t i = 0; i < t.frame.size(); ++i) {
    EXPECT_GE(t.draw[i], t.left_view[i] + t.right_view[i]);
    EXPECT_GE(t.frame[i], t.update[i] + t.draw[i]);
  }
  EXPECT_NE(FormatTimings(t).find("bench: water step median"), std::string::npos);
}
