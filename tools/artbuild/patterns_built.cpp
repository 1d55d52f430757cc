// Built solids and walls: cut stone, boards, metal, machinery and painted surfaces.
#include <cmath>

#include "patterns.h"

namespace art {

// Large dressed blocks, wider and taller than bricks, so a wall of them never reads as the
// breakable kind.
void Ashlar(Canvas& t, const PatternArgs& a) {
  const int course = a.V % 3 == 2 ? 16 : 8;
  const int length = a.V % 2 ? 16 : 12;
  const Colour joint = a.R.Accent.Tone(0);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      int row = y / course;
      int shift = (row % 2) * (length / 2) + a.V;
      int block = (x + shift) / length;
      int inX = (x + shift) % length, inY = y % course;
      if (inX == length - 1 || inY == course - 1) {
        t.Set(x, y, joint);
        continue;
      }
      float v = 0.3f + 0.3f * Hash01(a.Seed, block, row) + TileNoise(a.Seed + 1, x, y, 4) * 0.2f;
      v += (Hash01(a.Seed + 2, x, y) - 0.5f) * a.R.Speckle;
      if (inY == 0 || inX == 0) v += 0.3f;
      if (inY == course - 2 || inX == length - 2) v -= 0.2f;
      t.Set(x, y, a.R.Body.At(v));
    }
}

// Boards running across (even variants) or down (odd ones), with grain, seams and pegs.
void Planks(Canvas& t, const PatternArgs& a) {
  const bool down = a.V % 2 == 1;
  const int width = 4 + (a.V / 2) % 2;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      int along = down ? y : x, across = down ? x : y;
      int board = across / width, in = across % width;
      float grain = TileNoise(a.Seed + uint64_t(board), along, in * 6, 8);
      float v = 0.3f + grain * 0.5f + 0.15f * Hash01(a.Seed + 1, board, 0);
      if (in == 0) v += 0.25f;
      Colour c = in == width - 1 ? a.R.Accent.Tone(0) : a.R.Body.At(v);
      t.Set(x, y, c);
    }
  Colour peg = a.R.Accent.Lightest();
  for (int k = 0; k < 16; k += width) {
    int along = 2 + (k * 3 + a.V) % 11;
    down ? t.Set(k + width / 2, along, peg) : t.Set(along, k + width / 2, peg);
  }
}

// The cut end of a log: rings round the heart, bark round the edge.
void LogEnd(Canvas& t, const PatternArgs& a) {
  const float cx = 7.5f + float(a.V % 3 - 1) * 0.7f, cy = 7.5f;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float d = std::hypot(float(x) - cx, float(y) - cy);
      float wobble = TileNoise(a.Seed, x, y, 4) * 1.2f;
      if (d > 7.6f) {
        t.Set(x, y, a.R.Accent.At(Hash01(a.Seed + 1, x, y) * 0.6f));
        continue;
      }
      float ring = std::fmod(d + wobble, 2.2f) < 0.8f ? -0.25f : 0.0f;
      t.Set(x, y, a.R.Body.At(0.75f - d / 20.0f + ring));
    }
  if (a.V % 2) {  // a split from the heart
    for (int k = 0; k < 6; ++k)
      t.Set(int(cx) + k, int(cy) - k / 2, a.R.Body.Tone(0));
  }
}

// Sheet metal: brushed noise, seams and rivets chosen by the variant.
void Plate(Canvas& t, const PatternArgs& a) {
  NoiseFill(t, a.R.Body, a.Seed, 8, a.R.Speckle, 0.1f);
  const Ramp& body = a.R.Body;
  Colour dark = body.Tone(0), lit = body.Lightest(), rivet = a.R.Accent.Lightest();
  switch (a.V % 5) {
    case 1:  // two panels
      t.VLine(7, 0, 15, dark);
      t.VLine(8, 0, 15, lit);
      break;
    case 2:  // four panels
      t.VLine(7, 0, 15, dark);
      t.HLine(0, 15, 7, dark);
      t.HLine(0, 15, 8, lit);
      break;
    case 3:  // tread plate
      for (int y = 1; y < 16; y += 4)
        for (int x = (y / 4) % 2 * 2 + 1; x < 15; x += 4) {
          t.Set(x, y, lit);
          t.Set(x + 1, y + 1, lit);
          t.Set(x + 1, y + 2, dark);
        }
      break;
    case 4:  // a dent
      t.FillCircle(10, 9, 3, body.Tone(1));
      t.Set(8, 7, lit);
      break;
    default:
      break;
  }
  for (int p : {2, 13})
    for (int q : {2, 13}) {
      t.Set(p, q, rivet);
      t.Set(p + 1, q + 1, dark);
    }
}

// Bars over a dark opening.
void Grate(Canvas& t, const PatternArgs& a) {
  const Ramp& bar = a.R.Body;
  t.Fill(0, 0, 16, 16, a.R.Accent.Tone(0));
  const int gap = 3 + a.V % 3;
  const bool cross = a.V % 2 == 1;
  for (int k = 1; k < 16; k += gap) {
    t.VLine(k, 0, 15, bar.Tone(2));
    t.VLine(k + 1, 0, 15, bar.Tone(1));
    if (cross) {
      t.HLine(0, 15, k, bar.Tone(3));
      t.HLine(0, 15, k + 1, bar.Tone(1));
    }
  }
  t.HLine(0, 15, 0, bar.Tone(3));
  t.HLine(0, 15, 15, bar.Tone(0));
}

