// The frame clock: the millisecond clocks around the update, the drawing and the whole frame,
// their averages every seventh frame, and the read-out drawn over the instructions panel.
#include "frame/clock.h"

#include "frame/main_program.h"
#include "platform/platform.h"
#include "platform/render/draw.h"

int64_t ClockStart[kClockCount], ClockStop[kClockCount], ClockSum[kClockCount];
int32_t ClockAverage[kClockCount];

int TClock::FResetTables() {
  for (int i = 0; i < kClockCount; ++i)
    ClockStart[i] = ClockStop[i] = ClockSum[i] = ClockAverage[i] = 0;
  return 0;
}

int TClock::FRestartSums() {
  for (int clock = 0; clock < kClockCount; ++clock)
    ClockSum[clock] = 0;
  return 0;
}

int TClock::FStartClock(uint8_t clock) {
  if (clock < kClockCount) ClockStart[clock] = ClockMillis();
  return 0;
}

int TClock::FEndClock(uint8_t clock) {
  if (clock >= kClockCount) return 0;
  ClockStop[clock] = ClockMillis();
  ClockSum[clock] += ClockStop[clock] - ClockStart[clock];
  return 0;
}

int TClock::FAverage() {
  if (FrameTick != 0) return 0;
  // The divisor is 7 even for the first average, which covers a single frame.
  for (int clock = 0; clock < kClockCount; ++clock) {
    ClockAverage[clock] = static_cast<int32_t>(static_cast<double>(ClockSum[clock]) / 7.0 * 1000.0);
    ClockSum[clock] = 0;
  }
  return 0;
}

int TClock::FDraw() {
  SetDrawScale(1, 1);
  SetColor(255, 155, 100);
  DrawStatLine(" Phys", ClockAverage[kClockPhysics], 100, 24);
  DrawStatLine(" Draw", ClockAverage[kClockDraw], 200, 24);
  DrawStatLine(" All ", ClockAverage[kClockFrame], 300, 24);
  return 0;
}

int TClock::FDelay() {
  const int ms = ClockAverage[kClockFrame] / 1000;
  SleepMillis(15 - ms > 0 ? 15 - ms : 0);
  return 0;
}
