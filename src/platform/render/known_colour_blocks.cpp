// The 8x8 blocks known to hold one colour, the fills that skip them, and the blocks written
// since the window last took them.
#include "platform/render/known_colour_blocks.h"

#include <algorithm>

#include "platform/render/draw.h"
#include "platform/render/pixel_spans.h"

namespace {

constexpr int kBlock = 8;
constexpr int kBlockShift = 3;
static_assert(kBlock == 1 << kBlockShift);
constexpr int kBlockColumns = (kBackBufferWidth + kBlock - 1) / kBlock;
constexpr int kBlockRows = (kBackBufferHeight + kBlock - 1) / kBlock;

// Each block keeps the colour it is known to hold beside the epoch it learned it in, as one
// word: forgetting every block (each time the pixels are handed out of the drawing layer) is
// then a step of the epoch, not a clear of the whole table. Epoch 0 is never current, so a
// block written as 0 is unknown.
uint64_t Known[kBlockRows][kBlockColumns];
uint64_t Epoch = uint64_t{1} << 32;

constexpr uint64_t kUnknown = 0;

// Every pixel the drawing writes is first forgotten here or filled here: so these are the
// blocks written since they were last taken (all of them at the start, and once the pixels
// were handed out).
ChangedBlocks Written = ChangedBlocks::All();
static_assert(ChangedBlocks::kSize == kBlock && ChangedBlocks::kColumns >= kBlockColumns &&
              ChangedBlocks::kRows >= kBlockRows);

uint64_t Holding(uint32_t colour) {
  return Epoch | colour;
}

void FillPart(int left, int top, int right, int bottom, uint32_t colour) {
  Written.MarkPixels(left, top, right, bottom);
  for (int y = top; y < bottom; ++y)
    FillSpan(RawBackBuffer() + y * kBackBufferWidth + left, right - left, colour);
}

bool PartHoldsColour(int left, int top, int right, int bottom, uint32_t colour) {
  for (int y = top; y < bottom; ++y) {
    const uint32_t* row = RawBackBuffer() + y * kBackBufferWidth;
    for (int x = left; x < right; ++x) {
      if (row[x] != colour) return false;
    }
  }
  return true;
}

}  // namespace

bool RectHoldsColour(int x0, int y0, int x1, int y1, uint32_t colour) {
  const uint64_t holding = Holding(colour);
  for (int by = y0 / kBlock; by * kBlock < y1; ++by) {
    const int top = std::max(y0, by * kBlock), bottom = std::min(y1, by * kBlock + kBlock);
    for (int bx = x0 / kBlock; bx * kBlock < x1; ++bx) {
      if (Known[by][bx] == holding) continue;
      const int left = std::max(x0, bx * kBlock), right = std::min(x1, bx * kBlock + kBlock);
      if (!PartHoldsColour(left, top, right, bottom, colour)) return false;
    }
  }
  return true;
}

// Called for every draw, most of them a tile or a sprite across two or three blocks a row:
// those are forgotten by plain stores, the width chosen once for all the rows, rather than by
// a fill (which becomes a call of memset per block row). The rectangle lies in the buffer, so
// its blocks are found by shifts.
void ForgetKnownColours(int x0, int y0, int x1, int y1) {
  if (x0 >= x1 || y0 >= y1) return;
  const int first = x0 >> kBlockShift, last = (x1 - 1) >> kBlockShift;
  const int top = y0 >> kBlockShift, rows = ((y1 - 1) >> kBlockShift) - top + 1;
  const int count = last - first + 1;
  // The blocks are written too: those of a row lie in one word of the written rows, but where
  // the draw straddles two.
  constexpr int kWordShift = 6;
  static_assert(ChangedBlocks::kWordBits == 1 << kWordShift);
  const int word = first >> kWordShift;
  const bool one_word = word == last >> kWordShift;
  const uint64_t written_bits = one_word ? (~uint64_t{0} >> (ChangedBlocks::kWordBits - count))
                                               << (first & (ChangedBlocks::kWordBits - 1))
                                         : 0;
  if (!one_word) Written.MarkBlocks(first, last, top, top + rows - 1);
  uint64_t* known = &Known[top][first];
  uint64_t* written = &Written.rows[top][word];
  auto each_row = [&](auto forget) {
    for (int j = 0; j < rows; ++j, known += kBlockColumns, written += ChangedBlocks::kWords) {
      *written |= written_bits;
      forget(known);
    }
  };
  switch (count) {
    case 1:
      each_row([](uint64_t* k) { k[0] = kUnknown; });
      break;
    case 2:
      each_row([](uint64_t* k) { k[0] = k[1] = kUnknown; });
      break;
    case 3:
      each_row([](uint64_t* k) { k[0] = k[1] = k[2] = kUnknown; });
      break;
    default:
      each_row([count](uint64_t* k) { std::fill(k, k + count, kUnknown); });
      break;
  }
}

void ForgetAllKnownColours() {
  Written = ChangedBlocks::All();
  Epoch += uint64_t{1} << 32;
  // After 2^32 steps the epochs come round: every block is forgotten for real.
  if (Epoch == 0) {
    std::fill(&Known[0][0], &Known[0][0] + kBlockRows * kBlockColumns, kUnknown);
    Epoch = uint64_t{1} << 32;
  }
}

// Along each band of block rows, the blocks needing the colour are filled in runs; a block the
// rectangle covers whole then holds the colour, one it covers in part (and did not hold the
// colour) is unknown. Runs of blocks known to hold it, most of a sky, are passed over quickly.
void FillKnowingColours(int x0, int y0, int x1, int y1, uint32_t colour) {
  if (x0 >= x1 || y0 >= y1) return;
  if (!DrawShortcutsOn()) {
    FillPart(x0, y0, x1, y1, colour);
    return;
  }
  const int last = (x1 - 1) / kBlock;
  const uint64_t holding = Holding(colour);
  for (int by = y0 / kBlock; by * kBlock < y1; ++by) {
    const int top = std::max(y0, by * kBlock), bottom = std::min(y1, by * kBlock + kBlock);
    const bool whole_rows = bottom - top == kBlock;
    uint64_t* known = Known[by];
    for (int bx = x0 / kBlock; bx <= last;) {
      // A block known to hold the colour holds it in any part as well, and keeps holding it.
      if (known[bx] == holding) {
        ++bx;
        continue;
      }
      const int first = bx;
      while (bx <= last && known[bx] != holding)
        ++bx;
      FillPart(std::max(x0, first * kBlock), top, std::min(x1, bx * kBlock), bottom, colour);
      for (int k = first; k < bx; ++k) {
        const bool whole = whole_rows && k * kBlock >= x0 && k * kBlock + kBlock <= x1;
        known[k] = whole ? holding : kUnknown;
      }
    }
  }
}

ChangedBlocks TakeBackBufferChanges() {
  const ChangedBlocks written = Written;
  Written = ChangedBlocks{};
  return written;
}
