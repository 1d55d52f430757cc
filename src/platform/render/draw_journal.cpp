// The journal of a frame's draws: the bins, the comparison with the frame before, and when
// keeping the draws is worth its cost.
#include "platform/render/draw_journal.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/render/blend_composites.h"
#include "platform/render/known_colour_blocks.h"

namespace {

constexpr int kBin = 64;
constexpr int kBinColumns = (kBackBufferWidth + kBin - 1) / kBin;
constexpr int kBinRows = (kBackBufferHeight + kBin - 1) / kBin;
// A frame's records are bounded in bytes: past any of these in one frame something unusual is
// drawing, the rest of the frame is drawn as it comes and nothing is left alone the next. The
// views draw a few hundred times a frame, the benchmarks' crowd some 2,500 times touching some
// 3,000 bins. The draws and the text are reserved whole, for this frame and the one before:
// 2 x (8192 x 104 + 16 KiB) bytes, and the bins' lists hold 16384 indices a frame (64 KiB, at
// most twice that with their slack): about 2 MiB in all (draw.h).
constexpr size_t kMaxDraws = 8192;
constexpr size_t kMaxTextBytes = 16 * 1024;
constexpr size_t kMaxBinEntries = 16 * 1024;
// A frame whose repeated draws are fewer than one in this many shows a picture that keeps
// changing (water everywhere, a crowd): keeping the draws costs more than it saves, so the next
// frames are drawn as they come, unrecorded. Then two frames are recorded again, drawn as they
// come, to look: only when the second repeats enough of the first are bins left alone again.
// A look costs in proportion to the frame's draws, so a busier picture is looked at less often:
// every kPassedFrames frames, and one more for every kDrawsPerPassedFrame draws into bins.
constexpr size_t kWorthKeeping = 4;
constexpr int kPassedFrames = 8;
constexpr size_t kDrawsPerPassedFrame = 128;

struct Bin {
  std::vector<uint32_t> now;     // this frame's draws touching the bin, indices into draws
  std::vector<uint32_t> before;  // the frame before's, indices into before
  size_t matched = 0;            // how many of now's draws repeated before's
  bool live = true;              // drawn as the draws come
  bool differs = false;          // looking: a draw did not repeat the frame before's
  int shift_x = 0, shift_y = 0;  // its pixels came from this far off in the frame before
};

// A view drawn in the frame before: where, from where its camera stood, and whether its draws
// wrote every pixel of it whatever the pixel held.
struct ViewSeen {
  PixelRect rect{};
  int camera_x = 0, camera_y = 0;
  uint64_t frame = 0;
  bool covered = false;
};

// Kept for the whole run and never freed: images freed during shutdown still land what they
// may have been drawn into.
struct Journal {
  Bin bins[kBinRows][kBinColumns];
  std::vector<RecordedDraw> draws, before;
  std::string text, before_text;
  bool enabled = true;
  bool passing = false;      // the rest of this frame is drawn as it comes, unrecorded
  bool looking = true;       // this frame is drawn as it comes, recorded and compared
  int passed_frames = 0;     // frames still to be drawn as they come
  bool before_kept = false;  // every bin's pixels are what its draws of the frame before give
  int left_alone = 0;        // bins the last frame left alone
  size_t bin_entries = 0;    // this frame's indices in the bins' lists
  uint64_t frame = 1;        // frames ended so far, and one
  ViewSeen views[2];
  int next_view = 0;
  std::vector<uint32_t> moved;  // a moved view's bins' lists of the frame before, being built
  Journal() {
    draws.reserve(kMaxDraws);
    before.reserve(kMaxDraws);
    text.reserve(kMaxTextBytes);
    before_text.reserve(kMaxTextBytes);
  }
};
Journal& J = *new Journal;

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

PixelRect BinsRect(int bx0, int bx1, int by) {
  return {bx0 * kBin, by * kBin, std::min((bx1 + 1) * kBin, kBackBufferWidth),
          std::min((by + 1) * kBin, kBackBufferHeight)};
}

std::string_view TextOf(const RecordedDraw& d, const std::string& text) {
  if (d.kind != DrawKind::Text) return {};
  return std::string_view(text).substr(d.text_at, d.text_length);
}

template <typename T>
bool SameBits(T a, T b) {
  return std::bit_cast<std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>>(a) ==
         std::bit_cast<std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>>(b);
}

bool SameLook(const DrawLook& a, const DrawLook& b) {
  return SameBits(a.alpha, b.alpha) && SameBits(a.scale_x, b.scale_x) &&
         SameBits(a.scale_y, b.scale_y) && SameBits(a.origin_x, b.origin_x) &&
         SameBits(a.origin_y, b.origin_y) && a.rgb == b.rgb && a.blend == b.blend;
}

bool SameBound(const PixelRect& a, const PixelRect& b) {
  return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1;
}

// The same call in the same look, but for where it is placed.
bool SameCall(const RecordedDraw& was, const RecordedDraw& now) {
  return was.kind == now.kind && was.repeatable && now.repeatable && was.source == now.source &&
         was.serial == now.serial && was.frame == now.frame && SameBits(was.w, now.w) &&
         SameBits(was.h, now.h) && SameLook(was.look, now.look) &&
         TextOf(was, J.before_text) == TextOf(now, J.text);
}

// `was` from the frame before, `now` from this one. The same call in the same look clipped to
// the same pixels gives the same pixels.
bool SameDraw(const RecordedDraw& was, const RecordedDraw& now) {
  return SameBits(was.x, now.x) && SameBits(was.y, now.y) && SameBound(was.bound, now.bound) &&
         SameCall(was, now);
}

PixelRect Moved(const PixelRect& r, int dx, int dy) {
  return {r.x0 + dx, r.y0 + dy, r.x1 + dx, r.y1 + dy};
}

bool Inside(const PixelRect& inner, const PixelRect& outer) {
  return inner.x0 >= outer.x0 && inner.y0 >= outer.y0 && inner.x1 <= outer.x1 &&
         inner.y1 <= outer.y1;
}

// `was` drawn from a camera (dx, dy) pixels off the one `now` is drawn from, its pixels moved
// with the camera since: the same call placed that much off, unscaled at whole pixels, gives
// the same pixels within the bin (`rect`).
bool SameMovedDraw(const RecordedDraw& was, const RecordedDraw& now, const Bin& bin,
                   const PixelRect& rect) {
  const int dx = bin.shift_x, dy = bin.shift_y;
  return now.look.scale_x == 1.0f && now.look.scale_y == 1.0f && now.x == std::floor(now.x) &&
         now.y == std::floor(now.y) && was.x == now.x + static_cast<float>(dx) &&
         was.y == now.y + static_cast<float>(dy) &&
         SameBound(Intersect(was.bound, Moved(rect, dx, dy)),
                   Moved(Intersect(now.bound, rect), dx, dy)) &&
         SameCall(was, now);
}

bool Repeats(const Bin& bin, const RecordedDraw& now, int bx, int by) {
  if (!J.before_kept || bin.matched >= bin.before.size()) return false;
  const RecordedDraw& was = J.before[bin.before[bin.matched]];
  if (bin.shift_x == 0 && bin.shift_y == 0) return SameDraw(was, now);
  return SameMovedDraw(was, now, bin, BinsRect(bx, bx, by));
}

void Paint(const RecordedDraw& d, const PixelRect& clip) {
  const PixelRect part = Intersect(d.bound, clip);
  if (!part.Empty()) PaintDraw(d, TextOf(d, J.text), part);
}

// The bin's draws so far are drawn into it; from now on its draws are drawn as they come.
void GoLive(Bin& bin, int bx, int by) {
  const PixelRect rect = BinsRect(bx, bx, by);
  for (const uint32_t index : bin.now)
    Paint(J.draws[index], rect);
  bin.live = true;
}

template <typename F>
void ForEachBin(F&& f) {
  for (int by = 0; by < kBinRows; ++by) {
    for (int bx = 0; bx < kBinColumns; ++bx)
      f(J.bins[by][bx], bx, by);
  }
}

// A draw across live and waiting bins: drawn into each run of live bins along each row.
void PaintIntoLiveBins(const RecordedDraw& d, int bx0, int bx1, int by0, int by1) {
  for (int by = by0; by <= by1; ++by) {
    for (int bx = bx0; bx <= bx1;) {
      if (!J.bins[by][bx].live) {
        ++bx;
        continue;
      }
      const int first = bx;
      while (bx <= bx1 && J.bins[by][bx].live)
        ++bx;
      Paint(d, BinsRect(first, bx - 1, by));
    }
  }
}

// Draws are kept while the journal is on and the frame is not passed through.
void Gate() {
  DrawJournalGate.keeping = J.enabled && !J.passing;
}

// The rest of the frame is drawn as it comes: what was put off is drawn now.
void PassRestOfFrame() {
  JournalLandAll();
  J.passing = true;
  Gate();
}

// Whether taking a draw into `bins` bins, with `text_length` characters, would pass the frame's
// byte bounds.
bool OverBudget(size_t bins, size_t text_length) {
  return J.bin_entries + bins > kMaxBinEntries || J.text.size() + text_length > kMaxTextBytes;
}

}  // namespace

