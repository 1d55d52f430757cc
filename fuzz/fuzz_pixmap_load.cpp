// libFuzzer target: a bitmap file read into a pixel buffer. The buffer must hold every row at
// its pitch, and reading any pixel inside (or just outside) it must stay in bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/render/pixmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string file = fuzz::ScratchPath("fuzz_pixmap.bmp");
  fuzz::WriteBytes(file, data, size);
  auto pixmap = LoadPixmapFile(file);
  if (!pixmap) return 0;
  fuzz::Check(pixmap->format == kFormatBGR || pixmap->format == kFormatBGRA, "a file format");
  fuzz::Check(pixmap->width > 0 && pixmap->height > 0, "a positive size");
  fuzz::Check(pixmap->pitch >= pixmap->width * PixmapBytesPerPixel(pixmap->format),
              "a row fits its pitch");
  fuzz::Check(pixmap->pixels.size() >= static_cast<size_t>(pixmap->pitch) * pixmap->height,
              "every row is stored");
  uint32_t mix = 0;
  for (int y = -1; y <= pixmap->height; y += pixmap->height > 64 ? 13 : 1)
    for (int x = -1; x <= pixmap->width; x += pixmap->width > 64 ? 13 : 1)
      mix ^= pixmap->ReadPixel(x, y);
  fuzz::Check(pixmap->ReadPixel(-1, 0) == 0 && pixmap->ReadPixel(0, pixmap->height) == 0,
              "outside reads 0");
  pixmap->WritePixel(pixmap->width, 0, mix);
  pixmap->WritePixel(0, -1, mix);
  return 0;
}
