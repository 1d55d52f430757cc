// The per-frame state trace: the actors, the cameras, hashes of the four map grids, the counts
// and the random seed, so two runs can be compared line by line and a change in behaviour shows
// at the first frame where it differs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint64_t kFnvOffsetBasis = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

uint64_t Fnv1a64(const uint8_t* data, size_t size);
// 16 lower-case hex digits.
std::string HashHex(uint64_t hash);

// A per-cell grid laid out as 4050 bytes, row 0..53 outer, column 0..74 inner.
constexpr size_t kGridBytes = 75 * 54;
void GridRowMajor(const uint8_t (&grid)[75][54], uint8_t* out);
// The block styles in the same layout, 255 where no block stands.
void BlockStylesRowMajor(uint8_t* out);

// All lines of one frame of the trace, each ending in LF (every field is listed in trace.cpp):
//   frame F / actor ... / camera ... / grid ... / count ... / seed S
// The player's actor line (index 0) is left out while the profile has no actor; a camera line
// while its view does not exist.
std::string TraceFrame(int frame);
