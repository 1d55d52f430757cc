// The game's seedable random generator (Park and Miller, multiplier 48271, Schrage's method).
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
