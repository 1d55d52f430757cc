// Uncompressed BMP writing, byte for byte the same for the same pixels (the art builder and the
// runner's screenshots are compared as files): 24 bits from pixels, or any depth from rows.

#include "platform/bmp.h"
#include "platform/files.h"
#include "platform/little_endian.h"
#include "platform/save/safe_write.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

uint32_t HeadersSize(const BmpRowsLayout& layout) {
  return kFileHeaderSize + layout.infoSize + static_cast<uint32_t>(layout.table.size()) * 4;
}

// The file header, the info header (zero past its first 40 bytes) and the colour table.
void PutHeaders(std::vector<uint8_t>& out, const BmpRowsLayout& layout, uint32_t imageBytes) {
  const uint32_t headers = HeadersSize(layout);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, headers + imageBytes);
  PutU32(out, 0);  // reserved
  PutU32(out, headers);
  PutU32(out, layout.infoSize);
  PutU32(out, static_cast<uint32_t>(layout.width));
  PutU32(out, static_cast<uint32_t>(layout.height));  // positive: rows bottom-up
  PutU16(out, 1);
  PutU16(out, static_cast<uint32_t>(layout.depth));
  PutU32(out, 0);  // no compression
  PutU32(out, imageBytes);
  PutU32(out, layout.pixelsPerMetre);
  PutU32(out, layout.pixelsPerMetre);
  PutU32(out, static_cast<uint32_t>(layout.table.size()));
  PutU32(out, 0);
  out.insert(out.end(), layout.infoSize - kInfoHeaderSize, 0);
  for (uint32_t entry : layout.table) {
    out.push_back(static_cast<uint8_t>(entry));
    out.push_back(static_cast<uint8_t>(entry >> 8));
    out.push_back(static_cast<uint8_t>(entry >> 16));
    out.push_back(0);
  }
}

bool Encodable(const BmpRowsLayout& layout) {
  const int rows = layout.height < 0 ? -layout.height : layout.height;
  const bool depth = layout.depth == 1 || layout.depth == 4 || layout.depth == 8 ||
                     layout.depth == 24 || layout.depth == 32;
  return depth && layout.width > 0 && layout.width <= kMaxBitmapDimension && rows > 0 &&
         rows <= kMaxBitmapDimension && layout.infoSize >= kInfoHeaderSize &&
         layout.infoSize <= 1024 && layout.table.size() <= 256;
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(int width, int height, const uint32_t* argb) {
  if (!argb || width <= 0 || height <= 0) return {};
  if (width > kMaxBitmapDimension || height > kMaxBitmapDimension) return {};
  BmpRowsLayout layout;
  layout.width = width;
  layout.height = height;
  const uint32_t stride = BmpStride(width, 24);
  const uint32_t imageBytes = stride * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.reserve(HeadersSize(layout) + imageBytes);
  PutHeaders(out, layout, imageBytes);
  for (int y = height - 1; y >= 0; --y) {
    const uint32_t* row = argb + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      out.push_back(static_cast<uint8_t>(row[x]));
      out.push_back(static_cast<uint8_t>(row[x] >> 8));
      out.push_back(static_cast<uint8_t>(row[x] >> 16));
    }
    for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < stride; ++pad)
      out.push_back(0);
  }
  return out;
}

uint32_t BmpStride(int width, int depth) {
  return ((static_cast<uint32_t>(width) * static_cast<uint32_t>(depth) + 31) / 32) * 4;
}

std::vector<uint8_t> EncodeBmpRows(const BmpRowsLayout& layout, const std::vector<uint8_t>& rows) {
  if (!Encodable(layout)) return {};
  const int height = layout.height < 0 ? -layout.height : layout.height;
  const uint32_t imageBytes = BmpStride(layout.width, layout.depth) * static_cast<uint32_t>(height);
  if (rows.size() != imageBytes) return {};
  std::vector<uint8_t> out;
  out.reserve(HeadersSize(layout) + imageBytes);
  PutHeaders(out, layout, imageBytes);
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

// Written to a temporary file beside the target and renamed over it, so a failed write never
// leaves a truncated picture where a good one was.
bool WriteBmp24(const std::string& path, int width, int height, const uint32_t* argb,
                std::string& why) {
  const std::vector<uint8_t> bytes = EncodeBmp24(width, height, argb);
  if (bytes.empty()) {
    why = "the picture has no pixels";
    return false;
  }
  return WriteFileSafely(NormalisePath(path), bytes, why);
}

bool WriteBmp24(const std::string& path, int width, int height, const uint32_t* argb) {
  std::string why;
  return WriteBmp24(path, width, height, argb, why);
}
