// Drawing surface and colour helpers shared by every picture the art builder makes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// 0xAARRGGBB. Alpha is only used here to mark transparency; files carry the mask colour.
using Colour = uint32_t;

constexpr Colour kTransparent = 0x00000000u;
// The game turns this exact sky blue into transparent pixels when it loads an image.
constexpr Colour kMaskColour = 0xFF7AC9FFu;

constexpr Colour Rgb(int r, int g, int b) {
  return 0xFF000000u | (uint32_t(r & 255) << 16) | (uint32_t(g & 255) << 8) | uint32_t(b & 255);
}
inline int Red(Colour c) {
  return int((c >> 16) & 255);
}
inline int Green(Colour c) {
  return int((c >> 8) & 255);
}
inline int Blue(Colour c) {
  return int(c & 255);
}
inline bool Opaque(Colour c) {
  return (c >> 24) != 0;
}

// Linear blend, t = 0 gives a, t = 1 gives b.
Colour Mix(Colour a, Colour b, float t);
// Scales the brightness; factors above 1 lighten (clamped at 255).
Colour Shade(Colour c, float factor);
// Nudges r, g and b by the same amount, clamped.
Colour Brighten(Colour c, int amount);

// A small deterministic generator (SplitMix64): the same seed gives the same art on every run
// and every machine, which a library generator does not promise.
class Rng {
 public:
  explicit Rng(uint64_t seed) : State(seed) {}
  uint64_t Next();
  int Below(int n);           // 0 .. n-1
  int Range(int lo, int hi);  // lo .. hi inclusive
  float Unit();               // [0, 1)
  bool Chance(float p) { return Unit() < p; }

 private:
  uint64_t State;
};

// Integer lattice noise in [0, 1), smooth between lattice points; tiles wrap every `period`.
float ValueNoise(uint64_t seed, float x, float y, int period);
// A repeatable hash of a cell coordinate, for per-pixel speckle.
float Hash01(uint64_t seed, int x, int y);

class Canvas {
 public:
  Canvas() : Canvas(0, 0) {}
  Canvas(int width, int height, Colour fill = kTransparent);

  int Width() const { return W; }
  int Height() const { return H; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < W && y < H; }
  Colour Get(int x, int y) const { return Inside(x, y) ? Pixels[size_t(y) * W + x] : kTransparent; }
  void Set(int x, int y, Colour c) {
    if (Inside(x, y)) Pixels[size_t(y) * W + x] = c;
  }
  void Fill(int x, int y, int w, int h, Colour c);
  void HLine(int x0, int x1, int y, Colour c);
  void VLine(int x, int y0, int y1, Colour c);
  // A line of square pens of the given width (1 or 2 pixels make limbs at this scale).
  void Line(int x0, int y0, int x1, int y1, Colour c, int pen = 1);
  void FillCircle(float cx, float cy, float r, Colour c);
  // Copies every opaque pixel of src to (x, y); mirror flips it left to right.
  void Blit(const Canvas& src, int x, int y, bool mirror = false);
  // Copies a w x h area of src starting at (sx, sy).
  void BlitPart(const Canvas& src, int sx, int sy, int w, int h, int x, int y);
  // Gives every transparent pixel that touches an opaque one (4-neighbours) the colour c,
  // within rows 0..maxRow.
  void Outline(Colour c, int maxRow);

  // Pixels for the writer: transparent pixels become the mask colour.
  std::vector<uint32_t> ForFile() const;

 private:
  int W;
  int H;
  std::vector<Colour> Pixels;
};

}  // namespace art
