// Windows BMP decoding (uncompressed 1, 4, 8, 24, 32 bits) and writing (24 bits from pixels;
// any of those depths from rows already laid out).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DecodedBitmap {
  int width = 0;
  int height = 0;
  bool hasAlpha = false;       // a 32-bit file carries its own alpha
  std::vector<uint32_t> argb;  // top row first, width * height values
};

// Largest width or height accepted; larger files are refused.
constexpr int kMaxBitmapDimension = 16384;
// Largest width * height accepted: a small file of one bit per pixel must not be able to ask
// for gigabytes of decoded pixels.
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 24;

// platform/bmp_decode.cpp
// Decodes an untrusted byte buffer; nullopt for anything malformed or unsupported.
std::optional<DecodedBitmap> DecodeBmp(const uint8_t* data, size_t size);
std::optional<DecodedBitmap> LoadBmpFile(const std::string& path);

// platform/bmp_encode.cpp
// Encodes ARGB pixels (top row first) as an uncompressed 24-bit BMP.
std::vector<uint8_t> EncodeBmp24(int width, int height, const uint32_t* argb);
// Written safely (platform/save/safe_write.h); on failure `why` says what went wrong.
bool WriteBmp24(const std::string& path, int width, int height, const uint32_t* argb,
                std::string& why);
bool WriteBmp24(const std::string& path, int width, int height, const uint32_t* argb);

// The headers of an uncompressed file of any depth the decoder reads, for rows laid out by the
// caller (the fuzzers' seeds: odd depths, colour tables, longer info headers).
struct BmpRowsLayout {
  int width = 0;
  int height = 0;          // negative: the rows are stored top row first
  int depth = 24;          // 1, 4, 8, 24 or 32 bits a pixel
  uint32_t infoSize = 40;  // 40, or longer with the extra bytes zero
  uint32_t pixelsPerMetre = 2835;
  std::vector<uint32_t> table;  // colour table entries, 0x00RRGGBB
};
// The bytes of a stored row, padded to four.
uint32_t BmpStride(int width, int depth);
// The headers, the colour table, then `rows` as they are; empty when the layout is not one the
// decoder reads or `rows` is not BmpStride times the rows.
std::vector<uint8_t> EncodeBmpRows(const BmpRowsLayout& layout, const std::vector<uint8_t>& rows);
