// The flip's pacing: late wake-ups made up, stalls starting the grid afresh, and real and
// claimed vertical sync.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/sdl/flip_pacer.h"

namespace {

constexpr double kRefresh = 1.0 / 60;

// Runs frames through the pacer on a pretend clock. Each frame costs `work` seconds, the sleep
// to the deadline wakes `oversleep` late, and presenting takes `present` seconds (or, with a
// retrace period, blocks to the next retrace). Returns the hand-over times.
struct PretendDisplay {
  double work = 0.002, oversleep = 0.0002, present = 0.0003;
  double retrace = 0;               // > 0: presenting blocks until the next multiple of this
  double stall_at = -1, stall = 0;  // one frame's work takes `stall` more, at that frame
};

std::vector<double> RunFrames(FlipPacer& pacer, const PretendDisplay& display, int frames) {
  std::vector<double> handed;
  double now = 0;
  for (int frame = 0; frame < frames; ++frame) {
    now += display.work + (frame == display.stall_at ? display.stall : 0);
    if (pacer.Deadline() > now) now = pacer.Deadline() + display.oversleep;
    const double handed_over = now;
    if (display.retrace > 0) {
      now = std::ceil(now / display.retrace) * display.retrace;
    } else {
      now += display.present;
    }
    pacer.Flipped(handed_over, now);
    handed.push_back(display.retrace > 0 ? now : handed_over);
  }
  return handed;
}

std::vector<double> Intervals(const std::vector<double>& times) {
  std::vector<double> out;
  for (size_t i = 1; i < times.size(); ++i)
    out.push_back(times[i] - times[i - 1]);
  return out;
}

}  // namespace

TEST(FlipPacerTest, WithoutSyncLateWakeUpsDoNotSlowThePace) {
  FlipPacer pacer(kRefresh, false);
  PretendDisplay display;
  display.oversleep = 0.0004;
  const std::vector<double> times = RunFrames(pacer, display, 601);
  // 600 refreshes in ten seconds, as the display's own clock would give.
  EXPECT_NEAR(times.back() - times.front(), 600 * kRefresh, 0.001);
  for (double interval : Intervals(times))
    EXPECT_NEAR(interval, kRefresh, 0.0005);
}

TEST(FlipPacerTest, AStallRestartsTheGridInsteadOfRushingFramesOut) {
  FlipPacer pacer(kRefresh, false);
  PretendDisplay display;
  display.stall_at = 100;
  display.stall = 0.2;  // a window dragged, a machine busy for twelve frames
  const std::vector<double> intervals = Intervals(RunFrames(pacer, display, 200));
  for (double interval : intervals)
    EXPECT_GE(interval, kRefresh * 0.75 - 1e-9);
  EXPECT_GT(*std::max_element(intervals.begin(), intervals.end()), 0.2);
  EXPECT_NEAR(intervals.back(), kRefresh, 0.0005);
}

TEST(FlipPacerTest, WakeUpsLateByMillisecondsOnABusyMachineKeepTheAverage) {
  FlipPacer pacer(kRefresh, false);
  PretendDisplay display;
  display.oversleep = 0.003;
  const std::vector<double> times = RunFrames(pacer, display, 601);
  EXPECT_NEAR(times.back() - times.front(), 600 * kRefresh, 0.004);
}

TEST(FlipPacerTest, RealSyncIsNeverMissedEvenOnADisplayFasterThanItSays) {
  // The display says 60 hertz and runs at 60.3: the wait must still end before each retrace,
  // or every frame would cost two.
  for (double retrace : {kRefresh, 1.0 / 60.3, 1.0 / 59.9}) {
    FlipPacer pacer(kRefresh, true);
    PretendDisplay display;
    display.retrace = retrace;
    display.oversleep = 0.0005;
    const std::vector<double> intervals = Intervals(RunFrames(pacer, display, 300));
    for (size_t i = 2; i < intervals.size(); ++i)
      EXPECT_NEAR(intervals[i], retrace, 1e-6) << "frame " << i << " at " << 1 / retrace;
  }
}

