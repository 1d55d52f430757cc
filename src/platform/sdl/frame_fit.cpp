#include "platform/sdl/frame_fit.h"

#include <algorithm>

namespace {

// Division that rounds toward minus infinity, so that a pixel just left of the frame maps to -1
// and not to 0.
int FloorDivide(long long a, long long b) {
  long long q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return static_cast<int>(q);
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
