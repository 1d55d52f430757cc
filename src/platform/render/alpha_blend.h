// The alpha blend (blend mode 3): result = source * a + destination * (1 - a) per channel,
// worked in double precision and truncated toward zero, a being the texel's alpha (0..1) times
// the current alpha. 8-bit weights (0.7 as 179/256) miss that by one in thousands of the
// source/destination pairs, so the blend reads a table of exact results per alpha instead.
#pragma once

#include <cstdint>

// One channel by the rule itself; every faster path must agree with it.
inline uint32_t BlendChannelExact(uint32_t source, uint32_t dest, double a) {
  return static_cast<uint32_t>(static_cast<double>(source) * a +
                               static_cast<double>(dest) * (1.0 - a));
}

// The 65,536 results of one alpha, indexed [source << 8 | destination]. Made on the first draw
// with that alpha and kept (the game blends with one alpha only); the pointer stays good until
// more than a few other alphas have been asked for since.
const uint8_t* BlendTableFor(double alpha);

inline uint32_t BlendPixelByTable(uint32_t source, uint32_t dest, const uint8_t* table) {
  const uint32_t r = table[((source >> 8) & 0xFF00) | ((dest >> 16) & 0xFF)];
  const uint32_t g = table[(source & 0xFF00) | ((dest >> 8) & 0xFF)];
  const uint32_t b = table[((source << 8) & 0xFF00) | (dest & 0xFF)];
  return (r << 16) | (g << 8) | b;
}

// A texel whose own alpha lies between 0 and 255 (only 32-bit art has those): its weight is
// worked out for the pixel alone.
inline uint32_t BlendPixelPartial(uint32_t source, uint32_t dest, double a) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    out |= BlendChannelExact((source >> shift) & 0xFF, (dest >> shift) & 0xFF, a) << shift;
  }
  return out;
}

// A run of texels (ARGB) blended over a run of pixels at the current alpha, whose table is given.
// A texel of alpha 0 leaves the pixel as it is (d * 1.0 is d), one of 255 takes the table.
inline void BlendSpanExact(const uint32_t* source, uint32_t* dest, int count, double alpha,
                           const uint8_t* table) {
  for (int i = 0; i < count; ++i) {
    const uint32_t texelAlpha = source[i] >> 24;
    if (texelAlpha == 255) {
      dest[i] = BlendPixelByTable(source[i], dest[i], table);
    } else if (texelAlpha != 0) {
      dest[i] = BlendPixelPartial(source[i], dest[i], texelAlpha / 255.0 * alpha);
    }
  }
}
