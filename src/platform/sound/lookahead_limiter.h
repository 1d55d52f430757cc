// The mix's last guard: a limiter that sees a few milliseconds ahead. The sound is delayed by
// that much; the gain each peak needs is known before the peak comes out, and the gain glides
// down to it across the whole look-ahead instead of dropping within a sample, then climbs back
// slowly. No peak passes the ceiling, and the gain never moves fast enough to click.
#pragma once

#include <array>
#include <cstdint>

class LookaheadLimiter {
 public:
  // About 4 ms at 48 kHz: the delay, and the length of the gain's glide down.
  static constexpr int kLookahead = 192;
  // After a peak the gain holds for 20 ms before it climbs back, so it does not rise and fall
  // within each period of a low tone (which would bend the wave and give it an offset).
  static constexpr int kHold = 960;

  explicit LookaheadLimiter(float ceiling) : Ceiling(ceiling) { Smoothed.fill(1.0f); }

  // One stereo frame in, the frame of kLookahead frames ago out, limited.
  void Process(float& left, float& right);

  // Nothing held in the delay and the gain back at 1: silence in gives exact silence out.
  bool Settled() const { return Held == 0 && Reduced == 0; }
  float Gain() const { return GainNow; }

  // What the limiter did since made: its lowest gain, and the largest change it made to any
  // sample from one to the next (the gain's step times the sample it scales).
  float LowestGain() const { return Lowest; }
  float LargestStep() const { return Step; }
  int64_t LimitedFrames() const { return Limited; }

 private:
  float Ceiling;
  // The delayed frames and the gains each frame needs, by position in a ring.
  std::array<float, 2 * kLookahead> Delay{};
  std::array<float, kLookahead + kHold + 1> Needed{};
  std::array<float, kLookahead> Smoothed{};
  // The positions of the window's smallest needed gains, in order (a sliding minimum).
  std::array<int64_t, kLookahead + kHold + 1> Minima{};
  int MinimaFirst = 0, MinimaCount = 0;
  int64_t Frame = 0;
  int Held = 0;     // delayed frames that are not silence
  int Reduced = 0;  // smoothed gains under 1
  float Released = 1;
  double Sum = kLookahead;  // of Smoothed
  float GainNow = 1, LastGain = 1;
  float Lowest = 1, Step = 0;
  int64_t Limited = 0;
};
