// What the window copies after each frame: only the changed areas, and a picture built from
// them (and the overlay blended over them) equal to one built whole, whatever changed where.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "platform/render/frame_changes.h"
#include "platform/render/overlay_compose.h"

namespace {

constexpr int kW = 816, kH = 300;

bool Inside(const FrameRect& r, int x, int y) {
  return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
}

// A window of the frame scaled by `fit`, with a bar's colour around it.
struct Window {
  int width, height;
  std::vector<uint32_t> pixels;
  Window(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0xFF000000u) {}
  uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(pixels.data()); }
  int Pitch() const { return width * 4; }
};

}  // namespace

// Every window pixel of an area copied at each whole scale is the frame pixel it lies over, by
// the plain arithmetic of the fit; pixels outside the area are not touched. Widths and offsets
// of every remainder modulo four, so the fast rows' tails are checked as well as their bodies.
TEST(FrameChangesTest, AnAreaScaledIntoTheWindowIsTheFramePixelUnderEachWindowPixel) {
  constexpr int w = 37, h = 9;
  std::mt19937 random(5);
  std::vector<uint32_t> frame(static_cast<size_t>(w) * h);
  for (auto& pixel : frame)
    pixel = random() & 0xFFFFFF;
  for (int scale = 1; scale <= 5; ++scale) {
    const FrameFit fit = FitFrame(w, h, w * scale + 3, h * scale + 1);
    ASSERT_EQ(fit.scale, scale);
    for (int x = 0; x < 5; ++x) {
      for (int width = 1; width + x <= w; width += 3) {
        const FrameRect area{x, 2, width, 5};
        Window window(w * scale + 3, h * scale + 1);
        ScaleFrameArea(window.Bytes(), window.Pitch(), frame.data(), w, area, fit);
        for (int wy = 0; wy < window.height; ++wy) {
          for (int wx = 0; wx < window.width; ++wx) {
            const int fx = FrameCoordinate(wx, fit.x, scale),
                      fy = FrameCoordinate(wy, fit.y, scale);
            const uint32_t want =
                Inside(area, fx, fy) ? frame[static_cast<size_t>(fy) * w + fx] : 0xFF000000u;
            ASSERT_EQ(window.pixels[static_cast<size_t>(wy) * window.width + wx], want)
                << "scale " << scale << ", area x " << x << " width " << width << ", at " << wx
                << "," << wy;
          }
        }
      }
    }
  }
}

TEST(FrameChangesTest, TheFirstFrameAndANewSizeAreWholeAndARepeatIsNothing) {
  std::vector<uint32_t> frame(static_cast<size_t>(kW) * kH, 7);
  ShownFrame shown;
  auto changes = shown.Update(frame.data(), kW, kH);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].width, kW);
  EXPECT_EQ(changes[0].height, kH);
  EXPECT_TRUE(shown.Update(frame.data(), kW, kH).empty());
  shown.Forget();
  EXPECT_EQ(shown.Update(frame.data(), kW, kH).size(), 1u);
  std::vector<uint32_t> smaller(static_cast<size_t>(100) * 50, 7);
  changes = shown.Update(smaller.data(), 100, 50);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].width, 100);
}

// Every changed pixel lies in a reported area, at the frame's edges too, and a small change
// is reported small.
TEST(FrameChangesTest, EveryChangedPixelIsInsideAnAreaAndTheAreasStaySmall) {
  std::vector<uint32_t> frame(static_cast<size_t>(kW) * kH, 1);
  ShownFrame shown;
  shown.Update(frame.data(), kW, kH);
  const int points[][2] = {{0, 0}, {kW - 1, kH - 1}, {400, 150}, {17, 299}, {815, 8}};
  for (const auto& p : points)
    frame[static_cast<size_t>(p[1]) * kW + p[0]] += 1;
  const auto changes = shown.Update(frame.data(), kW, kH);
  int area = 0;
  for (const auto& r : changes)
    area += r.width * r.height;
  for (const auto& p : points) {
    bool found = false;
    for (const auto& r : changes)
      found = found || Inside(r, p[0], p[1]);
    EXPECT_TRUE(found) << p[0] << "," << p[1];
  }
  EXPECT_LT(area, kW * kH / 20);
  EXPECT_TRUE(shown.Update(frame.data(), kW, kH).empty());
}

// Noted blocks narrow the comparison only for the frame they were noted for: notes add up until
// an Update takes them, and an Update without notes, or of another frame, compares everything.
TEST(FrameChangesTest, OnlyNotedBlocksAreComparedAndOnlyForTheFrameTheyWereNotedFor) {
  std::vector<uint32_t> frame(static_cast<size_t>(kW) * kH, 1);
  ShownFrame shown;
  shown.Update(frame.data(), kW, kH);
  auto touch = [&](int x, int y) { frame[static_cast<size_t>(y) * kW + x] += 1; };
  auto found = [](const std::vector<FrameRect>& changes, int x, int y) {
    for (const auto& r : changes)
      if (Inside(r, x, y)) return true;
    return false;
  };
  ChangedBlocks first, second;
  first.Mark(18, 12);
  second.Mark(101, 37);
  second.MarkPixels(504, 160, 520, 162);  // blocks 63 and 64, either side of a word's end
  touch(150, 100);                        // block 18,12
  touch(815, 299);                        // block 101,37: the last of the frame
  touch(505, 160);
  touch(515, 161);
  touch(400, 10);  // block 50,1: never noted
  shown.NoteChanges(first);
  shown.NoteChanges(second);
  auto changes = shown.Update(frame.data(), kW, kH);
  for (const auto& [x, y] : {std::pair{150, 100}, {815, 299}, {505, 160}, {515, 161}})
    EXPECT_TRUE(found(changes, x, y)) << x << "," << y;
  EXPECT_FALSE(found(changes, 400, 10));
  // Taken: the next Update has no notes and finds the change left out.
  changes = shown.Update(frame.data(), kW, kH);
  EXPECT_TRUE(found(changes, 400, 10));
  EXPECT_EQ(changes.size(), 1u);
  // Notes for one frame say nothing of another.
  std::vector<uint32_t> other = frame;
  other[5] += 1;
  shown.NoteChanges(first);
  EXPECT_TRUE(found(shown.Update(other.data(), kW, kH), 5, 0));
}

