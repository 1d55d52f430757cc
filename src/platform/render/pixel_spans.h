// Row kernels of the drawing layer: each works on one contiguous run of back-buffer pixels
// (0x00RRGGBB) and, where it has one, a run of ARGB texels of the same length. SSE2 carries
// them where the compiler offers it; the plain loops give exactly the same pixels.
#pragma once

#include <cstdint>

#include "platform/render/draw.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The kernels:
// FillSpan: every pixel becomes the colour.
// CopySpanOpaque: texels copied without their alpha; the two runs must not overlap.
// CopySpanMasked: texels whose alpha is at least 128 copied without their alpha; the others
//   leave the pixel.
// PaintSpanMasked: where a texel's alpha is at least 128 the pixel becomes the colour, the
//   others leave it (a glyph in the text colour).
// They are inline because a tile row is only 16 pixels: a call per row would cost as much as
// the row itself.

#if defined(__SSE2__)
inline __m128i SpanLoad(const uint32_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void SpanStore(uint32_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
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

inline void CopySpanOpaque(const uint32_t* source, uint32_t* dest, int count) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i mask = _mm_set1_epi32(kRgbMask);
  for (; i + 4 <= count; i += 4)
    SpanStore(dest + i, _mm_and_si128(SpanLoad(source + i), mask));
  // A tail of a longer run: its last four again, which writes the pixels before it once more
  // with the same values.
  if (i < count && count >= 4) {
    SpanStore(dest + count - 4, _mm_and_si128(SpanLoad(source + count - 4), mask));
    return;
  }
#endif
  for (; i < count; ++i)
    dest[i] = source[i] & kRgbMask;
}

inline void CopySpanMasked(const uint32_t* source, uint32_t* dest, int count) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i mask = _mm_set1_epi32(kRgbMask);
  for (; i + 4 <= count; i += 4) {
    const __m128i texels = SpanLoad(source + i);
    const __m128i drawn = _mm_srai_epi32(texels, 31);  // all ones where alpha >= 128
    const __m128i colour = _mm_and_si128(_mm_and_si128(texels, mask), drawn);
    SpanStore(dest + i, _mm_or_si128(colour, _mm_andnot_si128(drawn, SpanLoad(dest + i))));
  }
#endif
  for (; i < count; ++i) {
    if (source[i] >= 0x80000000u) dest[i] = source[i] & kRgbMask;
  }
}

inline void PaintSpanMasked(const uint32_t* source, uint32_t* dest, int count, uint32_t rgb) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i colour = _mm_set1_epi32(static_cast<int>(rgb));
  for (; i + 4 <= count; i += 4) {
    const __m128i drawn = _mm_srai_epi32(SpanLoad(source + i), 31);  // all ones where alpha >= 128
    SpanStore(dest + i, _mm_or_si128(_mm_and_si128(colour, drawn),
                                     _mm_andnot_si128(drawn, SpanLoad(dest + i))));
  }
#endif
  for (; i < count; ++i) {
    if (source[i] >= 0x80000000u) dest[i] = rgb;
  }
}
