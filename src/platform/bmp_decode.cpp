// Windows BMP decoding. Every byte comes from a file we did not write, so each offset and size
// is computed in 64 bits and checked against the buffer before anything is read.
#include <cstring>

#include "platform/bmp.h"
#include "platform/files.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCompressionNone = 0;

uint16_t ReadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t ReadI32(const uint8_t* p) {
  uint32_t u = ReadU32(p);
  int32_t v;
  std::memcpy(&v, &u, sizeof v);
  return v;
}

struct BmpLayout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int depth = 0;
  uint64_t tableOffset = 0;
  uint64_t tableEntries = 0;
  uint64_t pixelOffset = 0;
  uint64_t stride = 0;
};

// The info headers of later Windows versions (52, 56, 108, 124 bytes) begin with the same
// 40 bytes; with compression 0 their extra fields (masks, colour space) do not apply.
bool KnownInfoHeaderSize(uint32_t size) {
  return size == kInfoHeaderSize || size == 52 || size == 56 || size == 108 || size == 124;
}

bool SupportedDepth(int depth) {
  return depth == 1 || depth == 4 || depth == 8 || depth == 24 || depth == 32;
}

bool ReadDimensions(const uint8_t* info, BmpLayout& layout) {
  const int64_t width = ReadI32(info + 4);
  int64_t height = ReadI32(info + 8);
  // A negative height marks rows stored top row first; both orders are accepted.
  layout.topDown = height < 0;
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0) return false;
  if (width > kMaxBitmapDimension || height > kMaxBitmapDimension) return false;
  if (width * height > kMaxBitmapPixels) return false;
  layout.width = static_cast<int>(width);
  layout.height = static_cast<int>(height);
  return true;
}

// The colour table sits right after the info header. It may not claim more entries than the
// depth can index: such a file is malformed, not merely generous.
bool ReadColourTable(const uint8_t* info, uint32_t infoSize, size_t size, BmpLayout& layout) {
  layout.tableOffset = kFileHeaderSize + infoSize;
  if (layout.depth > 8) return true;
  const uint64_t maxEntries = uint64_t{1} << layout.depth;
  const uint64_t used = ReadU32(info + 32);
  layout.tableEntries = used == 0 ? maxEntries : used;
  if (layout.tableEntries > maxEntries) return false;
  return layout.tableOffset + layout.tableEntries * 4 <= size;
}

// The rows normally start at the header's pixel offset. Files exist whose offset is zero or
// wrong while the rows follow the colour table directly, so that place is the fallback.
bool LocatePixels(const uint8_t* data, size_t size, BmpLayout& layout) {
  layout.stride = ((static_cast<uint64_t>(layout.width) * layout.depth + 31) / 32) * 4;
  const uint64_t bytes = layout.stride * static_cast<uint64_t>(layout.height);
  const uint64_t headersEnd = layout.tableOffset + layout.tableEntries * 4;
  const uint64_t declared = ReadU32(data + 10);
  if (declared >= headersEnd && declared <= size && bytes <= size - declared) {
    layout.pixelOffset = declared;
    return true;
  }
  if (headersEnd <= size && bytes <= size - headersEnd) {
    layout.pixelOffset = headersEnd;
    return true;
  }
  return false;
}

std::optional<BmpLayout> ParseHeaders(const uint8_t* data, size_t size) {
  if (!data || size < kFileHeaderSize + kInfoHeaderSize) return std::nullopt;
  if (data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const uint8_t* info = data + kFileHeaderSize;
  const uint32_t infoSize = ReadU32(info);
  if (!KnownInfoHeaderSize(infoSize) || kFileHeaderSize + infoSize > size) return std::nullopt;
  BmpLayout layout;
  if (!ReadDimensions(info, layout)) return std::nullopt;
  if (ReadU16(info + 12) != 1) return std::nullopt;  // planes
  layout.depth = ReadU16(info + 14);
  if (!SupportedDepth(layout.depth)) return std::nullopt;
  if (ReadU32(info + 16) != kCompressionNone) return std::nullopt;
  if (!ReadColourTable(info, infoSize, size, layout)) return std::nullopt;
  if (!LocatePixels(data, size, layout)) return std::nullopt;
  return layout;
}

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// An index past the colour table reads black rather than failing the whole picture.
void DecodeIndexedRow(const uint8_t* row, const uint8_t* table, const BmpLayout& layout,
                      uint32_t* out) {
  const int depth = layout.depth;
  const int perByte = 8 / depth;
  const uint32_t mask = (1u << depth) - 1;
  for (int x = 0; x < layout.width; ++x) {
    const int shift = 8 - depth * (x % perByte + 1);  // high bits hold the leftmost pixel
    const uint32_t index = (row[x / perByte] >> shift) & mask;
    if (index >= layout.tableEntries) {
      out[x] = Argb(255, 0, 0, 0);
      continue;
    }
    const uint8_t* entry = table + index * 4;
    out[x] = Argb(255, entry[2], entry[1], entry[0]);
  }
}

void DecodeDirectRow(const uint8_t* row, const BmpLayout& layout, uint32_t* out) {
  const int bytes = layout.depth / 8;
  for (int x = 0; x < layout.width; ++x) {
    const uint8_t* p = row + static_cast<size_t>(x) * bytes;
    const uint32_t alpha = bytes == 4 ? p[3] : 255;
    out[x] = Argb(alpha, p[2], p[1], p[0]);
  }
}

}  // namespace

std::optional<DecodedBitmap> DecodeBmp(const uint8_t* data, size_t size) {
  const std::optional<BmpLayout> parsed = ParseHeaders(data, size);
  if (!parsed) return std::nullopt;
  const BmpLayout& layout = *parsed;
  DecodedBitmap bitmap;
  bitmap.width = layout.width;
  bitmap.height = layout.height;
  bitmap.hasAlpha = layout.depth == 32;
  bitmap.argb.resize(static_cast<size_t>(layout.width) * layout.height);
  const uint8_t* table = data + layout.tableOffset;
  for (int y = 0; y < layout.height; ++y) {
    const int stored = layout.topDown ? y : layout.height - 1 - y;
    const uint8_t* row = data + layout.pixelOffset + layout.stride * stored;
    uint32_t* out = bitmap.argb.data() + static_cast<size_t>(y) * layout.width;
    if (layout.depth <= 8) {
      DecodeIndexedRow(row, table, layout, out);
    } else {
      DecodeDirectRow(row, layout, out);
    }
  }
  return bitmap;
}

std::optional<DecodedBitmap> LoadBmpFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return std::nullopt;
  return DecodeBmp(bytes.data(), bytes.size());
}
