// The flip's pacing grid: the deadline of the next frame, moved on by each flip.
#include "platform/sdl/flip_pacer.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Under real sync the wait ends this long before the retrace it aims at, so a display a little
// faster than it reports, or a sleep that wakes late, never costs a whole refresh.
constexpr double kRetraceMargin = 0.002;
// A present that returns sooner than this did not wait for a retrace, whatever the renderer
// claims.
constexpr double kBlockedAtLeast = 0.0005;
// Without sync, a flip handed over later than its deadline by more than this share of a refresh
// moves the grid. Up to it, lateness is made up in the next frame, so the pace does not drift
// even when a busy machine wakes the game a few milliseconds late from every sleep; and two
// flips are never closer than the rest of a refresh.
constexpr double kWakeSlackShare = 0.25;

}  // namespace

void FlipPacer::SetRefresh(double seconds) {
  if (seconds > 0) Refresh = seconds;
}

void FlipPacer::SetDisplayHertz(int hertz) {
  // Reported rates are whole numbers: 59 for a 59.94 hertz display, whose retraces the flips
  // then follow.
  FollowsRetraces = hertz <= 0 || std::abs(hertz - kPassesPerSecond) <= 1;
  Vsync = FollowsRetraces || hertz > kPassesPerSecond;
  if (!FollowsRetraces) DisplayPaces = false;
  SetRefresh(1.0 / kPassesPerSecond);
}

double FlipPacer::Deadline(double now) {
  if (Next > now + 2 * Refresh) Next = now + Refresh;
  return Next;
}

void FlipPacer::Flipped(double handed_over, double returned) {
  // The grid: one refresh after the last deadline, or after a hand-over that came too late.
  const double grid = Next < 0
                          ? handed_over + Refresh
                          : std::max(Next + Refresh, handed_over + Refresh * (1 - kWakeSlackShare));
  // A present that waited returned at a retrace, and the next one lies a refresh later: the
  // wait must end before it even on a display a little faster than it reports. A present that
  // is only slow (a renderer drawing on the processor) is no earlier than the grid and changes
  // nothing.
  const bool waited = DisplayPaces && returned - handed_over >= kBlockedAtLeast;
  Next = waited ? std::min(grid, returned + Refresh - kRetraceMargin) : grid;
}
