// Signs, banners and windows: a picture set on a plate or a wall.
#include <cmath>

#include "patterns.h"

namespace art {

namespace {

// Symbols painted on sign plates, 8 by 8, 'x' for paint.
const char* const kSymbols[][8] = {
    {"........", "...x....", "...xx...", "xxxxxx..", "xxxxxxx.", "xxxxxx..", "...xx...",
     "...x...."},
    {"........", "....x...", "...xx...", "..xxxxxx", ".xxxxxxx", "..xxxxxx", "...xx...",
     "....x..."},
    {"...xx...", "..xxxx..", ".xxxxxx.", "xxxxxxxx", "..xxxx..", "..xxxx..", "..xxxx..",
     "........"},
    {"........", "..xxxx..", "..xxxx..", "..xxxx..", "xxxxxxxx", ".xxxxxx.", "..xxxx..",
     "...xx..."},
    {"...xx...", "...xx...", "...xx...", "...xx...", "...xx...", "........", "...xx...",
     "...xx..."},
    {"..xxxx..", ".xx..xx.", ".....xx.", "....xx..", "...xx...", "........", "...xx...",
     "...xx..."},
    {"..xxxx..", ".xxxxxx.", ".x.xx.x.", ".xxxxxx.", "..xxxx..", "..x..x..", "..xxxx..",
     "........"},
    {"...x....", "...x....", "..xxx...", "xxxxxxx.", ".xxxxx..", "..x.x...", ".x...x..",
     "........"},
    {"........", ".xx.xx..", "xxxxxxx.", "xxxxxxx.", ".xxxxx..", "..xxx...", "...x....",
     "........"},
    {"........", "...xx...", "...xx...", ".xxxxxx.", ".xxxxxx.", "...xx...", "...xx...",
     "........"},
    {"........", ".xx..xx.", "..xxxx..", "...xx...", "..xxxx..", ".xx..xx.", "........",
     "........"},
    {"..xxx...", ".x...x..", ".x...x..", "..xxx...", "...x....", "...xx...", "...x....",
     "...xx..."},
    {"..xxxx..", ".xx..xx.", "xx.xx.xx", "xx.xx.xx", "xx.xx.xx", ".xx..xx.", "..xxxx..",
     "........"},
    {"...xx...", "..x..x..", "..x..x..", "...xx...", "..xxxx..", ".x.xx.x.", "...xx...",
     "..x..x.."},
    {"xxxxxxxx", "x......x", "x.xxxx.x", "x.x..x.x", "x.xxxx.x", "x......x", "xxxxxxxx",
     "........"},
    {"........", "..x..x..", ".xxxxxx.", "..x..x..", "..x..x..", ".xxxxxx.", "..x..x..",
     "........"},
};
constexpr int kSymbolCount = int(sizeof kSymbols / sizeof kSymbols[0]);

void PaintSymbol(Canvas& t, int symbol, int ox, int oy, Colour ink, Colour shadow) {
  const char* const* rows = kSymbols[symbol % kSymbolCount];
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (rows[y][x] == 'x') {
        if (t.Get(ox + x + 1, oy + y + 1) != ink) t.Set(ox + x + 1, oy + y + 1, shadow);
        t.Set(ox + x, oy + y, ink);
      }
}

}  // namespace

// A framed plate with a symbol: arrows, warnings, a skull, a star, a heart, a key...
void Sign(Canvas& t, const PatternArgs& a) {
  const Ramp& plate = a.R.Body;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      t.Set(x, y, plate.At(0.55f - float(y) / 60.0f + (Hash01(a.Seed, x, y) - 0.5f) * 0.1f));
  Colour frame = plate.Tone(0);
  t.HLine(0, 15, 0, frame);
  t.HLine(0, 15, 15, frame);
  t.VLine(0, 0, 15, frame);
  t.VLine(15, 0, 15, frame);
  t.HLine(1, 14, 1, plate.Lightest());
  t.VLine(1, 1, 14, plate.Lightest());
  PaintSymbol(t, a.V, 4, 4, a.R.Accent.Lightest(), a.R.Accent.Tone(0));
}

// A cloth hanging from a rod in front of a wall, with an emblem and a notched hem.
void Banner(Canvas& t, const PatternArgs& a) {
  NoiseFill(t, a.R.Body, a.Seed, 4, a.R.Speckle);
  const Ramp& cloth = a.R.Accent;
  t.HLine(1, 14, 1, Rgb(90, 70, 40));
  t.Set(1, 0, Rgb(120, 96, 56));
  t.Set(14, 0, Rgb(120, 96, 56));
  for (int y = 2; y < 16; ++y)
    for (int x = 3; x <= 12; ++x) {
      bool notch = y >= 13 && std::abs(x - 7.5f) < float(y - 12) * 1.2f;
      if (notch) continue;
      float fold = (x % 3 == 0) ? -0.15f : 0.0f;
      t.Set(x, y, cloth.At(0.6f + fold - float(y) / 50.0f));
    }
  Colour mark = cloth.Lightest();
  switch (a.V % 4) {
    case 0:
      t.FillCircle(7.5f, 7.5f, 2.5f, mark);
      break;
    case 1:
      for (int k = -3; k <= 3; ++k) {
        t.Set(8 + k, 7, mark);
        t.Set(8, 7 + k, mark);
      }
      break;
    case 2:
      for (int k = 0; k < 4; ++k)
        t.HLine(7 - k, 8 + k, 4 + k, mark);
      break;
    default:
      t.HLine(4, 11, 5, mark);
      t.HLine(4, 11, 9, mark);
      break;
  }
}

// A window in a wall: the glass dark, or lit from within on odd variants; square, arched,
// round or barred.
void WindowPane(Canvas& t, const PatternArgs& a) {
  NoiseFill(t, a.R.Body, a.Seed, 4, a.R.Speckle);
  for (int y = 7; y < 16; y += 8)
    t.HLine(0, 15, y, a.R.Body.Tone(0));
  const Ramp& glass = a.R.Accent;
  const bool lit = a.V % 2 == 1;
  const int shape = (a.V / 2) % 4;
  Colour frame = Rgb(70, 52, 34);
  auto inside = [&](int x, int y) {
    if (shape == 2) return std::hypot(float(x) - 7.5f, float(y) - 7.5f) < 5.2f;
    if (y < 3 || y > 13 || x < 3 || x > 12) return false;
    if (shape == 1 && y < 6) return std::hypot(float(x) - 7.5f, float(y) - 6.0f) < 4.6f;
    return true;
  };
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      if (!inside(x, y)) {
        if (inside(x + 1, y) || inside(x - 1, y) || inside(x, y + 1) || inside(x, y - 1))
          t.Set(x, y, frame);
        continue;
      }
      float v = lit ? 0.75f + float(y) / 60.0f : 0.2f + float(x + y) / 80.0f;
      t.Set(x, y, glass.At(v));
    }
  Colour bar = frame;
  if (shape == 3) {
    for (int x = 5; x < 12; x += 3)
      t.VLine(x, 3, 13, Rgb(40, 40, 46));
  } else {
    t.VLine(7, 2, 13, bar);
    t.HLine(3, 12, 8, bar);
  }
}

}  // namespace art