JournalGate DrawJournalGate;

RecordedDraw* JournalSlot() {
  if (J.draws.size() >= kMaxDraws) {
    PassRestOfFrame();
    return nullptr;
  }
  return &J.draws.emplace_back();
}

bool JournalTake(std::string_view text) {
  const auto index = static_cast<uint32_t>(J.draws.size() - 1);
  RecordedDraw& d = J.draws.back();
  d.repeatable = d.repeatable && d.look.blend != kBlendAlpha;
  const int bx0 = d.bound.x0 / kBin, bx1 = (d.bound.x1 - 1) / kBin;
  const int by0 = d.bound.y0 / kBin, by1 = (d.bound.y1 - 1) / kBin;
  const auto bins = static_cast<size_t>((bx1 - bx0 + 1) * (by1 - by0 + 1));
  if (OverBudget(bins, d.kind == DrawKind::Text ? text.size() : 0)) {
    // Kept in the list but in no bin: never compared, and the frame is not kept for the next.
    d.repeatable = false;
    PassRestOfFrame();
    return true;
  }
  J.bin_entries += bins;
  if (d.kind == DrawKind::Text) {
    d.text_at = static_cast<uint32_t>(J.text.size());
    d.text_length = static_cast<uint32_t>(text.size());
    J.text.append(text);
  }
  bool all_live = true;
  for (int by = by0; by <= by1; ++by) {
    for (int bx = bx0; bx <= bx1; ++bx) {
      Bin& bin = J.bins[by][bx];
      if (!bin.live || (J.looking && !bin.differs)) {
        if (Repeats(bin, d, bx, by)) {
          ++bin.matched;
        } else if (J.looking) {
          bin.differs = true;
        } else {
          GoLive(bin, bx, by);
        }
      }
      bin.now.push_back(index);
      all_live = all_live && bin.live;
    }
  }
  if (!all_live) PaintIntoLiveBins(d, bx0, bx1, by0, by1);
  return all_live;
}

