// Which 8x8 blocks of a frame may differ from the frame shown before it. The drawing layer
// knows them (it notes every block it writes into; a repeated draw left alone, or a sky already
// holding its colour, writes nothing), so the window need not compare what it already knows to
// be the same.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>

struct ChangedBlocks {
  static constexpr int kSize = 8;  // pixels a side
  static constexpr int kWordBits = 64;
  static constexpr int kWords = 2;                     // words a row
  static constexpr int kColumns = kWords * kWordBits;  // frames up to 1024 pixels wide
  static constexpr int kRows = 64;  // and 512 high; larger ones are compared whole

  // Bit x % 64 of rows[y][x / 64]: the block at x * kSize, y * kSize.
  uint64_t rows[kRows][kWords] = {};

  static ChangedBlocks All() {
    ChangedBlocks all;
    std::fill(&all.rows[0][0], &all.rows[0][0] + kRows * kWords, ~uint64_t{0});
    return all;
  }
  void Add(const ChangedBlocks& other) {
    for (int y = 0; y < kRows; ++y) {
      for (int w = 0; w < kWords; ++w)
        rows[y][w] |= other.rows[y][w];
    }
  }
  void Mark(int x, int y) { rows[y][x / kWordBits] |= uint64_t{1} << (x % kWordBits); }
  bool Has(int x, int y) const { return (rows[y][x / kWordBits] >> (x % kWordBits)) & 1u; }
  // The first block from x on in row y that is marked (or, `marked` false, not); kColumns if
  // none is.
  int Next(int y, int x, bool marked) const {
    while (x < kColumns) {
      const int w = x / kWordBits;
      const uint64_t bits = (marked ? rows[y][w] : ~rows[y][w]) & (~uint64_t{0} << (x % kWordBits));
      if (bits) return w * kWordBits + std::countr_zero(bits);
      x = (w + 1) * kWordBits;
    }
    return kColumns;
  }
  // Every block the pixels x0..x1-1, y0..y1-1 touch; the rectangle lies inside the blocks.
  void MarkPixels(int x0, int y0, int x1, int y1) {
    if (x0 >= x1 || y0 >= y1) return;
    MarkBlocks(x0 / kSize, (x1 - 1) / kSize, y0 / kSize, (y1 - 1) / kSize);
  }
  // Blocks first..last of rows top..bottom, all inclusive.
  void MarkBlocks(int first, int last, int top, int bottom) {
    for (int w = first / kWordBits; w <= last / kWordBits; ++w) {
      const int lo = std::max(first, w * kWordBits) - w * kWordBits;
      const int hi = std::min(last, w * kWordBits + kWordBits - 1) - w * kWordBits;
      const uint64_t bits = (~uint64_t{0} >> (kWordBits - 1 - (hi - lo))) << lo;
      for (int y = top; y <= bottom; ++y)
        rows[y][w] |= bits;
    }
  }
};
