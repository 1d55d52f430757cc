// Frame clock and profiler: three millisecond clocks averaged every seventh frame.
#pragma once

#include <cstdint>

// The clocks: the update (" Phys" on screen), the drawing, and the whole frame around both.
enum FrameClock : uint8_t { kClockPhysics = 0, kClockDraw = 1, kClockFrame = 2 };
constexpr int kClockCount = 3;

extern int64_t ClockStart[kClockCount], ClockStop[kClockCount], ClockSum[kClockCount];
extern int32_t ClockAverage[kClockCount];

class TClock {
 public:
  static int FStartClock(uint8_t clock);
  static int FEndClock(uint8_t clock);
  static int FAverage();
  static int FDraw();
  static int FDelay();
};
