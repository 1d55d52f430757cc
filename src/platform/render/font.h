// The built-in 8x16 font for the character codes 32..127.
#pragma once

#include <cstdint>

constexpr int kGlyphWidth = 8;
constexpr int kGlyphHeight = 16;

// Sixteen rows of one glyph, bit 7 the leftmost pixel; null outside 32..127.
const uint8_t* GlyphRows(int code);
