// The frame's whole-factor fit into the window, the mapping of window positions back to frame
// pixels, and the copy of the frame's areas into the window's pixels.
#include "platform/sdl/frame_fit.h"

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
