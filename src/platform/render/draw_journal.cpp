// The journal of a frame's draws: the bins, the comparison with the frame before, and when
// keeping the draws is worth its cost.
#include "platform/render/draw_journal.h"

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

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
// The first such frame after frames that repeated enough is borne, though: both views moving
// at once for a frame is no crowd, and the next frame is compared as usual.
// A look costs in proportion to the frame's draws, so a busier picture is looked at less often:
// every kPassedFrames frames, and one more for every kDrawsPerPassedFrame draws into bins. And
// each look that finds the picture still changing doubles the wait before the next, up to
// kMostDoublings times (64 frames, about a second): the benchmarks' crowd, which never stands
// still, is recorded in two frames of some eighty rather than of some thirty, and a picture
// that settles is still found within a second.
constexpr size_t kWorthKeeping = 4;
constexpr int kPassedFrames = 8;
constexpr size_t kDrawsPerPassedFrame = 128;
constexpr int kMostDoublings = 3;

struct Bin {
  std::vector<uint32_t> now;     // this frame's draws touching the bin, indices into draws
  std::vector<uint32_t> before;  // the frame before's, indices into before
  size_t matched = 0;            // how many of now's draws repeated before's
  bool live = true;              // drawn as the draws come
  bool differs = false;          // looking: a draw did not repeat the frame before's
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
  int failed_looks = 0;      // compared frames in a row that repeated too little
  bool missed = false;       // the last frame repeated too little, and was borne
  bool before_kept = false;  // every bin's pixels are what its draws of the frame before give
  int left_alone = 0;        // bins the last frame left alone
  size_t bin_entries = 0;    // this frame's indices in the bins' lists
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

// `was` from the frame before, `now` from this one. The same call in the same look clipped to
// the same pixels gives the same pixels.
bool SameDraw(const RecordedDraw& was, const RecordedDraw& now) {
  return was.kind == now.kind && was.repeatable && now.repeatable && was.source == now.source &&
         was.serial == now.serial && was.frame == now.frame && SameBits(was.x, now.x) &&
         SameBits(was.y, now.y) && SameBits(was.w, now.w) && SameBits(was.h, now.h) &&
         SameBound(was.bound, now.bound) && SameLook(was.look, now.look) &&
         (now.kind != DrawKind::Text || TextOf(was, J.before_text) == TextOf(now, J.text));
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
        if (J.before_kept && bin.matched < bin.before.size() &&
            SameDraw(J.before[bin.before[bin.matched]], d)) {
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
  });
  J.before_kept = !J.passing;
  J.before.swap(J.draws);
  J.draws.clear();
  J.before_text.swap(J.text);
  J.text.clear();
  J.bin_entries = 0;
  const bool worth = kept_draws * kWorthKeeping >= all_draws;
  // A single frame that repeated too little, right after one that repeated enough, is borne:
  // both views moving at once for a moment is no crowd.
  const bool borne = compared && !worth && !J.looking && !J.missed;
  J.missed = borne;
  if (compared && !worth && !borne) {
    J.passed_frames = (kPassedFrames << std::min(J.failed_looks, kMostDoublings)) +
                      static_cast<int>(all_draws / kDrawsPerPassedFrame);
    J.failed_looks = std::min(J.failed_looks + 1, kMostDoublings);
  } else if (compared && worth) {
    J.failed_looks = 0;
  }
  J.passing = J.passed_frames > 0;
  if (J.passing) --J.passed_frames;
  Gate();
  // After a pass, and in the frame after, look before leaving anything alone.
  J.looking = !J.passing && !(compared && (worth || borne));
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
  J.failed_looks = 0;
  J.missed = false;
  J.looking = true;
  ForEachBin([](Bin& bin, int, int) { bin.live = true; });
}
