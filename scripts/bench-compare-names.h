// Names the measuring code of tools/sim uses that older revisions of the game do not have yet,
// with the values those revisions wrote as bare numbers. scripts/bench-compare.sh force-includes
// this header only when a base revision does not build with the current measuring code alone.
#pragma once

enum BenchCompareFrameClock { kClockPhysics = 0, kClockDraw = 1, kClockFrame = 2 };
constexpr int kPlayerProfile = 0;
constexpr int kBadguyList = 1;

#include <cstdint>

// The finished pixels for reading, before the drawing layer held any drawing back.
uint32_t* BackBuffer();
inline const uint32_t* FinishedBackBuffer() {
  return BackBuffer();
}