void JournalEndFrame() {
  // Nothing drawn since the last end (the flip and a screenshot of the same frame): the bins
  // still hold what the frame before's draws give.
  if (!DrawJournalGate.drew) return;
  DrawJournalGate.drew = false;
  const bool compared = J.before_kept && !J.passing;
  size_t kept_draws = 0, all_draws = 0;
  J.left_alone = 0;
  ForEachBin([&](Bin& bin, int bx, int by) {
    const bool repeats = bin.matched == bin.before.size() && !bin.now.empty() &&
                         (J.looking ? !bin.differs : !bin.live);
    J.left_alone += repeats && !J.looking;
    kept_draws += repeats ? bin.now.size() : 0;
    all_draws += bin.now.size();
    // A bin that saw fewer draws than the frame before holds pixels of draws not made now.
    if (!bin.live && bin.matched != bin.before.size()) GoLive(bin, bx, by);
    bin.before.swap(bin.now);
    bin.now.clear();
    bin.matched = 0;
    bin.differs = false;
    bin.shift_x = bin.shift_y = 0;
  });
  ++J.frame;
  J.before_kept = !J.passing;
  J.before.swap(J.draws);
  J.draws.clear();
  J.before_text.swap(J.text);
  J.text.clear();
  J.bin_entries = 0;
  const bool worth = kept_draws * kWorthKeeping >= all_draws;
  if (compared && !worth) {
    J.passed_frames = kPassedFrames + static_cast<int>(all_draws / kDrawsPerPassedFrame);
  }
  J.passing = J.passed_frames > 0;
  if (J.passing) --J.passed_frames;
  Gate();
  // After a pass, and in the frame after, look before leaving anything alone.
  J.looking = !J.passing && !(compared && worth);
  ForEachBin([](Bin& bin, int, int) { bin.live = J.looking; });
}

