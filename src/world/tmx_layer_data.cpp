// A tile layer's data as Tiled writes it: comma-separated numbers, or base64 of little-endian
// 32-bit gids, plain or compressed with zlib, gzip or zstd. Every decoder stops at one byte
// past the length a 75x54 layer needs, so a stream that would inflate to gigabytes costs no more
// than a short one. The inflating itself is the build's (world/layer_inflate.h).
#include <charconv>

#include "world/layer_inflate.h"
#include "world/level_file.h"

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

bool DecodeCsv(std::string_view text, std::vector<uint32_t>& gids, std::string& why) {
  gids.clear();
  size_t at = 0;
  while (true) {
    while (at < text.size() && IsSpace(text[at]))
      ++at;
    if (at == text.size()) break;
    uint32_t gid = 0;
    const auto [stop, error] = std::from_chars(text.data() + at, text.data() + text.size(), gid);
    if (error != std::errc()) {
      why = "its CSV data holds something that is not a tile number";
      return false;
    }
    if (gids.size() == kMapFileBytes) {
      why = "its CSV data has more than one number per cell";
      return false;
    }
    gids.push_back(gid);
    at = static_cast<size_t>(stop - text.data());
    while (at < text.size() && IsSpace(text[at]))
      ++at;
    if (at < text.size() && text[at] == ',') ++at;
  }
  if (gids.size() != kMapFileBytes) {
    why = "its CSV data has " + std::to_string(gids.size()) + " numbers, not one per cell (" +
          std::to_string(kMapFileBytes) + ")";
    return false;
  }
  return true;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// At most `limit` bytes are kept; more sets `too_long`.
bool DecodeBase64(std::string_view text, size_t limit, std::vector<uint8_t>& out, bool& too_long) {
  out.clear();
  too_long = false;
  uint32_t bits = 0;
  int held = 0;
  size_t padding = 0;
  for (char c : text) {
    if (IsSpace(c)) continue;
    if (c == '=') {
      ++padding;
      continue;
    }
    const int value = Base64Value(c);
    if (value < 0 || padding > 0) return false;
    bits = (bits << 6) | static_cast<uint32_t>(value);
    held += 6;
    if (held >= 8) {
      held -= 8;
      if (out.size() == limit) {
        too_long = true;
        return true;
      }
      out.push_back(static_cast<uint8_t>(bits >> held));
    }
  }
  return padding <= 2;
}

}  // namespace

bool DecodeLayerData(std::string_view text, std::string_view encoding, std::string_view compression,
                     std::vector<uint32_t>& gids, std::string& why) {
  if (encoding == "csv") {
    if (!compression.empty()) {
      why = "its CSV data claims a compression";
      return false;
    }
    return DecodeCsv(text, gids, why);
  }
  if (encoding != "base64") {
    why = "its data has an encoding the game does not read (\"" + std::string(encoding) + "\")";
    return false;
  }
  if (!compression.empty() && compression != "zlib" && compression != "gzip" &&
      compression != "zstd") {
    why =
        "its data has a compression the game does not read (\"" + std::string(compression) + "\")";
    return false;
  }
  // A compressed stream shrinks 75x54 gids a great deal, never grows them past their size plus
  // a little: more base64 than that is refused before anything is inflated.
  const size_t limit = compression.empty() ? kLevelLayerBytes + 1 : 2 * kLevelLayerBytes;
  std::vector<uint8_t> bytes, plain;
  bool too_long = false;
  if (!DecodeBase64(text, limit, bytes, too_long)) {
    why = "its base64 data is not base64";
    return false;
  }
  if (too_long) {
    why = "its base64 data is longer than a 75x54 layer";
    return false;
  }
  if (compression.empty()) {
    plain = std::move(bytes);
  } else if (!InflateLayer(bytes, compression, plain, why)) {
    return false;
  }
  if (plain.size() != kLevelLayerBytes) {
    why = "its data holds " + std::to_string(plain.size()) + " bytes, not " +
          std::to_string(kLevelLayerBytes) + " (four per cell)";
    return false;
  }
  gids.resize(kMapFileBytes);
  for (size_t i = 0; i < kMapFileBytes; ++i) {
    const uint8_t* b = &plain[i * 4];
    gids[i] = uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
  }
  return true;
}
