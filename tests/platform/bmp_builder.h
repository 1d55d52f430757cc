// Builds BMP files byte by byte for the decoder and image tests, with knobs for every header
// field a broken or unusual file might get wrong.
#pragma once

#include <cstdint>
#include <vector>

struct BmpLayout {
  int width = 1;
  int height = 1;  // negative: rows stored top row first
  int depth = 24;
  std::vector<uint32_t> palette;  // 0x00RRGGBB entries, written as the colour table
  uint32_t clrUsed = 0;           // written as is (0: the decoder assumes 2^depth)
  uint32_t infoSize = 40;
  uint32_t compression = 0;
  uint16_t planes = 1;
  int64_t offBits = -1;  // -1: right after the colour table
  size_t gapBeforePixels = 0;
  // Per pixel, top row first: a palette index for depths up to 8, else ARGB.
  std::vector<uint32_t> pixels;
};

inline void PutLe(std::vector<uint8_t>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void PutPixelRow(std::vector<uint8_t>& out, const BmpLayout& layout, int row, int width) {
  const size_t start = out.size();
  if (layout.depth <= 8) {
    uint32_t acc = 0;
    int bits = 0;
    for (int x = 0; x < width; ++x) {
      acc = (acc << layout.depth) |
            (layout.pixels[static_cast<size_t>(row) * width + x] & ((1u << layout.depth) - 1));
      bits += layout.depth;
      if (bits == 8) {
        out.push_back(static_cast<uint8_t>(acc));
        acc = 0;
        bits = 0;
      }
    }
    if (bits > 0) out.push_back(static_cast<uint8_t>(acc << (8 - bits)));
  } else {
    for (int x = 0; x < width; ++x) {
      const uint32_t argb = layout.pixels[static_cast<size_t>(row) * width + x];
      out.push_back(static_cast<uint8_t>(argb));
      out.push_back(static_cast<uint8_t>(argb >> 8));
      out.push_back(static_cast<uint8_t>(argb >> 16));
      if (layout.depth == 32) out.push_back(static_cast<uint8_t>(argb >> 24));
    }
  }
  while ((out.size() - start) % 4 != 0)
    out.push_back(0);
}

inline std::vector<uint8_t> BuildBmp(const BmpLayout& layout) {
  const int width = layout.width;
  const int64_t rows = layout.height < 0 ? -int64_t{layout.height} : layout.height;
  const uint32_t tableBytes = static_cast<uint32_t>(layout.palette.size() * 4);
  const uint32_t headers = 14 + layout.infoSize + tableBytes;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  PutLe(out, 0, 4);  // file size, patched below
  PutLe(out, 0, 4);
  PutLe(out,
        layout.offBits >= 0 ? static_cast<uint64_t>(layout.offBits)
                            : headers + layout.gapBeforePixels,
        4);
  PutLe(out, layout.infoSize, 4);
  PutLe(out, static_cast<uint32_t>(layout.width), 4);
  PutLe(out, static_cast<uint32_t>(layout.height), 4);
  PutLe(out, layout.planes, 2);
  PutLe(out, static_cast<uint32_t>(layout.depth), 2);
  PutLe(out, layout.compression, 4);
  PutLe(out, 0, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2835, 4);
  PutLe(out, layout.clrUsed, 4);
  PutLe(out, 0, 4);
  while (out.size() < 14 + layout.infoSize)
    out.push_back(0);
  for (uint32_t colour : layout.palette)
    PutLe(out, colour & 0xFFFFFF, 4);
  out.insert(out.end(), layout.gapBeforePixels, 0xEE);
  // Pixels that do not match the declared size are left out: the file ends after the headers.
  if (width > 0 && layout.pixels.size() == static_cast<size_t>(width) * static_cast<size_t>(rows)) {
    for (int r = 0; r < rows; ++r) {
      const int stored = layout.height < 0 ? r : static_cast<int>(rows) - 1 - r;
      PutPixelRow(out, layout, stored, width);
    }
  }
  const uint32_t size = static_cast<uint32_t>(out.size());
  for (int i = 0; i < 4; ++i)
    out[2 + i] = static_cast<uint8_t>(size >> (8 * i));
  return out;
}
