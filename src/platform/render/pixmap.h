// Pixel buffers exchanged with callers as 32-bit ARGB values.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum PixmapFormat : int {
  kFormatIntensity = 1,
  kFormatAlpha = 2,
  kFormatBGR = 3,
  kFormatRGB = 4,
  kFormatBGRA = 5,
  kFormatRGBA = 6,
};

int PixmapBytesPerPixel(int format);

class TPixmap {
 public:
  std::vector<uint8_t> pixels;
  int width = 0;
  int height = 0;
  int pitch = 0;
  int format = kFormatRGBA;
  int capacity = 0;

  // Null for a size or format that cannot be made.
  static std::shared_ptr<TPixmap> Create(int width, int height, int format, int alignment);
  // Coordinates outside the buffer read 0 and write nothing.
  uint32_t ReadPixel(int x, int y) const;
  void WritePixel(int x, int y, uint32_t argb);
};

// Reads a bitmap file: format 3, or 5 for a 32-bit file; null on failure.
std::shared_ptr<TPixmap> LoadPixmapFile(const std::string& path);
