// Natural solids: rock, cobbles, sand, capped ground, ore, lava crust, glassy ice and crystal.
#include <cmath>

#include "patterns.h"

namespace art {

void Rock(Canvas& t, const PatternArgs& a) {
  const Ramp& body = a.R.Body;
  NoiseFill(t, body, a.Seed, a.R.Scale, a.R.Speckle);
  Rng rng(a.Seed + 1);
  for (int i = 0; i < 2 + a.V % 4; ++i) {  // chips catching the light
    int x = rng.Below(15), y = rng.Below(15);
    t.Set(x, y, body.Tone(body.Size() - 1));
    t.Set(x + 1, y + 1, body.Tone(0));
  }
  if (a.V % 3 == 1)
    Crack(t, rng, 2 + rng.Below(12), 1, 6 + rng.Below(6), body.Tone(0), body.Tone(body.Size() - 2));
}

// Rounded stones set in mortar: each pixel belongs to its nearest stone centre, and the
// pixels almost as near to a second centre are the joint between them.
void Cobble(Canvas& t, const PatternArgs& a) {
  const Ramp& body = a.R.Body;
  Rng rng(a.Seed);
  int cells = 3 + a.V % 2;
  float step = 16.0f / float(cells);
  std::vector<float> cx, cy, tone;
  for (int j = 0; j < cells; ++j)
    for (int i = 0; i < cells; ++i) {
      cx.push_back((float(i) + 0.25f + rng.Unit() * 0.5f) * step);
      cy.push_back((float(j) + 0.25f + rng.Unit() * 0.5f) * step);
      tone.push_back(0.35f + rng.Unit() * 0.4f);
    }
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float best = 1e9f, second = 1e9f, dx = 0, dy = 0;
      size_t near = 0;
      for (size_t k = 0; k < cx.size(); ++k) {
        float ddx = float(x) + 0.5f - cx[k], ddy = float(y) + 0.5f - cy[k];
        float d = std::sqrt(ddx * ddx + ddy * ddy);
        if (d < best) {
          second = best;
          best = d, near = k, dx = ddx, dy = ddy;
        } else if (d < second) {
          second = d;
        }
      }
      if (second - best < 1.3f) {
        t.Set(x, y, a.R.Accent.Tone(0));
        continue;
      }
      float lit = (-dx - dy) / (step * 1.6f) * 0.3f;  // light from the upper left
      t.Set(x, y, body.At(tone[near] + lit + (Hash01(a.Seed + 3, x, y) - 0.5f) * a.R.Speckle));
    }
}

// Wind-blown ripples across the tile.
void Sand(Canvas& t, const PatternArgs& a) {
  const float period = 4.0f + float(a.V % 3);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float wave = std::sin((float(y) + TileNoise(a.Seed, x, 0, 8) * 3.0f + float(a.V)) *
                            6.2831853f / period);
      float v = 0.5f + wave * 0.22f + (Hash01(a.Seed + 1, x, y) - 0.5f) * a.R.Speckle;
      t.Set(x, y, a.R.Body.At(v));
    }
  Rng rng(a.Seed + 2);
  for (int i = 0; i < a.V % 4; ++i)  // a shell or a pebble
    t.Set(rng.Below(16), rng.Below(16), a.R.Accent.Tone(a.R.Accent.Size() - 1));
}

// A body of the main ramp under a wavy cap of the accent: snow on rock, moss on stone,
// turf on earth.
void Capped(Canvas& t, const PatternArgs& a) {
  const Ramp& cap = a.R.Accent;
  NoiseFill(t, a.R.Body, a.Seed, a.R.Scale, a.R.Speckle);
  int base = 2 + a.V % 4;
  for (int x = 0; x < 16; ++x) {
    int depth = base + int(TileNoise(a.Seed + 5, x, 0, 4) * 3.0f);
    for (int y = 0; y < depth; ++y) {
      float v = 0.9f - float(y) / float(depth) * 0.5f + (Hash01(a.Seed + 6, x, y) - 0.5f) * 0.2f;
      t.Set(x, y, cap.At(v));
    }
    t.Set(x, depth, cap.Tone(0));
    t.Set(x, depth + 1, a.R.Body.Tone(0));
    if (x % 5 == a.V % 5) t.Set(x, depth + 1, cap.Tone(1));  // a drip over the edge
  }
}