void JournalForget() {
  JournalEndFrame();
  J.before_kept = false;
}

void JournalLandAll() {
  ForEachBin([](Bin& bin, int bx, int by) {
    if (!bin.live) GoLive(bin, bx, by);
  });
}

int JournalBinsLeftAlone() {
  return J.left_alone;
}

void SetDrawJournal(bool on) {
  JournalForget();
  J.enabled = on;
  J.passing = false;
  Gate();
  J.passed_frames = 0;
  J.looking = true;
  ForEachBin([](Bin& bin, int, int) { bin.live = true; });
}

namespace {

// Whether a draw of this frame so far touched the view: its pixels are then no longer all the
// frame before's.
bool DrawnInto(const PixelRect& view) {
  bool drawn = false;
  ForEachBin([&](Bin& bin, int bx, int by) {
    if (drawn || Intersect(BinsRect(bx, bx, by), view).Empty()) return;
    for (const uint32_t index : bin.now)
      drawn = drawn || !Intersect(J.draws[index].bound, view).Empty();
  });
  return drawn;
}

struct MovedBin {
  Bin* bin;
  PixelRect rect;
  size_t begin, end;  // its list of the frame before, in J.moved
};

// The bins of the view that may still be left alone once its pixels follow the camera: wholly
// inside it, their pixels' source too. Each takes for its list of the frame before the draws
// that touched its source, in order; the others are drawn as their draws come.
int MoveBinLists(const PixelRect& view, int dx, int dy, MovedBin* moved) {
  int count = 0;
  J.moved.clear();
  ForEachBin([&](Bin& bin, int bx, int by) {
    const PixelRect rect = BinsRect(bx, bx, by);
    if (Intersect(rect, view).Empty()) return;
    const PixelRect source = Moved(rect, dx, dy);
    const size_t begin = J.moved.size();
    bool movable = Inside(rect, view) && Inside(source, view);
    for (int y = source.y0 / kBin; movable && y <= (source.y1 - 1) / kBin; ++y) {
      for (int x = source.x0 / kBin; movable && x <= (source.x1 - 1) / kBin; ++x) {
        const std::vector<uint32_t>& from = J.bins[y][x].before;
        movable = J.moved.size() + from.size() <= kMaxBinEntries;
        if (movable) J.moved.insert(J.moved.end(), from.begin(), from.end());
      }
    }
    if (!movable) {
      J.moved.resize(begin);
      if (!bin.live) GoLive(bin, bx, by);
      bin.differs = true;
      return;
    }
    const auto first = J.moved.begin() + static_cast<std::ptrdiff_t>(begin);
    std::sort(first, J.moved.end());
    const auto touched = std::remove_if(first, std::unique(first, J.moved.end()), [&](uint32_t i) {
      return Intersect(J.before[i].bound, source).Empty();
    });
    J.moved.erase(touched, J.moved.end());
    moved[count++] = MovedBin{&bin, rect, begin, J.moved.size()};
  });
  for (int i = 0; i < count; ++i) {
    Bin& bin = *moved[i].bin;
    bin.before.assign(J.moved.begin() + static_cast<std::ptrdiff_t>(moved[i].begin),
                      J.moved.begin() + static_cast<std::ptrdiff_t>(moved[i].end));
    bin.matched = 0;
    bin.shift_x = dx;
    bin.shift_y = dy;
  }
  return count;
}

// The moved bins' pixels become those (dx, dy) off, and so does what is known of their
// colours: bin by bin, rows and columns taken in the order that reads every source pixel before
// anything writes it.
void MovePixels(const MovedBin* moved, int count, int dx, int dy) {
  const PixelRect* at[kBinRows][kBinColumns] = {};
  for (int i = 0; i < count; ++i)
    at[moved[i].rect.y0 / kBin][moved[i].rect.x0 / kBin] = &moved[i].rect;
  uint32_t* pixels = RawBackBuffer();
  for (int k = 0; k < kBinRows; ++k) {
    for (int i = 0; i < kBinColumns; ++i) {
      const PixelRect* r = at[dy > 0 ? k : kBinRows - 1 - k][dx > 0 ? i : kBinColumns - 1 - i];
      if (!r) continue;
      const auto bytes = static_cast<size_t>(r->x1 - r->x0) * sizeof(uint32_t);
      for (int j = 0; j < r->y1 - r->y0; ++j) {
        const int y = dy > 0 ? r->y0 + j : r->y1 - 1 - j;
        std::memmove(pixels + y * kBackBufferWidth + r->x0,
                     pixels + (y + dy) * kBackBufferWidth + r->x0 + dx, bytes);
      }
      MoveKnownColours(r->x0, r->y0, r->x1, r->y1, dx, dy);
    }
  }
}

}  // namespace
void SetViewCamera(int camera_x, int camera_y, bool covers) {
  const DrawState& s = CurrentDrawState();
  const PixelRect view = ViewClip(s);
  covers = covers && s.blend == kBlendMask && s.alpha == 1.0 && s.scale_x == 1.0f &&
           s.scale_y == 1.0f && !view.Empty();
  ViewSeen* seen = nullptr;
  for (ViewSeen& v : J.views) {
    if (SameBound(v.rect, view)) seen = &v;
  }
  // Moving is exact only when the view's draws write every one of its pixels, whatever it held,
  // in the frame before and in this one: then a pixel's value is its draws' alone, wherever the
  // frame before left it.
  const bool follow = seen && seen->frame + 1 == J.frame && seen->covered && covers &&
                      J.before_kept && DrawJournalGate.keeping;
  const int dx = follow ? camera_x - seen->camera_x : 0;
  const int dy = follow ? camera_y - seen->camera_y : 0;
  if (!seen) {
    seen = &J.views[J.next_view];
    J.next_view = (J.next_view + 1) % 2;
  }
  *seen = ViewSeen{view, camera_x, camera_y, J.frame, covers};
  if ((dx == 0 && dy == 0) || std::abs(dx) >= view.x1 - view.x0 ||
      std::abs(dy) >= view.y1 - view.y0) {
    return;
  }
  if (DrawnInto(view)) return;
  LandDeferredCopy();
  MovedBin moved[kBinRows * kBinColumns];
  const int count = MoveBinLists(view, dx, dy, moved);
  // Looking, every bin is drawn as its draws come: only the lists need to follow.
  if (!J.looking) MovePixels(moved, count, dx, dy);
}
