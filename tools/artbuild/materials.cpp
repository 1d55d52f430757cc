#include "materials.h"

#include <algorithm>
#include <cmath>

namespace art {

Colour Ramp::At(float t) const {
  int i = int(std::floor(std::clamp(t, 0.0f, 0.9999f) * float(Tones.size())));
  return Tones[size_t(i)];
}

Colour Ramp::Tone(int i) const {
  return Tones[size_t(std::clamp(i, 0, Size() - 1))];
}

float TileNoise(uint64_t seed, int x, int y, float scale) {
  // Sampling at whole fractions of 16 keeps the lattice period a divisor of the tile.
  int period = std::max(1, int(16.0f / scale));
  return ValueNoise(seed, float(x) / scale, float(y) / scale, period);
}

void NoiseFill(Canvas& t, const Ramp& ramp, uint64_t seed, float scale, float speckle, float bias) {
  for (int y = 0; y < t.Height(); ++y)
    for (int x = 0; x < t.Width(); ++x) {
      float n = 0.65f * TileNoise(seed, x, y, scale) + 0.35f * TileNoise(seed + 1, x, y, scale / 2);
      n += (Hash01(seed + 2, x, y) - 0.5f) * speckle + bias;
      t.Set(x, y, ramp.At(n));
    }
}

void Bevel(Canvas& t, int light, int dark, int width) {
  int w = t.Width(), h = t.Height();
  for (int k = 0; k < width; ++k) {
    for (int x = k; x < w - k; ++x) {
      t.Set(x, k, Brighten(t.Get(x, k), light));
      t.Set(x, h - 1 - k, Brighten(t.Get(x, h - 1 - k), -dark));
    }
    for (int y = k + 1; y < h - 1 - k; ++y) {
      t.Set(k, y, Brighten(t.Get(k, y), light));
      t.Set(w - 1 - k, y, Brighten(t.Get(w - 1 - k, y), -dark));
    }
  }
}

void Crack(Canvas& t, Rng& rng, int x, int y, int steps, Colour dark, Colour lit) {
  int dx = rng.Chance(0.5f) ? 1 : -1;
  for (int i = 0; i < steps; ++i) {
    t.Set(x, y, dark);
    t.Set(x + 1, y + 1, lit);
    if (rng.Chance(0.6f)) ++y;
    if (rng.Chance(0.55f)) x += dx;
    if (rng.Chance(0.15f)) dx = -dx;
  }
}

Canvas ShadedCopy(const Canvas& t, float factor, float cast) {
  // The painted sky behind an open-air picture turns into the dark chunks' own dark, so the
  // shaded picture stands against the backdrop it is drawn over.
  Canvas out(t.Width(), t.Height());
  for (int y = 0; y < t.Height(); ++y)
    for (int x = 0; x < t.Width(); ++x) {
      Colour c = t.Get(x, y);
      if (!Opaque(c)) continue;
      if (c == kSkyColour) {
        out.Set(x, y, kNightColour);
        continue;
      }
      Colour s = Shade(c, factor);
      out.Set(x, y, Mix(s, Rgb(10, 14, 40), cast));
    }
  return out;
}

}  // namespace art
