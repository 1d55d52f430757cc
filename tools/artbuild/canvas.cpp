// The art builder's drawing surface: colour mixing and shading, the seeded generator and
// noise, lines, circles, blits and the outline, and the pixels as a file wants them.
#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace art {

namespace {
int Clamp255(float v) {
  return std::clamp(int(std::lround(v)), 0, 255);
}

uint64_t Mix64(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}
}  // namespace

Colour Mix(Colour a, Colour b, float t) {
  auto lerp = [t](int x, int y) { return Clamp255(float(x) + (float(y) - float(x)) * t); };
  return Rgb(lerp(Red(a), Red(b)), lerp(Green(a), Green(b)), lerp(Blue(a), Blue(b)));
}

Colour Shade(Colour c, float factor) {
  return Rgb(Clamp255(float(Red(c)) * factor), Clamp255(float(Green(c)) * factor),
             Clamp255(float(Blue(c)) * factor));
}

Colour Brighten(Colour c, int amount) {
  return Rgb(std::clamp(Red(c) + amount, 0, 255), std::clamp(Green(c) + amount, 0, 255),
             std::clamp(Blue(c) + amount, 0, 255));
}

uint64_t Rng::Next() {
  State += 0x9E3779B97F4A7C15ull;
  return Mix64(State);
}

int Rng::Below(int n) {
  return n <= 1 ? 0 : int(Next() % uint64_t(n));
}
int Rng::Range(int lo, int hi) {
  return lo + Below(hi - lo + 1);
}
float Rng::Unit() {
  return float(Next() >> 40) / float(1 << 24);
}

float Hash01(uint64_t seed, int x, int y) {
  uint64_t h = Mix64(seed * 0x100000001B3ull ^ (uint64_t(uint32_t(x)) << 32) ^ uint32_t(y));
  return float(h >> 40) / float(1 << 24);
}

float ValueNoise(uint64_t seed, float x, float y, int period) {
  auto wrap = [period](int v) { return ((v % period) + period) % period; };
  int x0 = int(std::floor(x));
  int y0 = int(std::floor(y));
  float fx = x - float(x0);
  float fy = y - float(y0);
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  float a = Hash01(seed, wrap(x0), wrap(y0));
  float b = Hash01(seed, wrap(x0 + 1), wrap(y0));
  float c = Hash01(seed, wrap(x0), wrap(y0 + 1));
  float d = Hash01(seed, wrap(x0 + 1), wrap(y0 + 1));
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

Canvas::Canvas(int width, int height, Colour fill)
    : W(width), H(height), Pixels(size_t(width) * size_t(height), fill) {}

void Canvas::Fill(int x, int y, int w, int h, Colour c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      Set(i, j, c);
}

void Canvas::HLine(int x0, int x1, int y, Colour c) {
  for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
    Set(x, y, c);
}

void Canvas::VLine(int x, int y0, int y1, Colour c) {
  for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
    Set(x, y, c);
}

void Canvas::Line(int x0, int y0, int x1, int y1, Colour c, int pen) {
  int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Fill(x0, y0, pen, pen, c);
    if (x0 == x1 && y0 == y1) break;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void Canvas::FillCircle(float cx, float cy, float r, Colour c) {
  for (int y = int(std::floor(cy - r)); y <= int(std::ceil(cy + r)); ++y)
    for (int x = int(std::floor(cx - r)); x <= int(std::ceil(cx + r)); ++x) {
      float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
      if (dx * dx + dy * dy <= r * r) Set(x, y, c);
    }
}

void Canvas::Blit(const Canvas& src, int x, int y, bool mirror) {
  for (int j = 0; j < src.H; ++j)
    for (int i = 0; i < src.W; ++i) {
      Colour c = src.Get(mirror ? src.W - 1 - i : i, j);
      if (Opaque(c)) Set(x + i, y + j, c);
    }
}

void Canvas::BlitPart(const Canvas& src, int sx, int sy, int w, int h, int x, int y) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      Set(x + i, y + j, src.Get(sx + i, sy + j));
}

void Canvas::Outline(Colour c, int maxRow) {
  Canvas before = *this;
  for (int y = 0; y <= std::min(maxRow, H - 1); ++y)
    for (int x = 0; x < W; ++x) {
      if (Opaque(before.Get(x, y))) continue;
      if (Opaque(before.Get(x - 1, y)) || Opaque(before.Get(x + 1, y)) ||
          Opaque(before.Get(x, y - 1)) || Opaque(before.Get(x, y + 1)))
        Set(x, y, c);
    }
}

std::vector<uint32_t> Canvas::ForFile() const {
  std::vector<uint32_t> out(Pixels.size());
  for (size_t i = 0; i < Pixels.size(); ++i) {
    Colour c = Pixels[i];
    // A drawn pixel that happens to hit the mask colour would vanish in the game.
    if (Opaque(c) && (c | 0xFF000000u) == kMaskColour) c = Rgb(122, 201, 254);
    out[i] = Opaque(c) ? (c | 0xFF000000u) : kMaskColour;
  }
  return out;
}

}  // namespace art
