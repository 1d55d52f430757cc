// The kept blends of a frame over a tile or one colour, and the opaque copy held back.
#include "platform/render/blend_composites.h"

#include <bit>
#include <utility>
#include <vector>

#include "platform/render/alpha_blend.h"
#include "platform/render/draw.h"
#include "platform/render/known_colour_blocks.h"
#include "platform/render/pixel_spans.h"

namespace {

// Tiles and actor frames; a bigger image is blended directly rather than kept.
constexpr int kMaxKeptTexels = 64 * 64;
// The views use a few hundred pairs. A pair's hash picks a set of four slots of a table, and it
// takes one of them, a free one or else the one used longest ago: a few hundred pairs in 512
// sets almost never crowd one. (With one slot a pair, a score of pairs that both showed and met
// in a slot threw each other out every frame, and were blended anew.) The kept results are bounded
// in bytes (the table's slots and every result's texels; some 300 KiB under the benchmarks' crowd);
// past the bound something unusual is drawing and they all start afresh.
constexpr size_t kSlots = 2048;
constexpr size_t kWays = 4;
static_assert(std::has_single_bit(kSlots) && std::has_single_bit(kWays) && kWays <= kSlots);
constexpr size_t kMaxKeptBytes = size_t{2} << 20;

struct OpaqueCopy {
  const uint32_t* texels = nullptr;
  int width = 0, height = 0;
  uint64_t serial = 0;  // 0: no copy held back
  int x = 0, y = 0, columns = 0, rows = 0, u = 0, v = 0;
};
OpaqueCopy Held;

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

struct Slot {
  Key key{};
  uint64_t used = 0;                // when it was last found or made
  std::vector<uint32_t> composite;  // empty: the slot is free
};

struct KeptComposites {
  std::vector<Slot> slots = std::vector<Slot>(kSlots);
  size_t bytes = kSlots * sizeof(Slot);
  uint64_t clock = 0;
  size_t made = 0;

  // The kept result for the key, made by `make` when it is not kept.
  template <typename Make>
  const std::vector<uint32_t>& Find(const Key& key, Make make) {
    Slot* const set = &slots[KeyHash{}(key) & (kSlots - kWays)];
    Slot* victim = set;
    for (Slot* slot = set; slot != set + kWays; ++slot) {
      if (!slot->composite.empty() && slot->key == key) {
        slot->used = ++clock;
        return slot->composite;
      }
      if (victim->composite.empty()) continue;
      if (slot->composite.empty() || slot->used < victim->used) victim = slot;
    }
    bytes -= victim->composite.size() * sizeof(uint32_t);
    std::vector<uint32_t> result = make();
    ++made;
    if (bytes + result.size() * sizeof(uint32_t) > kMaxKeptBytes) Clear();
    bytes += result.size() * sizeof(uint32_t);
    victim->key = key;
    victim->used = ++clock;
    victim->composite = std::move(result);
    return victim->composite;
  }

  void Clear() {
    for (Slot& slot : slots)
      std::vector<uint32_t>().swap(slot.composite);
    bytes = kSlots * sizeof(Slot);
  }
};
KeptComposites Kept;

uint32_t* DestRow(const BlendPlacement& p, int j) {
  return RawBackBuffer() + (p.y + j) * kBackBufferWidth + p.x;
}

bool HeldAtSamePlace(const BlendPlacement& p) {
  return Held.serial != 0 && Held.width == p.width && Held.height == p.height && Held.x == p.x &&
         Held.y == p.y && Held.columns == p.columns && Held.rows == p.rows && Held.u == p.u &&
         Held.v == p.v;
}

bool DestIsOneColour(const BlendPlacement& p, uint32_t& colour) {
  colour = *DestRow(p, 0);
  return RectHoldsColour(p.x, p.y, p.x + p.columns, p.y + p.rows, colour);
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

// A composite's pixels have no alpha, so the opaque row kernel copies them as they are: inline,
// where a library copy per 16-pixel row cost more than the row.
void CopyOut(const BlendPlacement& p, const std::vector<uint32_t>& composite) {
  uint32_t* dest = DestRow(p, 0);
  const uint32_t* row = composite.data() + p.v * p.width + p.u;
  for (int j = 0; j < p.rows; ++j, dest += kBackBufferWidth, row += p.width)
    CopySpanOpaque(row, dest, p.columns);
}

}  // namespace

void DeferOpaqueCopy(const uint32_t* texels, int width, int height, uint64_t serial, int x, int y,
                     int columns, int rows, int u, int v) {
  LandDeferredCopy();
  Held = OpaqueCopy{texels, width, height, serial, x, y, columns, rows, u, v};
}

void LandDeferredCopy() {
  if (Held.serial == 0) return;
  Held.serial = 0;
  for (int j = 0; j < Held.rows; ++j) {
    CopySpanOpaque(Held.texels + (Held.v + j) * Held.width + Held.u,
                   RawBackBuffer() + (Held.y + j) * kBackBufferWidth + Held.x, Held.columns);
  }
}

size_t KeptCompositeBytes() {
  return Kept.bytes;
}

size_t KeptCompositesMade() {
  return Kept.made;
}

bool DrawKnownComposite(const BlendPlacement& p) {
  if (!DrawShortcutsOn() || p.width * p.height > kMaxKeptTexels || p.columns <= 0 || p.rows <= 0) {
    LandDeferredCopy();
    return false;
  }
  const uint32_t* under = nullptr;
  uint32_t colour = 0;
  Key key{p.serial, 0, std::bit_cast<uint64_t>(p.alpha), 0};
  if (HeldAtSamePlace(p)) {
    // The copy held back is covered whole by the blend: it never needs to land.
    under = Held.texels;
    key.under = Held.serial;
    Held.serial = 0;
  } else {
    LandDeferredCopy();
    if (!DestIsOneColour(p, colour)) return false;
    key.colour = colour;
  }
  CopyOut(p, Kept.Find(key, [&] { return Blended(p, under, colour); }));
  return true;
}
