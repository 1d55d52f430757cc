// A high-pass at a few tens of hertz that takes the offset out of the mix: pulse waves of a
// narrow duty sit mostly on one side of zero, and a crowd of them pushes the whole mix off
// centre, where it eats the limiter's room and thumps when it stops.
#pragma once

class DcBlocker {
 public:
  explicit DcBlocker(double cutoff_hz = 20.0);

  float Filter(float in);
  // Nothing in, nothing left ringing: the next silent input gives an exact zero.
  bool Settled() const { return Out == 0.0f && In == 0.0f; }

 private:
  float Pole;
  float In = 0, Out = 0;
};
