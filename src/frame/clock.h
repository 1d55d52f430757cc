// Frame clock and profiler: three millisecond clocks averaged every seventh frame.
#pragma once

#include <cstdint>

extern int64_t ClockStart[3], ClockStop[3], ClockSum[3];
extern int32_t ClockAverage[3];

class TClock {
 public:
  static int FStartClock(uint8_t clock);
  static int FEndClock(uint8_t clock);
  static int FAverage();
  static int FDraw();
  static int FDelay();
};
