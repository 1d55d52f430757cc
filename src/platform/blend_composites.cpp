#include "platform/blend_composites.h"

#include <bit>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/alpha_blend.h"
#include "platform/draw.h"
#include "platform/pixel_spans.h"

namespace {

constexpr uint32_t kRgbMask = 0xFFFFFF;
// Tiles and actor frames; a bigger image is blended directly rather than kept.
constexpr int kMaxKeptTexels = 64 * 64;
// The views use a few hundred pairs; past this many, something unusual is drawing and the kept
// results start afresh.
constexpr size_t kMaxKept = 8192;

struct OpaqueCopy {
  const uint32_t* texels = nullptr;
  int width = 0, height = 0;
  uint64_t serial = 0;
  int x = 0, y = 0, columns = 0, rows = 0, u = 0, v = 0;
};
OpaqueCopy Last;

struct Key {
  uint64_t over, under;  // under: the serial of the frame beneath, 0 for one colour
  uint64_t alpha;        // the alpha's bits
  uint32_t colour;
  bool operator==(const Key&) const = default;
};

struct KeyHash {
  size_t operator()(const Key& k) const {
    uint64_t h = k.over * 0x9E3779B97F4A7C15ull;
    h ^= (k.under + 0x632BE59BD9B4E019ull) * 0xBF58476D1CE4E5B9ull;
    h ^= (k.alpha ^ k.colour) * 0x94D049BB133111EBull;
    return static_cast<size_t>(h ^ (h >> 31));
  }
};

std::unordered_map<Key, std::vector<uint32_t>, KeyHash> Kept;

uint32_t* DestRow(const BlendPlacement& p, int j) {
  return BackBuffer() + (p.y + j) * kBackBufferWidth + p.x;
}

bool SamePlace(const BlendPlacement& p) {
  return Last.serial != 0 && Last.width == p.width && Last.height == p.height && Last.x == p.x &&
         Last.y == p.y && Last.columns == p.columns && Last.rows == p.rows && Last.u == p.u &&
         Last.v == p.v;
}

// Whether a row of pixels equals the opaque texels (alpha 255) copied there: the pixels with
// their alpha byte set must equal the texels.
bool RowShowsTexels(const uint32_t* dest, const uint32_t* texels, int count) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(~kRgbMask));
  for (; i + 4 <= count; i += 4) {
    const __m128i pixels = _mm_or_si128(SpanLoad(dest + i), alpha);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(pixels, SpanLoad(texels + i))) != 0xFFFF) return false;
  }
#endif
  for (; i < count; ++i) {
    if ((dest[i] | ~kRgbMask) != texels[i]) return false;
  }
  return true;
}

bool RowIsOneColour(const uint32_t* dest, int count, uint32_t colour) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi32(static_cast<int>(colour));
  for (; i + 4 <= count; i += 4) {
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(SpanLoad(dest + i), wanted)) != 0xFFFF) return false;
  }
#endif
  for (; i < count; ++i) {
    if (dest[i] != colour) return false;
  }
  return true;
}

// The frame noted beneath is opaque: every texel alpha 255 (the note is made for such only).
bool DestShowsFrame(const BlendPlacement& p, const uint32_t* under) {
  for (int j = 0; j < p.rows; ++j) {
    if (!RowShowsTexels(DestRow(p, j), under + (p.v + j) * p.width + p.u, p.columns)) return false;
  }
  return true;
}

bool DestIsOneColour(const BlendPlacement& p, uint32_t& colour) {
  colour = *DestRow(p, 0);
  for (int j = 0; j < p.rows; ++j) {
    if (!RowIsOneColour(DestRow(p, j), p.columns, colour)) return false;
  }
  return true;
}

// The whole frame blended over the frame beneath (or over the colour), by the exact blend.
std::vector<uint32_t> Blended(const BlendPlacement& p, const uint32_t* under, uint32_t colour) {
  const size_t count = static_cast<size_t>(p.width) * p.height;
  std::vector<uint32_t> out(count);
  for (size_t i = 0; i < count; ++i)
    out[i] = under ? under[i] & kRgbMask : colour;
  BlendSpanExact(p.texels, out.data(), static_cast<int>(count), p.alpha, p.table);
  return out;
}

void CopyOut(const BlendPlacement& p, const std::vector<uint32_t>& composite) {
  for (int j = 0; j < p.rows; ++j) {
    const uint32_t* row = composite.data() + (p.v + j) * p.width + p.u;
    std::memcpy(DestRow(p, j), row, static_cast<size_t>(p.columns) * sizeof(uint32_t));
  }
}

}  // namespace

void NoteOpaqueCopy(const uint32_t* texels, int width, int height, uint64_t serial, int x, int y,
                    int columns, int rows, int u, int v) {
  Last = OpaqueCopy{texels, width, height, serial, x, y, columns, rows, u, v};
}

void ForgetOpaqueCopy() {
  Last.serial = 0;
}

bool DrawKnownComposite(const BlendPlacement& p) {
  if (p.width * p.height > kMaxKeptTexels || p.columns <= 0 || p.rows <= 0) return false;
  const uint32_t* under = nullptr;
  uint32_t colour = 0;
  Key key{p.serial, 0, std::bit_cast<uint64_t>(p.alpha), 0};
  if (SamePlace(p) && DestShowsFrame(p, Last.texels)) {
    under = Last.texels;
    key.under = Last.serial;
  } else if (DestIsOneColour(p, colour)) {
    key.colour = colour;
  } else {
    return false;
  }
  auto found = Kept.find(key);
  if (found == Kept.end()) {
    if (Kept.size() >= kMaxKept) Kept.clear();
    found = Kept.emplace(key, Blended(p, under, colour)).first;
  }
  CopyOut(p, found->second);
  return true;
}
