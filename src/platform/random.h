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
