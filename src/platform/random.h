// The game's seedable random generator (Park and Miller, multiplier 48271).
// There is one generator for everything: the bad guys' minds, the water's spreading and the
// painting styles all draw from it, on purpose. Every draw moves the others' sequence, so a
// replay is the same only when every draw happens in the same order: never add a draw, or a
// second generator, without expecting every recorded trace to change.
#pragma once

#include <cstdint>

extern int32_t RandomSeedState;  // 4660 before any seeding

void SeedRandom(int32_t n);
// One generator step; returns the new seed.
int32_t RandomStep();
// A unit value in [0, 1); consumes exactly two steps.
double RandomUnit();
// A value in the half-open interval from the smaller to the larger of a and b.
double RandomRange(double a, double b);

// A chance a unit value is compared with, as a whole multiple of 2^-53. Every unit value is
// one: its first step gives 27 bits (the low two cleared) above the second's 26 (the low three
// cleared), (hi * 2^24 + lo / 8) / 2^53 exactly, so the comparison can be made on those bits.
struct UnitChance {
  uint64_t scaled;  // the chance times 2^53
};
// Refuses, when compiling, a chance that is not such a multiple in [0, 1]: any float or double
// constant the game uses above 2^-30 is.
consteval UnitChance Chance(double chance) {
  const double scaled = chance * 9007199254740992.0;  // 2^53
  if (!(chance >= 0.0 && chance <= 1.0) ||
      scaled != static_cast<double>(static_cast<uint64_t>(scaled))) {
    throw "a chance must be a whole multiple of 2^-53 between 0 and 1";
  }
  return UnitChance{static_cast<uint64_t>(scaled)};
}
// RandomUnit() < chance, the same answer from the same two steps, in whole numbers: the many
// draws of the water and the bad guys' minds that only ask this skip the doubles.
inline bool RandomUnitBelow(UnitChance chance) {
  const auto hi = static_cast<uint64_t>(RandomStep() & 0x1FFFFFFC);
  const auto lo = static_cast<uint64_t>(RandomStep() & 0x1FFFFFF8);
  return (hi << 24) + (lo >> 3) < chance.scaled;
}
