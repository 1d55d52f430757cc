#include "platform/sound/dc_blocker.h"

#include <cmath>
#include <numbers>

#include "platform/sound/sound_recipe.h"

namespace {
// Below this the filter's tail is silence, so a quiet stretch is exact zeros.
constexpr float kInaudible = 1e-6f;
}  // namespace

DcBlocker::DcBlocker(double cutoff_hz)
    : Pole(static_cast<float>(std::exp(-2.0 * std::numbers::pi * cutoff_hz / kSoundRate))) {}

float DcBlocker::Filter(float in) {
  float out = in - In + Pole * Out;
  if (in == 0.0f && std::fabs(out) < kInaudible) out = 0.0f;
  In = in;
  Out = out;
  return out;
}
