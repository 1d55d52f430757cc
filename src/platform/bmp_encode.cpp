// Uncompressed 24-bit BMP writing, byte for byte the same for the same pixels (the art builder
// and the runner's screenshots are compared as files).

#include "platform/bmp.h"
#include "platform/files.h"
#include "platform/little_endian.h"
#include "platform/safe_write.h"

namespace {

constexpr uint32_t kHeadersSize = 14 + 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void PutHeaders(std::vector<uint8_t>& out, int width, int height, uint32_t imageBytes) {
  out.push_back('B');
  out.push_back('M');
  PutU32(out, kHeadersSize + imageBytes);
  PutU32(out, 0);  // reserved
  PutU32(out, kHeadersSize);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(width));
  PutU32(out, static_cast<uint32_t>(height));  // positive: rows bottom-up
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);  // no compression
  PutU32(out, imageBytes);
  PutU32(out, kPixelsPerMetre);
  PutU32(out, kPixelsPerMetre);
  PutU32(out, 0);
  PutU32(out, 0);
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(int width, int height, const uint32_t* argb) {
  if (!argb || width <= 0 || height <= 0) return {};
  if (width > kMaxBitmapDimension || height > kMaxBitmapDimension) return {};
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = stride * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.reserve(kHeadersSize + imageBytes);
  PutHeaders(out, width, height, imageBytes);
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
