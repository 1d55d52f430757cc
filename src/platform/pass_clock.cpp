// Passes due by the game's clock: a grid of pass periods, early calls let in by a quarter.
#include "platform/pass_clock.h"

int PassClock::Due(double now) {
  if (!Started || now < Next - 2 * Period) {
    Started = true;
    Next = now;
  }
  const double early = Period / 4;
  int due = 0;
  while (due < kCatchUpAtMost && now >= Next - early) {
    ++due;
    Next += Period;
  }
  if (now >= Next - early) Next = now + Period;  // still behind: the clock is taken as it is
  return due;
}
