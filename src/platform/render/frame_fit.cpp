// The frame's fit into the window (whole factors, or the largest picture smoothed across the
// last step), the mapping of window positions back to frame pixels, and the copy of the frame's
// areas into the window's pixels.
#include "platform/render/frame_fit.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Division that rounds toward minus infinity, so that a pixel just left of the frame maps to -1
// and not to 0.
int FloorDivide(long long a, long long b) {
  long long q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return static_cast<int>(q);
}

// One frame row widened `scale` times: the twice and three times of a larger window four pixels
// at a time, where SSE2 is at hand; what each pixel becomes is the same either way.
void WidenRow(const uint32_t* source, int count, int scale, uint32_t* out) {
  int fx = 0;
#if defined(__SSE2__)
  auto load = [source](int at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + at));
  };
  auto store = [](uint32_t* at, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v); };
  if (scale == 2) {
    for (; fx + 4 <= count; fx += 4, out += 8) {
      const __m128i v = load(fx);
      store(out, _mm_unpacklo_epi32(v, v));
      store(out + 4, _mm_unpackhi_epi32(v, v));
    }
  } else if (scale == 3) {
    for (; fx + 4 <= count; fx += 4, out += 12) {
      const __m128i v = load(fx);
      store(out, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 0, 0)));
      store(out + 4, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 2, 1, 1)));
      store(out + 8, _mm_shuffle_epi32(v, _MM_SHUFFLE(3, 3, 3, 2)));
    }
  }
#endif
  for (; fx < count; ++fx)
    out = std::fill_n(out, scale, source[fx]);
}

}  // namespace

FrameFit FitFrame(int frame_width, int frame_height, int area_width, int area_height) {
  FrameFit fit;
  if (frame_width <= 0 || frame_height <= 0) return fit;
  fit.scale = std::max(1, std::min(area_width / frame_width, area_height / frame_height));
  fit.width = frame_width * fit.scale;
  fit.height = frame_height * fit.scale;
  fit.x = FloorDivide(static_cast<long long>(area_width) - fit.width, 2);
  fit.y = FloorDivide(static_cast<long long>(area_height) - fit.height, 2);
  return fit;
}

FrameFit FillFrame(int frame_width, int frame_height, int area_width, int area_height) {
  const FrameFit whole = FitFrame(frame_width, frame_height, area_width, area_height);
  if (frame_width <= 0 || frame_height <= 0 || area_width <= 0 || area_height <= 0) return whole;
  // The side that runs out first sets the size; the other keeps the frame's shape, rounded.
  FrameFit fit;
  const long long fw = frame_width, fh = frame_height;
  if (area_width * fh <= area_height * fw) {
    fit.width = area_width;
    fit.height = static_cast<int>((2 * area_width * fh + fw) / (2 * fw));
  } else {
    fit.height = area_height;
    fit.width = static_cast<int>((2 * area_height * fw + fh) / (2 * fh));
  }
  fit.width = std::clamp(fit.width, 1, area_width);
  fit.height = std::clamp(fit.height, 1, area_height);
  if (fit.width == whole.width && fit.height == whole.height) return whole;
  // The smallest whole step at or above the picture on both sides.
  fit.scale = std::max({1, static_cast<int>((fit.width + fw - 1) / fw),
                        static_cast<int>((fit.height + fh - 1) / fh)});
  fit.smoothed = true;
  fit.x = (area_width - fit.width) / 2;
  fit.y = (area_height - fit.height) / 2;
  return fit;
}

FrameFit ChooseFit(int frame_width, int frame_height, int area_width, int area_height,
                   bool fill_asked) {
  const FrameFit whole = FitFrame(frame_width, frame_height, area_width, area_height);
  if (whole.scale >= 2 && !fill_asked) return whole;
  return FillFrame(frame_width, frame_height, area_width, area_height);
}

int FrameCoordinateIn(int drawable, int offset, int picture_size, int frame_size) {
  if (picture_size <= 0 || frame_size <= 0) return drawable - offset;
  // The drawable pixel's centre, so that a whole step maps as FrameCoordinate does.
  return FloorDivide((2 * (static_cast<long long>(drawable) - offset) + 1) * frame_size,
                     2LL * picture_size);
}

int FrameCoordinate(int drawable, int offset, int scale) {
  return FloorDivide(static_cast<long long>(drawable) - offset, std::max(scale, 1));
}

int DrawableCoordinate(int window, int window_size, int drawable_size) {
  if (window_size <= 0 || drawable_size <= 0 || window_size == drawable_size) return window;
  return FloorDivide(static_cast<long long>(window) * drawable_size, window_size);
}

FrameRect ScaledArea(const FrameRect& area, const FrameFit& fit) {
  return {fit.x + area.x * fit.scale, fit.y + area.y * fit.scale, area.width * fit.scale,
          area.height * fit.scale};
}

