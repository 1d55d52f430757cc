// libFuzzer target: BMP decoding of an arbitrary byte buffer. A decoded bitmap must have a
// size inside the accepted limits and exactly one pixel value per pixel.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "platform/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto bitmap = DecodeBmp(data, size);
  if (!bitmap) return 0;
  fuzz::Check(bitmap->width > 0 && bitmap->height > 0, "decoded size is positive");
  fuzz::Check(bitmap->width <= kMaxBitmapDimension && bitmap->height <= kMaxBitmapDimension,
              "decoded size within the dimension limit");
  const int64_t pixels = int64_t{bitmap->width} * bitmap->height;
  fuzz::Check(pixels <= kMaxBitmapPixels, "decoded size within the pixel limit");
  fuzz::Check(bitmap->argb.size() == static_cast<size_t>(pixels), "one value per pixel");
  // Every pixel is read once, so a value left uninitialised would show under the sanitizers.
  uint32_t mix = 0;
  for (uint32_t v : bitmap->argb)
    mix ^= v;
  if (!bitmap->hasAlpha) {
    for (uint32_t v : bitmap->argb)
      fuzz::Check((v >> 24) == 0xFF, "files without alpha are opaque");
  }
  return static_cast<int>(mix & 0);
}
