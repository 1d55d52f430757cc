// Rows are compared whole first (most are the same), and a row that differs is narrowed from
// both ends in chunks, so a moving sprite costs its own width and not the frame's.
#include "platform/render/frame_changes.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

// Rows per band: one rectangle per band keeps the list short without sending much more than
// changed. Columns are narrowed in chunks of this many pixels.
constexpr int kBandRows = 8;
static_assert(ChangedBlocks::kSize == kBandRows, "a band is one row of blocks");
constexpr int kChunk = 16;
// Noted blocks this close together are compared as one run: a few more pixels compared cost
// less than another call.
constexpr int kJoinedGap = 4;

struct Span {
  int x0 = 0, x1 = 0;  // x1 exclusive; x0 == x1: the row is the same
};

Span ChangedSpan(const uint32_t* now, const uint32_t* before, int width) {
  const size_t row_bytes = static_cast<size_t>(width) * sizeof(uint32_t);
  if (std::memcmp(now, before, row_bytes) == 0) return {};
  int x0 = 0;
  while (x0 + kChunk < width && std::memcmp(now + x0, before + x0, kChunk * sizeof(uint32_t)) == 0)
    x0 += kChunk;
  int x1 = width;
  while (x1 - kChunk > x0 &&
         std::memcmp(now + x1 - kChunk, before + x1 - kChunk, kChunk * sizeof(uint32_t)) == 0)
    x1 -= kChunk;
  return {x0, x1};
}

// What changed in one band: the columns from the leftmost change to the rightmost, and the
// rows from the first changed to the last.
struct BandChange {
  int x0, x1, y0 = -1, y1 = -1;
};

// Columns from..to-1 of a band's rows compared with the copy, and what differs copied over.
void CompareColumns(const uint32_t* frame, uint32_t* copy, int width, int band, int rows, int from,
                    int to, BandChange& change) {
  for (int y = band; y < band + rows; ++y) {
    const size_t at = static_cast<size_t>(y) * width;
    Span span = ChangedSpan(frame + at + from, copy + at + from, to - from);
    if (span.x0 == span.x1) continue;
    span.x0 += from;
    span.x1 += from;
    std::memcpy(copy + at + span.x0, frame + at + span.x0,
                static_cast<size_t>(span.x1 - span.x0) * sizeof(uint32_t));
    // The band's runs are compared one after another, each from the band's top row: the rows
    // found so far grow both ways.
    change.x0 = std::min(change.x0, span.x0);
    change.x1 = std::max(change.x1, span.x1);
    change.y0 = change.y0 < 0 ? y : std::min(change.y0, y);
    change.y1 = std::max(change.y1, y + 1);
  }
}

}  // namespace

const std::vector<FrameRect>& ShownFrame::Update(const uint32_t* frame, int width, int height) {
  Changes.clear();
  constexpr int kBlock = ChangedBlocks::kSize;
  const bool noted = HasNote && frame == Source && width <= ChangedBlocks::kColumns * kBlock &&
                     height <= ChangedBlocks::kRows * kBlock;
  const ChangedBlocks blocks = Noted;
  Noted = ChangedBlocks{};
  HasNote = false;
  Source = frame;
  if (!frame || width <= 0 || height <= 0) return Changes;
  const size_t size = static_cast<size_t>(width) * height;
  if (width != Width || height != Height) {
    Copy.assign(frame, frame + size);
    Width = width;
    Height = height;
    Changes.push_back({0, 0, width, height});
    return Changes;
  }
  const int block_columns = (width + kBlock - 1) / kBlock;
  for (int band = 0; band < height; band += kBandRows) {
    const int rows = std::min(kBandRows, height - band);
    BandChange change{width, 0};
    if (!noted) {
      CompareColumns(frame, Copy.data(), width, band, rows, 0, width, change);
    } else {
      // Only the runs of noted blocks, the nearest joined: every other pixel is as shown.
      const int row = band / kBlock;
      int first = blocks.Next(row, 0, true);
      while (first < block_columns) {
        int end = blocks.Next(row, first, false);
        int next = blocks.Next(row, end, true);
        while (next < block_columns && next - end <= kJoinedGap) {
          end = blocks.Next(row, next, false);
          next = blocks.Next(row, end, true);
        }
        CompareColumns(frame, Copy.data(), width, band, rows, first * kBlock,
                       std::min(width, end * kBlock), change);
        first = next;
      }
    }
    if (change.y0 < 0) continue;
    FrameRect* last = Changes.empty() ? nullptr : &Changes.back();
    // A band under the last, as wide: one taller rectangle.
    if (last && last->x == change.x0 && last->width == change.x1 - change.x0 &&
        last->y + last->height == change.y0) {
      last->height = change.y1 - last->y;
    } else {
      Changes.push_back({change.x0, change.y0, change.x1 - change.x0, change.y1 - change.y0});
    }
  }
  return Changes;
}

std::vector<FrameRect> CoverRows(const std::vector<FrameRect>& a, const std::vector<FrameRect>& b,
                                 int width, int height) {
  RowCover cover;
  return cover.Of(a, b, width, height);
}

const std::vector<FrameRect>& RowCover::Of(const std::vector<FrameRect>& a,
                                           const std::vector<FrameRect>& b, int width, int height) {
  Rows.clear();
  if (width <= 0 || height <= 0) return Rows;
  if (b.empty() || a.empty()) {
    Rows.assign(b.empty() ? a.begin() : b.begin(), b.empty() ? a.end() : b.end());
    return Rows;
  }
  Left.assign(static_cast<size_t>(height), width);
  Right.assign(static_cast<size_t>(height), 0);
  for (const auto* list : {&a, &b}) {
    for (const FrameRect& r : *list) {
      const int x0 = std::max(r.x, 0), x1 = std::min(r.x + r.width, width);
      for (int y = std::max(r.y, 0); y < std::min(r.y + r.height, height) && x0 < x1; ++y) {
        Left[y] = std::min(Left[y], x0);
        Right[y] = std::max(Right[y], x1);
      }
    }
  }
  for (int y = 0; y < height; ++y) {
    if (Left[y] >= Right[y]) continue;
    FrameRect* last = Rows.empty() ? nullptr : &Rows.back();
    if (last && last->x == Left[y] && last->width == Right[y] - Left[y] &&
        last->y + last->height == y) {
      ++last->height;
    } else {
      Rows.push_back({Left[y], y, Right[y] - Left[y], 1});
    }
  }
  return Rows;
}
