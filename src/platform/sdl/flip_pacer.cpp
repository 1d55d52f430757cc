#include "platform/sdl/flip_pacer.h"

#include <algorithm>

namespace {

// Under real sync the wait ends this long before the retrace it aims at, so a display a little
// faster than it reports, or a sleep that wakes late, never costs a whole refresh.
constexpr double kRetraceMargin = 0.002;
// A present that returns sooner than this did not wait for a retrace (whatever the renderer
// claims): the grid keeps the pace for that flip.
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

void FlipPacer::Flipped(double handed_over, double returned) {
  // The present returned at a retrace: the next one lies a refresh later. Following the
  // retraces themselves, not a grid of our own, keeps in step with a display whose real rate
  // differs a little from the one it reports.
  if (DisplayPaces && returned - handed_over >= kBlockedAtLeast) {
    Next = returned + Refresh - kRetraceMargin;
    return;
  }
  if (Next < 0) {
    Next = handed_over + Refresh;
    return;
  }
  Next = std::max(Next + Refresh, handed_over + Refresh * (1 - kWakeSlackShare));
}
