// The game's one random generator: Park and Miller's minimal standard (multiplier 48271), and
// the unit and range draws built on two steps.
#include "platform/random.h"

int32_t RandomSeedState = 4660;

void SeedRandom(int32_t n) {
  int32_t seed = n & 0x7FFFFFFF;
  if (seed == 0 || seed == 0x7FFFFFFF) seed = 4660;
  RandomSeedState = seed;
}

int32_t RandomStep() {
  // seed * 48271 mod (2^31 - 1) without a division: 2^31 is 1 modulo 2^31 - 1, so the
  // product's high bits fold onto its low 31. The seed stays within [1, 2^31 - 2] (SeedRandom
  // sees to that), so the product fits 47 bits and one fold and one subtraction suffice; the
  // result is what Schrage's method gave, bit for bit.
  constexpr uint64_t kModulus = 0x7FFFFFFF;
  const uint64_t product = static_cast<uint64_t>(static_cast<uint32_t>(RandomSeedState)) * 48271u;
  uint64_t seed = (product & kModulus) + (product >> 31);
  if (seed >= kModulus) seed -= kModulus;
  RandomSeedState = static_cast<int32_t>(seed);
  return RandomSeedState;
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
