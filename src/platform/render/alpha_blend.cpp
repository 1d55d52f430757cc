// The tables of exact blend results, one per alpha in use.
#include "platform/render/alpha_blend.h"

#include <array>
#include <memory>

namespace {

using BlendTable = std::array<uint8_t, 256 * 256>;

struct CachedTable {
  double alpha = -1.0;
  std::unique_ptr<BlendTable> results;
};

// A handful is plenty: the game uses one alpha; tests and odd callers may use a few more.
constexpr int kCachedTables = 8;
std::array<CachedTable, kCachedTables> Cache;
int NextSlot = 0;

void Fill(BlendTable& table, double alpha) {
  for (uint32_t source = 0; source < 256; ++source) {
    for (uint32_t dest = 0; dest < 256; ++dest) {
      table[source << 8 | dest] = static_cast<uint8_t>(BlendChannelExact(source, dest, alpha));
    }
  }
}

}  // namespace

const uint8_t* BlendTableFor(double alpha) {
  for (const CachedTable& cached : Cache) {
    if (cached.results && cached.alpha == alpha) return cached.results->data();
  }
  CachedTable& slot = Cache[NextSlot];
  NextSlot = (NextSlot + 1) % kCachedTables;
  if (!slot.results) slot.results = std::make_unique<BlendTable>();
  Fill(*slot.results, alpha);
  slot.alpha = alpha;
  return slot.results->data();
}