// Random frames, each changing in random rectangles: a window painted once and then only in
// the reported areas equals the window painted whole, at scale 1 and 3 with bars, and with the
// rectangles' blocks noted (several runs of blocks in a band, compared one after another).
TEST(FrameChangesTest, AWindowPaintedOnlyWhereChangedEqualsOnePaintedWhole) {
  std::mt19937 random(25);
  for (const auto& [scale, noted] : {std::pair{1, false}, {3, false}, {1, true}, {3, true}}) {
    const int ww = kW * scale + 10, wh = kH * scale + 6;
    const FrameFit fit = FitFrame(kW, kH, ww, wh);
    ASSERT_EQ(fit.scale, scale);
    std::vector<uint32_t> frame(static_cast<size_t>(kW) * kH);
    for (auto& p : frame)
      p = random();
    ShownFrame shown;
    Window partial(ww, wh);
    for (int step = 0; step < 60; ++step) {
      const int count = static_cast<int>(random() % 4);
      ChangedBlocks blocks;
      for (int c = 0; c < count; ++c) {
        const int x = static_cast<int>(random() % kW), y = static_cast<int>(random() % kH);
        const int w = 1 + static_cast<int>(random() % 40), h = 1 + static_cast<int>(random() % 40);
        for (int yy = y; yy < std::min(kH, y + h); ++yy)
          for (int xx = x; xx < std::min(kW, x + w); ++xx)
            frame[static_cast<size_t>(yy) * kW + xx] = random();
        blocks.MarkPixels(x, y, std::min(kW, x + w), std::min(kH, y + h));
      }
      if (noted && step > 0) shown.NoteChanges(blocks);
      for (const auto& area : shown.Update(frame.data(), kW, kH))
        ScaleFrameArea(partial.Bytes(), partial.Pitch(), frame.data(), kW, area, fit);
      Window whole(ww, wh);
      ScaleFrameArea(whole.Bytes(), whole.Pitch(), frame.data(), kW, {0, 0, kW, kH}, fit);
      ASSERT_EQ(partial.pixels, whole.pixels)
          << "scale " << scale << (noted ? ", noted" : "") << ", step " << step;
    }
  }
}

// The window's surface with an overlay that comes, changes and goes: repainting only where the
// frame or the overlay changed, and blending the overlay there once, gives what painting the
// frame whole and blending the whole overlay gives.
TEST(FrameChangesTest, AnOverlayThatChangesAndGoesIsRepaintedExactly) {
  constexpr int w = 96, h = 40, scale = 2;
  std::mt19937 random(21);
  const FrameFit fit = FitFrame(w, h, w * scale + 4, h * scale + 2);
  std::vector<uint32_t> frame(static_cast<size_t>(w) * h, 0x203040);
  std::vector<uint32_t> layer(frame.size(), 0), clear(frame.size(), 0);
  ShownFrame shown, overlay_shown;
  bool overlay_before = false;
  Window partial(w * scale + 4, h * scale + 2);
  for (int step = 0; step < 40; ++step) {
    frame[random() % frame.size()] = random() & 0xFFFFFF;
    // The overlay: a box whose place and alpha change now and then, absent one step in four.
    const bool overlay = step % 4 != 3;
    if (step % 3 == 0) {
      std::fill(layer.begin(), layer.end(), 0);
      const int x = static_cast<int>(random() % (w - 20)),
                y = static_cast<int>(random() % (h - 10));
      const uint32_t alpha = 40 + random() % 200;
      for (int yy = y; yy < y + 10; ++yy)
        for (int xx = x; xx < x + 20; ++xx)
          layer[static_cast<size_t>(yy) * w + xx] = (alpha << 24) | 0xFFEE00;
    }
    const OverlayPlacement where{fit.x,         fit.y,          fit.scale,
                                 partial.width, partial.height, partial.Pitch()};
    std::vector<FrameRect> overlay_changes;
    if (overlay || overlay_before)
      overlay_changes = overlay_shown.Update(overlay ? layer.data() : clear.data(), w, h);
    overlay_before = overlay;
    for (const auto& area : CoverRows(shown.Update(frame.data(), w, h), overlay_changes, w, h)) {
      ScaleFrameArea(partial.Bytes(), partial.Pitch(), frame.data(), w, area, fit);
      if (overlay)
        BlendOverlayArea(layer, w, h, {area.x, area.y, area.x + area.width, area.y + area.height},
                         partial.Bytes(), where);
    }
    Window whole(partial.width, partial.height);
    ScaleFrameArea(whole.Bytes(), whole.Pitch(), frame.data(), w, {0, 0, w, h}, fit);
    if (overlay) BlendOverlayLayer(layer, w, h, whole.Bytes(), where);
    ASSERT_EQ(partial.pixels, whole.pixels) << "step " << step;
  }
}
