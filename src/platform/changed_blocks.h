// Which 64x64 blocks of a frame may differ from the frame shown before it. The drawing layer
// knows them (a block whose draws repeated the frame before's was not drawn into at all), so the
// window need not compare what it already knows to be the same.
#pragma once

#include <cstdint>

struct ChangedBlocks {
  static constexpr int kSize = 64;     // pixels a side
  static constexpr int kColumns = 16;  // bits of a row
  static constexpr int kRows = 8;      // frames up to 1024x512; larger ones are compared whole

  // Bit x of rows[y]: the block at x * kSize, y * kSize.
  uint16_t rows[kRows] = {};

  static ChangedBlocks All() {
    ChangedBlocks all;
    for (uint16_t& row : all.rows)
      row = 0xFFFF;
    return all;
  }
  void Add(const ChangedBlocks& other) {
    for (int y = 0; y < kRows; ++y)
      rows[y] = static_cast<uint16_t>(rows[y] | other.rows[y]);
  }
  void Mark(int x, int y) { rows[y] = static_cast<uint16_t>(rows[y] | (1u << x)); }
  bool Has(int x, int y) const { return (rows[y] >> x) & 1u; }
};