TEST(FlipPacerTest, SyncThatOnlyClaimsToWaitIsPacedByTheGrid) {
  // Claims to wait for the retrace, and returns at once, or after drawing slowly on the
  // processor: neither may speed the game up nor slow it down.
  for (double present : {0.0003, 0.0047}) {
    FlipPacer pacer(kRefresh, true);
    PretendDisplay display;
    display.present = present;
    const std::vector<double> times = RunFrames(pacer, display, 601);
    EXPECT_NEAR(times.back() - times.front(), 600 * kRefresh, 0.002) << present;
    for (double interval : Intervals(times))
      EXPECT_GE(interval, kRefresh - 0.0001);
  }
}

namespace {

// A minute of passes on a pretend display of `hertz`, the pacer set up as the window sets it up:
// each pass costs 2 ms, a sleep wakes 0.3 ms late, and a present with sync on blocks until the
// display's next retrace. `reported` is the rate the system tells (0: unknown). `jump_at` moves
// the clock by `jump` seconds at that pass (a suspended machine, a clock set back); the passes
// of the minute after the jump are counted then. Returns the passes and the longest wait.
struct Minute {
  int passes = 0;
  double longest_gap = 0, shortest_gap = 1;
};

Minute PlayAMinute(double hertz, int reported, bool display_has_sync, int jump_at = -1,
                   double jump = 0) {
  FlipPacer pacer(kRefresh, false);
  pacer.SetDisplayHertz(reported);
  const bool vsync = display_has_sync && pacer.WantsVsync();
  pacer.SetDisplayPaces(vsync);
  Minute minute;
  double now = 1000, start = now, last = -1;
  for (int pass = 0;; ++pass) {
    if (pass == jump_at) {
      now += jump;
      start = now;
      last = -1;
      minute.passes = 0;
    }
    now += 0.002;
    const double deadline = pacer.Deadline(now);
    if (deadline > now) now = deadline + 0.0003;
    if (now - start >= 60) break;
    const double handed_over = now;
    if (last >= 0) {
      minute.longest_gap = std::max(minute.longest_gap, handed_over - last);
      minute.shortest_gap = std::min(minute.shortest_gap, handed_over - last);
    }
    last = handed_over;
    ++minute.passes;
    now = vsync ? std::floor(now * hertz + 1) / hertz : now + 0.0003;
    pacer.Flipped(handed_over, now);
  }
  return minute;
}

}  // namespace

TEST(FlipPacerTest, SixtyPassesASecondAtEveryRefreshRate) {
  for (int hertz : {50, 60, 75, 120, 144, 165, 240}) {
    for (bool sync : {true, false}) {
      const Minute minute = PlayAMinute(hertz, hertz, sync);
      EXPECT_NEAR(minute.passes, 3600, 1) << hertz << " Hz, sync " << sync;
    }
  }
  // No sync and no rate known: a virtual display, the window surface.
  EXPECT_NEAR(PlayAMinute(60, 0, false).passes, 3600, 1);
  // A 59.94 hertz display reports 59: with its sync the flips follow its retraces, within a
  // few passes a minute; without, the game's own grid holds.
  EXPECT_NEAR(PlayAMinute(59.94, 59, true).passes, 3596, 1);
  EXPECT_NEAR(PlayAMinute(59.94, 59, false).passes, 3600, 1);
}

TEST(FlipPacerTest, ADisplayReportingAnAbsurdRateStillGivesSixty) {
  // Reports 0 (unknown), 1 or 1000 hertz, and really runs at 60, 1 or 1000.
  EXPECT_NEAR(PlayAMinute(60, 0, true).passes, 3600, 1);
  EXPECT_NEAR(PlayAMinute(1, 1, true).passes, 3600, 1);
  EXPECT_NEAR(PlayAMinute(1000, 1000, true).passes, 3600, 1);
}

TEST(FlipPacerTest, AClockJumpNeitherRacesNorFreezes) {
  for (double jump : {300.0, -300.0, -0.5}) {
    const Minute minute = PlayAMinute(60, 0, false, 600, jump);
    EXPECT_NEAR(minute.passes, 3600, 2) << jump;
    EXPECT_LE(minute.longest_gap, 2 * kRefresh) << jump;
    EXPECT_GE(minute.shortest_gap, 0.75 * kRefresh - 1e-9) << jump;
  }
}
