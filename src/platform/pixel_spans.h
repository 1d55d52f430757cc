// Row kernels of the drawing layer: each works on one contiguous run of back-buffer pixels
// (0x00RRGGBB) and, where it has one, a run of ARGB texels of the same length. SSE2 carries
// them where the compiler offers it; the plain loops give exactly the same pixels.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The per-pixel blend the kernels share, for the paths that tint first.
inline uint32_t BlendPixel(uint32_t rgb, uint32_t dest, uint32_t a) {
  const uint32_t keep = 256 - a;
  const uint32_t rb = (((rgb & 0xFF00FF) * a + (dest & 0xFF00FF) * keep) >> 8) & 0xFF00FF;
  const uint32_t g = (((rgb & 0x00FF00) * a + (dest & 0x00FF00) * keep) >> 8) & 0x00FF00;
  return rb | g;
}

inline uint32_t TexelBlendWeight(uint32_t texel, uint32_t alpha256) {
  return ((texel >> 24) * alpha256 + 127) / 255;
}

// The kernels:
// FillSpan: every pixel becomes the colour.
// BlendSpanConstant: every pixel becomes colour * a + pixel * (1 - a), a in 256ths (0..256),
//   per channel truncated: (c * a + p * (256 - a)) >> 8.
// CopySpanOpaque: texels copied without their alpha.
// CopySpanMasked: texels whose alpha is at least 128 copied without their alpha; the others
//   leave the pixel.
// BlendSpanTexels: each texel blended by its own alpha times the current alpha (alpha256 in
//   256ths): a = (texel alpha * alpha256 + 127) / 255, then as BlendSpanConstant.
// They are inline because a tile row is only 16 pixels: a call per row would cost as much as
// the row itself.

constexpr uint32_t kSpanRgbMask = 0xFFFFFF;

#if defined(__SSE2__)
inline __m128i SpanLoad(const uint32_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void SpanStore(uint32_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// Two pixels' channels in 16-bit lanes, blended by per-pixel weights already spread over
// their four lanes. Every product and sum stays below 65536, so 16-bit lanes are exact.
inline __m128i SpanBlendHalf(__m128i source, __m128i dest, __m128i a) {
  const __m128i keep = _mm_sub_epi16(_mm_set1_epi16(256), a);
  const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(source, a), _mm_mullo_epi16(dest, keep));
  return _mm_srli_epi16(sum, 8);
}

// Four pixels blended by four 32-bit weights.
inline __m128i SpanBlendQuad(__m128i source, __m128i dest, __m128i weights) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i spreadLo = _mm_unpacklo_epi32(weights, weights);
  const __m128i spreadHi = _mm_unpackhi_epi32(weights, weights);
  const __m128i aLo = _mm_or_si128(spreadLo, _mm_slli_epi32(spreadLo, 16));
  const __m128i aHi = _mm_or_si128(spreadHi, _mm_slli_epi32(spreadHi, 16));
  const __m128i lo =
      SpanBlendHalf(_mm_unpacklo_epi8(source, zero), _mm_unpacklo_epi8(dest, zero), aLo);
  const __m128i hi =
      SpanBlendHalf(_mm_unpackhi_epi8(source, zero), _mm_unpackhi_epi8(dest, zero), aHi);
  return _mm_and_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(kSpanRgbMask));
}

// (x + 1 + (x >> 8)) >> 8 equals x / 255 for every x the weights can reach (below 65408).
inline __m128i SpanTexelWeights(__m128i texels, __m128i alpha256) {
  const __m128i product = _mm_mullo_epi16(_mm_srli_epi32(texels, 24), alpha256);
  const __m128i x = _mm_add_epi32(product, _mm_set1_epi32(127));
  const __m128i q = _mm_add_epi32(_mm_add_epi32(x, _mm_set1_epi32(1)), _mm_srli_epi32(x, 8));
  return _mm_srli_epi32(q, 8);
}
#endif

inline void FillSpan(uint32_t* dest, int count, uint32_t rgb) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i colour = _mm_set1_epi32(static_cast<int>(rgb));
  for (; i + 4 <= count; i += 4)
    SpanStore(dest + i, colour);
#endif
  for (; i < count; ++i)
    dest[i] = rgb;
}

inline void BlendSpanConstant(uint32_t* dest, int count, uint32_t rgb, uint32_t a) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i colour = _mm_set1_epi32(static_cast<int>(rgb));
  const __m128i weights = _mm_set1_epi32(static_cast<int>(a));
  for (; i + 4 <= count; i += 4)
    SpanStore(dest + i, SpanBlendQuad(colour, SpanLoad(dest + i), weights));
#endif
  for (; i < count; ++i)
    dest[i] = BlendPixel(rgb, dest[i], a);
}

inline void CopySpanOpaque(const uint32_t* source, uint32_t* dest, int count) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i mask = _mm_set1_epi32(kSpanRgbMask);
  for (; i + 4 <= count; i += 4)
    SpanStore(dest + i, _mm_and_si128(SpanLoad(source + i), mask));
#endif
  for (; i < count; ++i)
    dest[i] = source[i] & kSpanRgbMask;
}

inline void CopySpanMasked(const uint32_t* source, uint32_t* dest, int count) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i mask = _mm_set1_epi32(kSpanRgbMask);
  for (; i + 4 <= count; i += 4) {
    const __m128i texels = SpanLoad(source + i);
    const __m128i drawn = _mm_srai_epi32(texels, 31);  // all ones where alpha >= 128
    const __m128i colour = _mm_and_si128(_mm_and_si128(texels, mask), drawn);
    SpanStore(dest + i, _mm_or_si128(colour, _mm_andnot_si128(drawn, SpanLoad(dest + i))));
  }
#endif
  for (; i < count; ++i) {
    if (source[i] >= 0x80000000u) dest[i] = source[i] & kSpanRgbMask;
  }
}

inline void BlendSpanTexels(const uint32_t* source, uint32_t* dest, int count, uint32_t alpha256) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(alpha256));
  for (; i + 4 <= count; i += 4) {
    const __m128i texels = SpanLoad(source + i);
    SpanStore(dest + i, SpanBlendQuad(texels, SpanLoad(dest + i), SpanTexelWeights(texels, alpha)));
  }
#endif
  for (; i < count; ++i) {
    dest[i] = BlendPixel(source[i] & kSpanRgbMask, dest[i], TexelBlendWeight(source[i], alpha256));
  }
}