// Nearest neighbour: each frame row is widened once and then repeated.
void ScaleFrameArea(uint8_t* buffer, int pitch, const uint32_t* frame, int frame_width,
                    const FrameRect& area, const FrameFit& fit) {
  if (area.Empty()) return;
  const size_t row_bytes = static_cast<size_t>(area.width) * fit.scale * sizeof(uint32_t);
  for (int fy = area.y; fy < area.y + area.height; ++fy) {
    const uint32_t* source = frame + static_cast<size_t>(fy) * frame_width + area.x;
    uint8_t* first = buffer + static_cast<size_t>(fit.y + fy * fit.scale) * pitch;
    uint32_t* start = reinterpret_cast<uint32_t*>(first) + fit.x + area.x * fit.scale;
    if (fit.scale == 1) {
      std::memcpy(start, source, row_bytes);
    } else {
      WidenRow(source, area.width, fit.scale, start);
    }
    for (int repeat = 1; repeat < fit.scale; ++repeat)
      std::memcpy(reinterpret_cast<uint8_t*>(start) + static_cast<size_t>(repeat) * pitch, start,
                  row_bytes);
  }
}

namespace {

// The picture pixels (0..size-1) that read frame pixels first..last of a frame `frame_size`
// wide, one more each side for the blend.
void PictureSpan(int first, int last, int size, int frame_size, int& from, int& to) {
  const long long s = size, f = frame_size;
  from = std::max(0, static_cast<int>(first * s / f) - 1);
  to = std::min(size, static_cast<int>(((last + 1) * s + f - 1) / f) + 1);
}

uint32_t Blend(uint32_t a, uint32_t b, int weight) {
  if (weight == 0 || a == b) return a;
  const uint32_t keep = 256 - weight;
  const uint32_t rb = ((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight) >> 8;
  const uint32_t g = ((a & 0x00FF00u) * keep + (b & 0x00FF00u) * weight) >> 8;
  return (a & 0xFF000000u) | (rb & 0xFF00FFu) | (g & 0x00FF00u);
}

}  // namespace

FrameRect SmoothedArea(const FrameRect& area, const FrameFit& fit, int frame_width,
                       int frame_height) {
  if (area.Empty()) return {};
  int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  PictureSpan(area.x, area.x + area.width - 1, fit.width, frame_width, x0, x1);
  PictureSpan(area.y, area.y + area.height - 1, fit.height, frame_height, y0, y1);
  return {fit.x + x0, fit.y + y0, x1 - x0, y1 - y0};
}

// Picture pixel i's centre, in the whole-step picture's pixels, is (i + 1/2) * big / size - 1/2:
// it falls between two of them, each one frame pixel's. Kept in 256ths.
void SmoothScaler::WorkOutTaps(int size, int frame_size, int scale, std::vector<Tap>& taps) {
  taps.resize(std::max(size, 0));
  const long long big = static_cast<long long>(frame_size) * scale;
  for (int i = 0; i < size; ++i) {
    const long long at = ((2LL * i + 1) * big * 256) / (2LL * size) - 128;
    const long long left = at >= 0 ? at / 256 : -1;
    Tap& tap = taps[i];
    const long long a = std::clamp<long long>(left, 0, big - 1);
    const long long b = std::clamp<long long>(left + 1, 0, big - 1);
    tap.first = static_cast<int>(a / scale);
    tap.second = static_cast<int>(b / scale);
    tap.weight = tap.first == tap.second ? 0 : static_cast<int>(at - left * 256);
  }
}

void SmoothScaler::ScaleArea(uint8_t* buffer, int pitch, const uint32_t* frame, int frame_width,
                             int frame_height, const FrameRect& area, const FrameFit& fit) {
  if (area.Empty() || fit.width <= 0 || fit.height <= 0) return;
  if (fit.width != For.width || fit.height != For.height || fit.scale != For.scale ||
      frame_width != ForWidth || frame_height != ForHeight) {
    WorkOutTaps(fit.width, frame_width, fit.scale, Columns);
    WorkOutTaps(fit.height, frame_height, fit.scale, Rows);
    For = fit;
    ForWidth = frame_width;
    ForHeight = frame_height;
  }
  const FrameRect out = SmoothedArea(area, fit, frame_width, frame_height);
  for (int py = out.y - fit.y; py < out.y - fit.y + out.height; ++py) {
    const Tap& row = Rows[py];
    const uint32_t* top = frame + static_cast<size_t>(row.first) * frame_width;
    const uint32_t* bottom = frame + static_cast<size_t>(row.second) * frame_width;
    auto* target = reinterpret_cast<uint32_t*>(buffer + static_cast<size_t>(fit.y + py) * pitch);
    for (int px = out.x - fit.x; px < out.x - fit.x + out.width; ++px) {
      const Tap& column = Columns[px];
      const uint32_t upper = Blend(top[column.first], top[column.second], column.weight);
      const uint32_t lower =
          row.weight == 0 ? upper
                          : Blend(bottom[column.first], bottom[column.second], column.weight);
      target[fit.x + px] = Blend(upper, lower, row.weight);
    }
  }
}
