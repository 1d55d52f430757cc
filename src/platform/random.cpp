// The game's one random generator: Park and Miller's minimal standard (multiplier 48271),
// stepped with Schrage's method, and the unit and range draws built on two steps.
#include "platform/random.h"

int32_t RandomSeedState = 4660;

void SeedRandom(int32_t n) {
  int32_t seed = n & 0x7FFFFFFF;
  if (seed == 0 || seed == 0x7FFFFFFF) seed = 4660;
  RandomSeedState = seed;
}

int32_t RandomStep() {
  // Schrage's method: no intermediate leaves 32 bits.
  int32_t seed = (RandomSeedState % 44488) * 48271 - (RandomSeedState / 44488) * 3399;
  if (seed < 0) seed += 0x7FFFFFFF;
  RandomSeedState = seed;
  return seed;
}

double RandomUnit() {
  const double hi = static_cast<double>(RandomStep() & 0x1FFFFFFC);
  const double lo = static_cast<double>(RandomStep() & 0x1FFFFFF8);
  return (hi + lo / 134217728.0) / 536870912.0;
}

double RandomRange(double a, double b) {
  const double u = RandomUnit();
  if (b > a) return a + (b - a) * u;
  return b + (a - b) * u;
}
