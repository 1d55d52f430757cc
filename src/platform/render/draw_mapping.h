// Where a draw lands. A destination pixel is covered when its centre lies inside the
// transformed frame, and takes the texel floor((centre - start) / scale): nearest sampling that
// treats mirrored and halved draws alike. Unscaled draws from whole pixels map by integers
// alone. Inline, as the drawing calls them for every draw.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "platform/render/draw.h"

// A back-buffer rectangle, half-open.
struct PixelRect {
  int x0, y0, x1, y1;
  bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

// The clipping rectangle, and the buffer itself, independent of the origin.
inline PixelRect ViewClip(const DrawState& s) {
  const int64_t x0 = std::max<int64_t>(0, s.view_x);
  const int64_t y0 = std::max<int64_t>(0, s.view_y);
  const int64_t x1 = std::min<int64_t>(kBackBufferWidth, int64_t{s.view_x} + s.view_w);
  const int64_t y1 = std::min<int64_t>(kBackBufferHeight, int64_t{s.view_y} + s.view_h);
  return PixelRect{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1),
                   static_cast<int>(y1)};
}

// The pixels one axis of a draw covers, a contiguous run, and the texel each of them samples:
// either texel = offset + k (unscaled, whole-pixel start) or the table.
struct AxisMap {
  int first = 0;
  int count = 0;
  bool direct = false;
  int offset = 0;
  std::array<int, kBackBufferWidth> texel;

  int TexelAt(int k) const { return direct ? offset + k : texel[k]; }
};

inline int ClampToAxis(double value, int lo, int hi) {
  if (!(value > lo)) return lo;
  if (value > hi) return hi;
  return static_cast<int>(value);
}

inline bool WholeNumber(double v) {
  return std::fabs(v) < 1e9 && v == static_cast<double>(static_cast<int64_t>(v));
}

// Unscaled from a whole pixel, the centre rule reduces to the pixels start .. start + extent.
inline bool MapWhole(int64_t begin, int64_t extent, int lo, int hi, AxisMap& map) {
  const int64_t end = begin + extent;
  const int64_t first = std::max<int64_t>(begin, lo), last = std::min<int64_t>(end, hi);
  if (first >= last) return false;
  map.first = static_cast<int>(first);
  map.count = static_cast<int>(last - first);
  map.direct = true;
  map.offset = static_cast<int>(first - begin);
  return true;
}

inline bool MapAxis(double start, double scale, double extent, int lo, int hi, AxisMap& map) {
  if (!std::isfinite(start) || !std::isfinite(scale) || scale == 0.0 || !(extent > 0.0)) {
    return false;
  }
  if (scale == 1.0 && WholeNumber(start) && WholeNumber(extent)) {
    return MapWhole(static_cast<int64_t>(start), static_cast<int64_t>(extent), lo, hi, map);
  }
  const double end = start + extent * scale;
  // Candidate pixels, one wider on each side; the centre test below decides exactly.
  const int from = ClampToAxis(std::floor(std::min(start, end) - 0.5), lo, hi);
  const int to = ClampToAxis(std::ceil(std::max(start, end)) + 1.0, lo, hi);
  map.count = 0;
  map.direct = false;
  for (int i = from; i < to; ++i) {
    const double u = (i + 0.5 - start) / scale;
    if (!(u >= 0.0 && u < extent)) {
      if (map.count > 0) break;
      continue;
    }
    if (map.count == 0) map.first = i;
    // Only a rectangle, which samples no texel, can reach past the int range.
    map.texel[map.count++] = static_cast<int>(std::min(u, 2147483647.0));
  }
  return map.count > 0;
}

// Both axes of a draw. The views draw unscaled from whole pixels, whole sizes: those map by
// integers alone, without the float checks and the centre rule's arithmetic.
inline bool MapPlacement(double x, double y, double w, double h, double scale_x, double scale_y,
                         const PixelRect& clip, AxisMap& columns, AxisMap& rows) {
  if (scale_x == 1.0 && scale_y == 1.0 && WholeNumber(x) && WholeNumber(y) && WholeNumber(w) &&
      WholeNumber(h)) {
    return w > 0.0 && h > 0.0 &&
           MapWhole(static_cast<int64_t>(x), static_cast<int64_t>(w), clip.x0, clip.x1, columns) &&
           MapWhole(static_cast<int64_t>(y), static_cast<int64_t>(h), clip.y0, clip.y1, rows);
  }
  return MapAxis(x, scale_x, w, clip.x0, clip.x1, columns) &&
         MapAxis(y, scale_y, h, clip.y0, clip.y1, rows);
}

// Pixels a draw from a to b along one axis may cover: the candidates of the centre rule, one
// wider still; the whole clip where the ends are too far out to trust their rounding.
inline bool CandidateSpan(double a, double b, int lo, int hi, int& first, int& last) {
  constexpr double kTrusted = 1e7;
  if (!(std::fabs(a) < kTrusted && std::fabs(b) < kTrusted)) {
    first = lo, last = hi;
  } else {
    first = ClampToAxis(std::floor(std::min(a, b) - 1.5), lo, hi);
    last = ClampToAxis(std::ceil(std::max(a, b)) + 2.0, lo, hi);
  }
  return first < last;
}