// Rock with clusters of a bright mineral.
void Ore(Canvas& t, const PatternArgs& a) {
  NoiseFill(t, a.R.Body, a.Seed, a.R.Scale, a.R.Speckle);
  const Ramp& ore = a.R.Accent;
  Rng rng(a.Seed + 1);
  for (int i = 0; i < 3 + a.V % 3; ++i) {
    int x = 1 + rng.Below(12), y = 1 + rng.Below(12);
    t.Set(x, y, ore.Tone(1));
    t.Set(x + 1, y, ore.Tone(ore.Size() - 1));
    t.Set(x, y + 1, ore.Tone(0));
    t.Set(x + 1, y + 1, ore.Tone(1));
    if (rng.Chance(0.5f)) t.Set(x + 2, y + 1, ore.Tone(1));
  }
}

// Dark crust split by glowing seams; the seams sit where the noise crosses its middle.
void Lava(Canvas& t, const PatternArgs& a) {
  const Ramp& glow = a.R.Accent;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float n = TileNoise(a.Seed, x, y, a.R.Scale);
      float seam = std::fabs(n - 0.5f);
      if (seam < 0.05f + 0.01f * float(a.V % 3))
        t.Set(x, y, glow.At(1.0f - seam * 12.0f));
      else
        t.Set(x, y, a.R.Body.At(n * 0.7f + (Hash01(a.Seed + 1, x, y) - 0.5f) * a.R.Speckle));
    }
}

// A smooth diagonal sheen with glints: ice, glass bricks, polished stone.
void Glass(Canvas& t, const PatternArgs& a) {
  const Ramp& body = a.R.Body;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float v = 0.8f - float(x + y) / 45.0f + (Hash01(a.Seed, x, y) - 0.5f) * a.R.Speckle;
      t.Set(x, y, body.At(v));
    }
  Colour glint = a.R.Accent.Tone(a.R.Accent.Size() - 1);
  int off = (a.V * 3) % 9;
  for (int k = 0; k < 5; ++k)
    t.Set(2 + off / 2 + k, 8 - k, glint);
  if (a.V % 2) {
    Rng rng(a.Seed + 1);
    Crack(t, rng, 9, 3, 7, body.Tone(0), glint);
  }
  t.HLine(0, 15, 15, body.Tone(0));
  t.VLine(15, 0, 15, body.Tone(0));
}

// Facets around a point: each sector of the circle a flat tone, the edges between them lit.
void Crystal(Canvas& t, const PatternArgs& a) {
  const Ramp& body = a.R.Body;
  Rng rng(a.Seed);
  float cx = 6.0f + rng.Unit() * 4.0f, cy = 5.0f + rng.Unit() * 5.0f;
  int sectors = 5 + a.V % 3;
  float turn = rng.Unit();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float ang = std::atan2(float(y) - cy, float(x) - cx) / 6.2831853f + 0.5f + turn;
      float s = ang * float(sectors);
      int sector = int(s) % sectors;
      float edge = s - std::floor(s);
      float v = 0.25f + 0.6f * Hash01(a.Seed + 1, sector, 0);
      if (edge < 0.08f) v = 1.0f;
      t.Set(x, y, body.At(v));
    }
  Colour glint = a.R.Accent.Tone(a.R.Accent.Size() - 1);
  t.Set(int(cx), int(cy), glint);
  t.Set(3, 3, glint);
  t.Set(4, 2, glint);
}

}  // namespace art
