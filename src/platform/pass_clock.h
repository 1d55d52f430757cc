// The game's passes timed by its own clock, for a program that is called once per display
// refresh (the web page): each call says how many passes are due, so the game runs 60 passes a
// second whatever the refresh rate. A call up to a quarter of a pass early runs its pass, so
// the jitter of a 60 hertz display's callbacks never skips one; a call far behind (a stall, a
// machine woken from sleep) catches up a few passes, then takes the clock as it is; a clock
// that went back starts afresh.
#pragma once

class PassClock {
 public:
  static constexpr int kCatchUpAtMost = 3;

  explicit PassClock(double pass_millis = 1000.0 / 60) : Period(pass_millis) {}

  // The passes to run at `now_millis` (any fixed origin): 0 to kCatchUpAtMost.
  int Due(double now_millis);
  // Forgets the past: the next call runs one pass (after a pause, a hidden page).
  void Restart() { Started = false; }

 private:
  double Period;
  double Next = 0;  // when the next pass is due
  bool Started = false;
};
