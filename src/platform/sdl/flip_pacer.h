// When each frame may be handed to the display: on a grid of pass periods, so that the late
// wake-up of a sleep is made up in the next frame and the pace never drifts. The game's passes
// are timed by its own clock, 60 a second, whatever the display's refresh rate: on a display of
// about 60 hertz each pass is one refresh; on a faster one a pass stays on screen for several
// refreshes; on a slower one some passes are never shown.
//
// Where there is no sync at all (a virtual display, the window surface) the grid is the whole
// pace. Where a display of about 60 hertz has a real vertical sync, a present that waited for a
// retrace pulls the deadline in to just before the next one, so the grid never costs a
// retrace; where the sync only claims to be real, the grid keeps the game from running ahead.
// A frame that is really late (a stall, a window coming back from the task bar, a suspended
// machine) starts the grid afresh instead of rushing out the missed frames, and a clock that
// went back never leaves the game waiting more than a pass.
#pragma once

// The game's own pass rate.
constexpr int kPassesPerSecond = 60;

class FlipPacer {
 public:
  // display_paces: presenting blocks until the display's retrace (as far as anyone can tell).
  FlipPacer(double refresh_seconds, bool display_paces)
      : Refresh(refresh_seconds), DisplayPaces(display_paces) {}

  // The display's refresh rate as the system reports it (0: unknown). About 60 hertz, or
  // unknown, the flips follow the display's retraces as they always have; faster, the present
  // still waits for a retrace (never as long as a pass) but the pace is the pass grid's; slower,
  // nothing waits for the display, which would hold the game to its rate.
  void SetDisplayHertz(int hertz);
  // Whether presenting should wait for the display's retrace.
  bool WantsVsync() const { return Vsync; }

  void SetDisplayPaces(bool display_paces) { DisplayPaces = display_paces && FollowsRetraces; }
  void SetRefresh(double seconds);
  double RefreshSeconds() const { return Refresh; }

  // The moment (seconds, any fixed origin) before which the next flip is not handed over; a
  // negative value means at once. A deadline more than two passes after `now` (the clock was
  // set back) is taken as one pass from now.
  double Deadline(double now);
  double Deadline() const { return Next; }

  // A flip was handed over at handed_over and the display took it at returned.
  void Flipped(double handed_over, double returned);

 private:
  double Refresh;
  bool DisplayPaces;
  bool FollowsRetraces = true;
  bool Vsync = true;
  double Next = -1;
};
