// Frame clock and profiler: three millisecond clocks averaged every seventh frame.
#pragma once

#include <cstdint>

// The clocks: the update (" Phys" on screen), the drawing, and the whole frame around both.
enum FrameClock : uint8_t { kClockPhysics = 0, kClockDraw = 1, kClockFrame = 2 };
constexpr int kClockCount = 3;

// Defined in frame/clock.cpp, all 0 after TClock::FResetTables.
extern int64_t ClockStart[kClockCount], ClockStop[kClockCount], ClockSum[kClockCount];
extern int32_t ClockAverage[kClockCount];

// All in frame/clock.cpp. A clock number outside the three is ignored.
class TClock {
 public:
  static int FResetTables();  // every start, stop, sum and average 0
  // The sums start afresh, the averages kept: the next average counts only what follows.
  static int FRestartSums();
  static int FStartClock(uint8_t clock);
  static int FEndClock(uint8_t clock);  // adds the time since the start to the clock's sum
  // On the first frame of every seven (FrameTick 0): each sum over 7, in microseconds, becomes
  // the clock's average, and the sums start again.
  static int FAverage();
  static int FDraw();  // the three averages over the instructions panel
  // Not called by the game: kept as part of TClock's interface.
  static int FDelay();  // sleeps whatever the last frame average leaves of 15 ms
};