// A pipe across or down the tile on a plain backing, shaded as a cylinder, with a flange on
// some variants. Even variants run across, odd ones down, so a run joins up either way.
void Pipe(Canvas& t, const PatternArgs& a) {
  NoiseFill(t, a.R.Body, a.Seed, 8, a.R.Speckle, -0.2f);
  const bool down = a.V % 2 == 1;
  const Ramp& metal = a.R.Accent;
  const int from = 4, to = 11;
  for (int along = 0; along < 16; ++along)
    for (int across = from; across <= to; ++across) {
      float round = 1.0f - std::fabs(float(across) - 6.0f) / 6.0f;
      bool flange = a.V % 4 >= 2 && (along == 6 || along == 7);
      Colour c = metal.At(round * 0.9f + (flange ? 0.15f : 0.0f));
      if (flange || across == from || across == to) c = flange ? metal.At(round) : metal.Tone(0);
      down ? t.Set(across, along, c) : t.Set(along, across, c);
    }
}

namespace {
void Vent(Canvas& t, Colour dark, Colour lit) {
  for (int y = 3; y < 13; y += 3) {
    t.HLine(3, 12, y, dark);
    t.HLine(3, 12, y + 1, lit);
  }
}

void Gear(Canvas& t, const Ramp& part, Colour hub) {
  for (int k = 0; k < 8; ++k) {  // teeth
    float ang = float(k) * 0.785398f;
    t.FillCircle(7.5f + std::cos(ang) * 5.0f, 7.5f + std::sin(ang) * 5.0f, 1.3f, part.Tone(1));
  }
  t.FillCircle(7.5f, 7.5f, 4.6f, part.Tone(1));
  t.FillCircle(7.0f, 7.0f, 3.4f, part.Tone(2));
  t.FillCircle(7.5f, 7.5f, 1.4f, hub);
}

void Lamp(Canvas& t, const Ramp& part, Colour rim) {
  t.FillCircle(7.5f, 7.5f, 5, rim);
  t.FillCircle(7.5f, 7.5f, 4, part.Tone(1));
  t.FillCircle(6.5f, 6.5f, 2, part.Lightest());
}

void Dial(Canvas& t, Colour rim) {
  t.FillCircle(7.5f, 7.5f, 5, rim);
  t.FillCircle(7.5f, 7.5f, 4, Rgb(230, 226, 210));
  t.Line(8, 8, 10, 5, Rgb(200, 30, 30));
}

void Screen(Canvas& t, const Ramp& part, Colour rim) {
  t.Fill(2, 3, 12, 9, rim);
  t.Fill(3, 4, 10, 7, part.Tone(0));
  for (int x = 3; x < 13; ++x)  // a trace across it
    t.Set(x, 7 + int(std::sin(float(x) * 1.3f) * 2.0f), part.Lightest());
}

void Hatch(Canvas& t, const Ramp& body, const Ramp& part) {
  t.Fill(3, 3, 10, 10, body.Tone(1));
  t.HLine(3, 12, 3, body.Lightest());
  t.VLine(3, 3, 12, body.Lightest());
  for (int p : {4, 11})
    for (int q : {4, 11})
      t.Set(p, q, part.Lightest());
}
}  // namespace

// Machinery panels: a plate carrying a vent, a gear, a lamp, a dial, a screen or a hatch.
void Machine(Canvas& t, const PatternArgs& a) {
  const Ramp& body = a.R.Body;
  const Ramp& part = a.R.Accent;
  NoiseFill(t, body, a.Seed, 8, 0.1f, 0.1f);
  const Colour dark = body.Tone(0);
  switch (a.V % 6) {
    case 0:
      Vent(t, dark, body.Lightest());
      break;
    case 1:
      Gear(t, part, dark);
      break;
    case 2:
      Lamp(t, part, dark);
      break;
    case 3:
      Dial(t, dark);
      break;
    case 4:
      Screen(t, part, dark);
      break;
    default:
      Hatch(t, body, part);
      break;
  }
}

// Warning bands on a slant.
void Stripes(Canvas& t, const PatternArgs& a) {
  const int width = 4 + (a.V / 2) % 2 * 2;
  const bool back = a.V % 2 == 1;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      int d = back ? (x - y + 32) : (x + y);
      bool band = (d / width) % 2 == 0;
      float v = 0.55f + (Hash01(a.Seed, x, y) - 0.5f) * a.R.Speckle;
      t.Set(x, y, band ? a.R.Body.At(v) : a.R.Accent.At(v));
    }
}

// Floor tiles and mosaics: squares, diamonds or a finer checker, moved or resized further along
// the run so that no two come out alike.
void Checker(Canvas& t, const PatternArgs& a) {
  const int kind = a.V % 3, step = a.V / 3;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      bool odd;
      if (kind == 0)
        odd = (((x + step * 3) / 8) + (y / 8)) % 2;
      else if (kind == 1)
        odd = (std::abs(x - 8) + std::abs(y - 8)) < 7 - step % 3;
      else
        odd = (((x + step * 2) / 4) + (y / 4)) % 2;
      float v = 0.5f + (Hash01(a.Seed, x, y) - 0.5f) * a.R.Speckle;
      t.Set(x, y, odd ? a.R.Accent.At(v) : a.R.Body.At(v));
    }
}

// Striped wall covering with a small repeated motif.
void Wallpaper(Canvas& t, const PatternArgs& a) {
  const int period = 4 + a.V % 3;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float v = (x % period) < period / 2 ? 0.75f : 0.3f;
      t.Set(x, y, a.R.Body.At(v + (Hash01(a.Seed, x, y) - 0.5f) * a.R.Speckle));
    }
  Colour motif = a.R.Accent.Tone(a.R.Accent.Size() / 2);
  for (int y = 3; y < 16; y += 8)
    for (int x = 2 + a.V % 4; x < 16; x += 8) {
      t.Set(x, y - 1, motif);
      t.Set(x - 1, y, motif);
      t.Set(x + 1, y, motif);
      t.Set(x, y + 1, motif);
    }
}

}  // namespace art
