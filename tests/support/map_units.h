// The world's units as the tests write positions: one map cell is 16 pixels of 65536 units.
// Kept as literals here rather than taken from the game, so a change of the game's units shows.
#pragma once

#include <cstdint>

constexpr int64_t kPixel = 65536;
constexpr int64_t kCell = 16 * kPixel;
