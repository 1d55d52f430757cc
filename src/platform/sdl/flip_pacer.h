// When each frame may be handed to the display: on a grid of refresh periods, so that the late
// wake-up of a sleep is made up in the next frame and the frame rate never drifts below the
// display's. Where there is no sync at all (a virtual display, the window surface) the grid is
// the whole pace. Where the display's vertical sync is real, a present that waited for a retrace
// pulls the deadline in to just before the next one, so the grid never costs a retrace; where
// the sync only claims to be real, the grid keeps the game from running ahead. A frame that is
// really late (a stall, a window coming back from the task bar) starts the grid afresh instead
// of rushing out the missed frames.
#pragma once

class FlipPacer {
 public:
  // display_paces: presenting blocks until the display's retrace (as far as anyone can tell).
  FlipPacer(double refresh_seconds, bool display_paces)
      : Refresh(refresh_seconds), DisplayPaces(display_paces) {}

  void SetDisplayPaces(bool display_paces) { DisplayPaces = display_paces; }
  void SetRefresh(double seconds);
  double RefreshSeconds() const { return Refresh; }

  // The moment (seconds, any fixed origin) before which the next flip is not handed over; a
  // negative value means at once.
  double Deadline() const { return Next; }

  // A flip was handed over at handed_over and the display took it at returned.
  void Flipped(double handed_over, double returned);

 private:
  double Refresh;
  bool DisplayPaces;
  double Next = -1;
};
