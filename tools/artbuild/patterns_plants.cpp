// Living and open-air surfaces: leaves, vines on a wall, bark, sky details and cave ceilings.
#include <cmath>

#include "patterns.h"

namespace art {

// Clumps of leaves, lit up-left, with berries or blossom on some variants.
void Foliage(Canvas& t, const PatternArgs& a) {
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float clump =
          TileNoise(a.Seed, x, y, a.R.Scale) * 0.6f + TileNoise(a.Seed + 1, x + 3, y + 5, 2) * 0.4f;
      float lit = (((x + 2 + a.V) % 8) < 4 && ((y + 1) % 8) < 3) ? 0.15f : 0.0f;
      t.Set(x, y, a.R.Body.At(clump + lit + (Hash01(a.Seed + 2, x, y) - 0.5f) * a.R.Speckle));
    }
  if (a.V % 3 == 0) return;
  Rng rng(a.Seed + 3);
  Colour bloom = a.V % 3 == 1 ? a.R.Accent.Lightest() : a.R.Accent.Tone(0);
  for (int i = 0; i < 4; ++i) {
    int x = rng.Below(15), y = rng.Below(15);
    t.Set(x, y, bloom);
    t.Set(x + 1, y, bloom);
  }
}

// Creepers hanging down a wall.
void Vines(Canvas& t, const PatternArgs& a) {
  NoiseFill(t, a.R.Body, a.Seed, a.R.Scale, a.R.Speckle);
  for (int y = 7; y < 16; y += 8)
    t.HLine(0, 15, y, a.R.Body.Tone(0));
  const Ramp& leaf = a.R.Accent;
  Rng rng(a.Seed + 1);
  for (int s = 0; s < 2 + a.V % 3; ++s) {
    int x = rng.Below(16);
    int length = 8 + rng.Below(9);
    for (int y = 0; y < length; ++y) {
      t.Set(x, y, leaf.Tone(1));
      if (y % 3 == 0) t.Set(x + (y % 2 ? 1 : -1), y, leaf.Lightest());
      if (rng.Chance(0.3f)) x += rng.Chance(0.5f) ? 1 : -1;
    }
  }
}

// Bark of a great trunk: ridges running down, knots on some variants.
void Bark(Canvas& t, const PatternArgs& a) {
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float ridge = TileNoise(a.Seed, x * 3, y, 8) * 0.5f + (x % 4 == a.V % 4 ? -0.3f : 0.1f);
      t.Set(x, y, a.R.Body.At(0.35f + ridge + (Hash01(a.Seed + 1, x, y) - 0.5f) * a.R.Speckle));
    }
  if (a.V % 3 == 2) {
    t.FillCircle(8, 8, 2.5f, a.R.Body.Tone(0));
    t.FillCircle(8, 8, 1.2f, a.R.Accent.Tone(1));
  }
}

namespace {
void Bird(Canvas& t, int x, int y, Colour c) {
  t.Set(x - 1, y - 1, c);
  t.Set(x, y, c);
  t.Set(x + 1, y, c);
  t.Set(x + 2, y - 1, c);
}

void Scatter(Canvas& t, Rng& rng, int count, Colour c, Colour tail) {
  for (int i = 0; i < count; ++i) {
    int x = rng.Below(16), y = rng.Below(15);
    t.Set(x, y, c);
    if (tail != c) t.Set(x, y + 1, tail);
  }
}

// The ink ramp's darkest tone draws birds, its lightest the stars, rain, snow and moon; the
// tones between are the rainbow's bands.
void PaintSkyThing(Canvas& t, const PatternArgs& a, Rng& rng) {
  const Ramp& ink = a.R.Accent;
  const Colour light = ink.Lightest();
  switch (a.V % 8) {
    case 0:  // stars
      Scatter(t, rng, 5, light, light);
      t.HLine(3, 5, 4, ink.Tone(ink.Size() - 2));
      t.Set(4, 4, light);
      break;
    case 1:
      Bird(t, 3, 5, ink.Tone(0));
      Bird(t, 10, 9, ink.Tone(0));
      break;
    case 2:  // the sun's edge in a corner
      t.FillCircle(15, 15, 9, ink.Tone(ink.Size() - 2));
      t.FillCircle(15, 15, 7, light);
      break;
    case 3:  // rain
      Scatter(t, rng, 9, light, ink.Tone(ink.Size() - 2));
      break;
    case 4:  // snow
      Scatter(t, rng, 8, light, light);
      break;
    case 5:  // the moon
      t.FillCircle(8, 8, 5, light);
      t.FillCircle(10, 6.5f, 4, a.R.Body.At(0.55f));
      break;
    case 6:  // a band of rainbow
      for (int k = 1; k + 1 < ink.Size(); ++k)
        t.HLine(0, 15, 4 + k, ink.Tone(k));
      break;
    default:  // haze low down
      for (int y = 8; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
          t.Set(x, y, Mix(t.Get(x, y), light, float(y - 7) / 12.0f));
      break;
  }
}
}  // namespace

// Open sky with one thing in it: stars, birds, the sun, rain, snow, the moon, a rainbow, haze.
void SkyDetail(Canvas& t, const PatternArgs& a) {
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      t.Set(x, y,
            a.R.Body.At(0.7f - float(y) / 40.0f + (Hash01(a.Seed, x, y) - 0.5f) * a.R.Speckle));
  Rng rng(a.Seed + 1);
  PaintSkyThing(t, a, rng);
}

// A cave ceiling or wall with points of rock hanging from it.
void Stalactites(Canvas& t, const PatternArgs& a) {
  NoiseFill(t, a.R.Body, a.Seed, a.R.Scale, a.R.Speckle, -0.15f);
  const Ramp& rock = a.R.Accent;
  Rng rng(a.Seed + 1);
  for (int s = 0; s < 2 + a.V % 2; ++s) {
    int x = 2 + rng.Below(12), length = 6 + rng.Below(9), width = 2 + rng.Below(2);
    for (int y = 0; y < length; ++y) {
      int w = width - y * width / length;
      t.HLine(x - w, x + w, y, rock.Tone(1));
      t.Set(x - w, y, rock.Lightest());
      t.Set(x + w, y, rock.Tone(0));
    }
  }
}

}  // namespace art
