// ravelon-fuzz-seeds FOLDER...: writes the bitmap seeds of the fuzzers' corpora into each folder
// (scripts/make-fuzz-seeds.sh names them), through the game's own BMP writer: every depth the
// decoder reads, a top-down file, a longer info header and a masked picture. Deterministic: the
// same bytes every run.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/bmp.h"
#include "platform/save/safe_write.h"

namespace {

// n bytes that change along the row, so decoded pixels are not all alike.
std::vector<uint8_t> Pattern(size_t n, int seed) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) {
    const auto k = static_cast<int>(i);
    bytes[i] = static_cast<uint8_t>((k * 37 + seed * 11) ^ (k >> 3));
  }
  return bytes;
}

// A patterned picture of the given layout, with `entries` table colours that differ.
std::vector<uint8_t> Patterned(int width, int height, int depth, int entries, uint32_t info = 40) {
  BmpRowsLayout layout;
  layout.width = width;
  layout.height = height;
  layout.depth = depth;
  layout.infoSize = info;
  for (int e = 0; e < entries; ++e) {
    const uint32_t blue = static_cast<uint8_t>(e * 40), green = static_cast<uint8_t>(255 - e * 20),
                   red = static_cast<uint8_t>(e * 90);
    layout.table.push_back(red << 16 | green << 8 | blue);
  }
  const int rows = height < 0 ? -height : height;
  return EncodeBmpRows(layout, Pattern(BmpStride(width, depth) * static_cast<size_t>(rows), depth));
}

// A picture in the mask colour except for one pattern row: the masked path with neighbours.
std::vector<uint8_t> Masked() {
  BmpRowsLayout layout;
  layout.width = 16;
  layout.height = 2;
  layout.pixelsPerMetre = 0;
  std::vector<uint8_t> rows;
  for (int x = 0; x < 16; ++x)
    rows.insert(rows.end(), {255, 201, 122});  // stored blue, green, red
  const std::vector<uint8_t> pattern = Pattern(48, 3);
  rows.insert(rows.end(), pattern.begin(), pattern.end());
  return EncodeBmpRows(layout, rows);
}

struct Seed {
  const char* name;
  std::vector<uint8_t> bytes;
};

std::vector<Seed> Seeds() {
  return {
      {"mono_8x2.bmp", Patterned(8, 2, 1, 2)},
      {"nibbles_5x3.bmp", Patterned(5, 3, 4, 16)},
      {"indexed_4x4.bmp", Patterned(4, 4, 8, 6)},
      {"sheet_32x48.bmp", Patterned(32, 48, 24, 0)},
      {"alpha_topdown_16x16.bmp", Patterned(16, -16, 32, 0)},
      {"v4_header_3x2.bmp", Patterned(3, 2, 24, 0, 108)},
      {"masked_16x2.bmp", Masked()},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ravelon-fuzz-seeds FOLDER...\n");
    return 2;
  }
  const std::vector<Seed> seeds = Seeds();
  for (int i = 1; i < argc; ++i) {
    for (const Seed& seed : seeds) {
      const std::string path = std::string(argv[i]) + "/" + seed.name;
      std::string why;
      if (seed.bytes.empty() || !WriteFileSafely(path, seed.bytes, why)) {
        std::fprintf(stderr, "ravelon-fuzz-seeds: cannot write %s: %s\n", path.c_str(),
                     seed.bytes.empty() ? "no bytes" : why.c_str());
        return 1;
      }
    }
  }
  return 0;
}
