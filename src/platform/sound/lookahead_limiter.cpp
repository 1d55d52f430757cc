#include "platform/sound/lookahead_limiter.h"

#include <algorithm>
#include <cmath>

namespace {
// The gain climbs back towards 1 by this share of the way each sample: about 60 ms at 48 kHz.
constexpr float kRelease = 0.00035f;
constexpr float kInaudible = 1e-6f;
constexpr int kWindow = LookaheadLimiter::kLookahead + LookaheadLimiter::kHold + 1;
}  // namespace

void LookaheadLimiter::Process(float& left, float& right) {
  const float peak = std::max(std::fabs(left), std::fabs(right));
  const float need = peak > Ceiling ? Ceiling / peak : 1.0f;

  // The smallest gain any frame of the look-ahead and the hold needs, older frames forgotten.
  while (MinimaCount > 0 && Minima[MinimaFirst] < Frame - (kWindow - 1)) {
    MinimaFirst = (MinimaFirst + 1) % kWindow;
    --MinimaCount;
  }
  while (MinimaCount > 0 &&
         Needed[Minima[(MinimaFirst + MinimaCount - 1) % kWindow] % kWindow] >= need) {
    --MinimaCount;
  }
  Needed[Frame % kWindow] = need;
  Minima[(MinimaFirst + MinimaCount) % kWindow] = Frame;
  ++MinimaCount;
  const float least = Needed[Minima[MinimaFirst] % kWindow];

  // Down at once to what the window needs, back up slowly; then averaged over the look-ahead,
  // so the frame that needs the lowest gain comes out of the delay just as the average gets
  // there.
  Released = std::min(least, Released + (1.0f - Released) * kRelease);
  if (least == 1.0f && 1.0f - Released < kInaudible) Released = 1.0f;
  const int slot = static_cast<int>(Frame % kLookahead);
  if (Smoothed[slot] < 1.0f) --Reduced;
  Sum += static_cast<double>(Released) - Smoothed[slot];
  Smoothed[slot] = Released;
  if (Released < 1.0f) ++Reduced;
  GainNow = Reduced == 0 ? 1.0f : std::min(1.0f, static_cast<float>(Sum / kLookahead));

  const float out_left = Delay[2 * slot], out_right = Delay[2 * slot + 1];
  if (out_left != 0.0f || out_right != 0.0f) --Held;
  Delay[2 * slot] = left;
  Delay[2 * slot + 1] = right;
  if (left != 0.0f || right != 0.0f) ++Held;
  ++Frame;

  const float scaled = std::max(std::fabs(out_left), std::fabs(out_right));
  Step = std::max(Step, std::fabs(GainNow - LastGain) * scaled);
  LastGain = GainNow;
  Lowest = std::min(Lowest, GainNow);
  if (GainNow < 1.0f) ++Limited;
  left = out_left * GainNow;
  right = out_right * GainNow;
}
