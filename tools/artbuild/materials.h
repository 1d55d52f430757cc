// Small drawing steps the block and background tiles share.
#pragma once

#include <initializer_list>
#include <vector>

#include "canvas.h"

namespace art {

// Tones of one material from dark to light.
class Ramp {
 public:
  Ramp(std::initializer_list<Colour> tones) : Tones(tones) {}
  // t in [0, 1] picks a tone; values outside are clamped.
  Colour At(float t) const;
  Colour Tone(int i) const;
  int Size() const { return int(Tones.size()); }

 private:
  std::vector<Colour> Tones;
};

// Noise that wraps every 16 pixels, so neighbouring tiles of one seed meet without a seam.
float TileNoise(uint64_t seed, int x, int y, float scale);

// Fills the tile with ramp tones from layered noise plus a little speckle.
void NoiseFill(Canvas& t, const Ramp& ramp, uint64_t seed, float scale, float speckle,
               float bias = 0);
// Lightens the top and left edges and darkens the bottom and right ones.
void Bevel(Canvas& t, int light, int dark, int width = 1);
// A wandering crack from (x, y), `steps` pixels long.
void Crack(Canvas& t, Rng& rng, int x, int y, int steps, Colour dark, Colour lit);
// Multiplies every opaque pixel, with a slight blue cast: the shaded background variants.
Canvas ShadedCopy(const Canvas& t, float factor);

}  // namespace art
