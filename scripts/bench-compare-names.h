// Names the measuring code of tools/sim uses that older revisions of the game do not have yet,
// with the values those revisions wrote as bare numbers. scripts/bench-compare.sh force-includes
// this header only when a base revision does not build with the current measuring code alone;
// the codes' names only for a base older than them too (BENCH_COMPARE_OLD_NAMES).
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef BENCH_COMPARE_OLD_NAMES
enum BenchCompareFrameClock { kClockPhysics = 0, kClockDraw = 1, kClockFrame = 2 };
constexpr int kPlayerProfile = 0;
constexpr int kBadguyList = 1;
#endif

// The game's own file size limit, which the runner's script reader shares.
constexpr size_t kMaxFileBytes = 64u << 20;

// The finished pixels for reading, before the drawing layer held any drawing back.
uint32_t* BackBuffer();
inline const uint32_t* FinishedBackBuffer() {
  return BackBuffer();
}
